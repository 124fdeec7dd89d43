#include "PropertiesDialog.h"

#include "platform/CodePage.h"
#include "shell/LanguageStore.h"
#include "shell/Settings.h"
#include "tools/BackgroundChecksum.h"
#include "tools/PasswordRisks.h"
#include "tools/PropertiesTexts.h"
#include "widgets/Icons.h"
#include "widgets/LanguageApplier.h"
#include "widgets/LinkLabel.h"
#include "widgets/MessageBox.h"

#include <QClipboard>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

// Files from this size on show the checksum's progress; smaller ones are done at once.
constexpr qint64 ProgressFrom = qint64(8) << 20;

template <typename T>
T *named(T *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLineEdit *valueField(QWidget *parent, const char *name)
{
    auto *field = named(new QLineEdit(parent), name);
    field->setReadOnly(true);
    return field;
}

} // namespace

PropertiesDialog::PropertiesDialog(const LanguageStore &language, Settings &settings, QWidget *parent)
    : QDialog(parent), m_language(language), m_settings(settings), m_checksum(new BackgroundChecksum(this))
{
    setObjectName(QStringLiteral("FrmProp"));
    auto *grid = new QGridLayout;
    grid->setColumnStretch(1, 1);
    int row = 0;
    const auto addRow = [&](const char *label, QWidget *field) {
        grid->addWidget(named(new QLabel(this), label), row, 0);
        grid->addWidget(field, row++, 1);
    };
    addRow("LblFilename", m_fileName = valueField(this, "EdtFilename"));
    addRow("LblPath", m_path = valueField(this, "EdtPath"));
    addRow("LblFilesize", m_size = valueField(this, "EdtFilesize"));
    addRow("LblFiledate", m_date = valueField(this, "EdtFiledate"));

    m_algorithm = named(new QComboBox(this), "CbbChecksum");
    m_algorithm->addItems(digestItemTexts());
    m_checksumField = valueField(this, "EdtChecksum");
    // A SHA-256 digest shows whole; longer ones scroll.
    m_checksumField->setMinimumWidth(m_checksumField->fontMetrics().horizontalAdvance(QString(66, u'0')));
    grid->addWidget(m_algorithm, row, 0);
    grid->addWidget(m_checksumField, row++, 1);
    m_progress = named(new QProgressBar(this), "PrbChecksum");
    m_progress->setRange(0, 1000);
    m_cancel = named(new QPushButton(this), "BtnCancelChecksum");
    auto *progressRow = new QHBoxLayout;
    progressRow->addWidget(m_progress, 1);
    progressRow->addWidget(m_cancel);
    grid->addLayout(progressRow, row++, 1);
    m_progress->hide();
    m_cancel->hide();

    addRow("LblAllItems", m_allItems = valueField(this, "EdtAllItems"));
    addRow("LblFolderItems", m_folderItems = valueField(this, "EdtFolderItems"));
    addRow("LblKeyItems", m_keyItems = valueField(this, "EdtKeyItems"));
    addRow("LblEntryItems", m_entryItems = valueField(this, "EdtEntryItems"));
    addRow("LblFileItems", m_fileItems = valueField(this, "EdtFileItems"));
    addRow("LblTableItems", m_tableItems = valueField(this, "EdtTableItems"));
    addRow("LblPasswordLen", m_passwordLengthField = valueField(this, "EdtPasswordLen"));
    m_riskList = named(new QLabel(this), "LblRisks");
    m_riskList->setWordWrap(true);
    m_riskList->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto *riskLabel = named(new QLabel(this), "LblPasswordRisk");
    riskLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    grid->addWidget(riskLabel, row, 0);
    grid->addWidget(m_riskList, row++, 1);
    m_secure = named(new LinkLabel(this), "LblSecure");
    grid->addWidget(m_secure, row++, 1, Qt::AlignRight);

    auto *copy = named(new QPushButton(this), "BtnCopy");
    copy->setIcon(Icons::command(Icons::Command::Copy));
    auto *ok = named(new QPushButton(this), "BtnOK");
    ok->setDefault(true);
    ok->setFocus();
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(copy);
    buttons->addStretch();
    buttons->addWidget(ok);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addStretch();
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetMinimumSize);

    connect(m_algorithm, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_settings.checksum = index;
        showSelectedChecksum();
    });
    connect(m_cancel, &QPushButton::clicked, this, &PropertiesDialog::cancelChecksum);
    connect(copy, &QPushButton::clicked, this, &PropertiesDialog::copyChecksum);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_secure, &LinkLabel::clicked, this, &PropertiesDialog::showRatingRule);
    connect(m_checksum, &BackgroundChecksum::progress, this, &PropertiesDialog::showProgress);
    connect(m_checksum, &BackgroundChecksum::finished, this, &PropertiesDialog::showChecksum);
    applyTexts();
}

