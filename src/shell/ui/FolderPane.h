#pragma once

#include <QByteArray>
#include <QWidget>

class FileListModel;
class PaneSplitter;
class QActionGroup;
class QComboBox;
class QFileSystemModel;
class QMenu;
class QTimer;
class QTreeView;
class RecentMenu;

// The folder pane PnlFiles: the recent-folders box CbbRecentFolders (the items of the
// recent-folders menu), the folder tree FldFolder (folders only, kept current by
// QFileSystemModel) and, below the splitter SptFiles, the file list LisFiles of the
// chosen folder's files that match the file types, with the pop-up PopFiles and its
// "Sort by" items. A double click on a file asks for it to be opened.
class FolderPane : public QWidget
{
    Q_OBJECT

public:
    FolderPane(RecentMenu &recentFolders, QWidget *parent = nullptr);

    // The file mask ("FileTypes"); a shown folder is listed again.
    void setFileTypes(const QByteArray &fileTypes);
    // Lists the folder's files; with setTree the tree selects the folder as well.
    void showFolder(const QString &folder, bool setTree = true);
    // The folder listed (empty before the first).
    const QString &folder() const { return m_folder; }
    // Refresh (F5): the folder selected in the tree is listed again when it exists.
    void refresh();
    // Shows the start-up folder once the window has settled (TimStartupFolder, 250 ms).
    void showStartupFolderSoon(const QString &folder);

    // Height of the folder tree ("FolderHeight").
    int treeHeight() const;
    void setTreeHeight(int height);

    // The text font and the background colour of the settings.
    void setLook(const QFont &font, const QColor &text, const QColor &background);

    FileListModel &files() const { return *m_files; }
    QTreeView *fileList() const { return m_list; }
    QTreeView *folderTree() const { return m_tree; }
    QComboBox *recentBox() const { return m_recentBox; }
    QMenu *sortMenu() const { return m_sortMenu; }

signals:
    void fileOpened(const QString &path);
    // The user did something here, or the list was filled: the lock count-down restarts.
    void activity();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildSortMenu();
    void onTreeChanged();
    void onRecentBoxChosen(const QString &text);
    void fillRecentBox();
    void selectInTree(const QString &folder);
    void onFoldersRead(const QString &path);
    void clearSortMark();

    RecentMenu &m_recentFolders;
    QByteArray m_fileTypes = "*.kvdb";
    QString m_folder;
    // The folder the tree is to show once the folders above it are read.
    QString m_treeTarget;
    bool m_settingTree = false;

    QComboBox *m_recentBox;
    PaneSplitter *m_splitter;
    QFileSystemModel *m_folders;
    QTreeView *m_tree;
    FileListModel *m_files;
    QTreeView *m_list;
    QMenu *m_popup;
    QMenu *m_sortMenu;
    QActionGroup *m_sortItems;
    QTimer *m_startupTimer;
};
