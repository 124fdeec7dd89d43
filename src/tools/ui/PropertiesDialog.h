#pragma once

#include "tools/DatabaseProperties.h"

#include <QDialog>

class BackgroundChecksum;
class ElementTree;
class LanguageStore;
class LinkLabel;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
struct Settings;

// The "Properties" dialog of a database: the file's name, folder, size and date, its
// checksum in the algorithm chosen from twelve (remembered in the setting "Checksum"),
// the elements by kind, and the database password's length and risks. The checksum is
// computed off the user-interface thread, with a progress bar and Cancel for a large
// file. "Copy" puts a summary on the clipboard.
class PropertiesDialog : public QDialog
{
    Q_OBJECT

public:
    PropertiesDialog(const LanguageStore &language, Settings &settings, QWidget *parent = nullptr);
    ~PropertiesDialog() override;

    // What the next showing shows: the database's file (empty for one never saved), its
    // elements and its password. The dialog keeps the figures, not the tree or password.
    void setDatabase(const QString &filePath, const ElementTree &tree, QByteArrayView password);

    // Texts, every value field, then the checksum (each showing does this).
    void fillProperties();
    // The checksum of the file in the chosen algorithm, started again.
    void showSelectedChecksum();
    // The summary onto the clipboard: caption " - " value lines, the checksum line only
    // when there is a checksum.
    void copyChecksum();

    bool checksumRunning() const;

signals:
    // The checksum field got its final text (possibly empty).
    void checksumDone();

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
    void applyTexts();
    void showChecksum(const QString &checksum);
    void showProgress(qint64 done, qint64 total);
    void cancelChecksum();
    void showRatingRule();

    const LanguageStore &m_language;
    Settings &m_settings;
    QString m_filePath;
    ElementCounts m_counts;
    qsizetype m_passwordLength = 0;
    QByteArray m_risks;
    BackgroundChecksum *m_checksum = nullptr;

    QLineEdit *m_fileName = nullptr;
    QLineEdit *m_path = nullptr;
    QLineEdit *m_size = nullptr;
    QLineEdit *m_date = nullptr;
    QComboBox *m_algorithm = nullptr;
    QLineEdit *m_checksumField = nullptr;
    QProgressBar *m_progress = nullptr;
    QPushButton *m_cancel = nullptr;
    QLineEdit *m_allItems = nullptr;
    QLineEdit *m_folderItems = nullptr;
    QLineEdit *m_keyItems = nullptr;
    QLineEdit *m_entryItems = nullptr;
    QLineEdit *m_fileItems = nullptr;
    QLineEdit *m_tableItems = nullptr;
    QLineEdit *m_passwordLengthField = nullptr;
    QLabel *m_riskList = nullptr;
    LinkLabel *m_secure = nullptr;
};