PropertiesDialog::~PropertiesDialog() = default;

void PropertiesDialog::setDatabase(const QString &filePath, const ElementTree &tree, QByteArrayView password)
{
    m_filePath = filePath;
    m_counts = countElements(tree);
    m_passwordLength = password.size();
    m_risks = passwordRisks(password, m_language);
}

void PropertiesDialog::fillProperties()
{
    applyTexts();
    const FileFacts facts = fileFactsOf(m_filePath);
    m_fileName->setText(facts.fileName);
    m_path->setText(facts.path);
    m_size->setText(facts.size);
    m_date->setText(facts.date);
    m_allItems->setText(QString::number(m_counts.all));
    m_folderItems->setText(QString::number(m_counts.folders));
    m_keyItems->setText(QString::number(m_counts.keys));
    m_entryItems->setText(QString::number(m_counts.entries));
    m_fileItems->setText(QString::number(m_counts.files));
    m_tableItems->setText(QString::number(m_counts.tables));
    m_passwordLengthField->setText(QString::number(m_passwordLength));
    for (QLineEdit *field : {m_fileName, m_path}) {
        field->setCursorPosition(0); // the start of a long path, not its end
    }
    m_riskList->setText(CodePage::toUnicode(m_risks).replace(QLatin1String("\r\n"), QLatin1String("\n")).trimmed());
    {
        // Setting the saved choice is no change by the user: the computation follows below.
        const QSignalBlocker quiet(m_algorithm);
        m_algorithm->setCurrentIndex(int(digestAlgorithmFromIndex(m_settings.checksum)));
    }
    showSelectedChecksum();
}

void PropertiesDialog::showSelectedChecksum()
{
    m_checksum->cancel();
    m_checksumField->clear();
    m_progress->hide();
    m_cancel->hide();
    const DigestAlgorithm algorithm = digestAlgorithmFromIndex(m_algorithm->currentIndex());
    if (algorithm == DigestAlgorithm::None || m_filePath.isEmpty() || !QFileInfo(m_filePath).isFile()) {
        emit checksumDone();
        return;
    }
    m_progress->setValue(0);
    m_checksum->start(m_filePath, algorithm);
}

bool PropertiesDialog::checksumRunning() const
{
    return m_checksum->isRunning();
}

void PropertiesDialog::showProgress(qint64 done, qint64 total)
{
    if (total < ProgressFrom) {
        return;
    }
    m_progress->setValue(int(done * 1000 / total));
    m_progress->show();
    m_cancel->show();
}

void PropertiesDialog::showChecksum(const QString &checksum)
{
    m_checksumField->setText(checksum);
    m_checksumField->setCursorPosition(0);
    m_progress->hide();
    m_cancel->hide();
    emit checksumDone();
}

void PropertiesDialog::cancelChecksum()
{
    m_checksum->cancel();
    showChecksum(QString());
}

void PropertiesDialog::copyChecksum()
{
    const FileFacts facts{m_fileName->text(), m_path->text(), m_size->text(), m_date->text()};
    const QList<PropertiesLine> lines =
        propertiesSummaryLines(facts, m_algorithm->currentText(), m_checksumField->text(), m_counts, m_language);
    QGuiApplication::clipboard()->setText(propertiesSummaryText(lines));
}

void PropertiesDialog::showRatingRule()
{
    MessageBox::show(this, m_language, MessageBox::Type::Information,
                     m_riskList->text() + QLatin1String("\n\n") + m_language.uiText(propertiesTexts(), "m_aMPwdRule"));
}

void PropertiesDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        fillProperties();
    }
}

void PropertiesDialog::done(int result)
{
    m_checksum->cancel(); // a large file is not read on after the dialog closed
    m_progress->hide();
    m_cancel->hide();
    QDialog::done(result);
}

void PropertiesDialog::applyTexts()
{
    applyLanguageTexts(this, m_language, propertiesTexts());
}
