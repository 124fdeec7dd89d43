#include "DatabaseWindow.h"

#include "ChildActions.h"
#include "CarriedCopyCommands.h"
#include "DatabaseToolCommands.h"
#include "ChildTexts.h"
#include "editing/ElementTreeModel.h"
#include "editing/DocumentCommands.h"
#include "editing/ElementDrop.h"
#include "ElementTreeView.h"
#include "FileBar.h"
#include "KeyEditor.h"
#include "LoadingGuard.h"
#include "MainServices.h"
#include "RichTextEdit.h"
#include "NameValidator.h"
#include "SortDialog.h"
#include "TablePanel.h"
#include "TextFont.h"
#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "platform/SecureMemory.h"
#include "shell/LanguageStore.h"
#include "shell/MainWindowTexts.h"
#include "shell/Settings.h"
#include "widgets/CodePageGuard.h"
#include "widgets/LanguageApplier.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QTextEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSplitter>
#include <QStackedWidget>
#include <QToolTip>
#include <QUrl>
#include <QVBoxLayout>


DatabaseWindow::DatabaseWindow(MainServices &main, QWidget *parent)
    : QWidget(parent), m_main(main), m_model(std::make_unique<ElementTreeModel>(m_document.tree()))
{
    setObjectName(QStringLiteral("FrmChild"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    m_model->setRenameHandler([this](ElementNode *node, const QByteArray &name) {
        const bool renamed = renameElement(node, name);
        showSelected();
        return renamed;
    });
    m_actions = new ChildActions(main, this);
    m_carry = new CarriedCopyCommands(m_document, main, this);
    buildLayout();
    m_search = new SearchController(*this, main, {m_rdtText, m_pnlTable, m_trvTree, m_model.get()});
    connectEditors();
    connectActions();
    auto *tools = new DatabaseToolCommands(m_document, main, {[this] { return selectedElement(); },
                                                              [this] { commitPendingEdits(); }},
                                           this);
    tools->connectTo(*m_actions);
    connect(&m_document, &DatabaseDocument::modifiedChanged, this, [this](bool modified) {
        setWindowModified(modified);
        emit modifiedChanged(modified);
    });
    connect(&m_document, &DatabaseDocument::commandApplied, this, &DatabaseWindow::onCommandApplied);
    UndoStack &history = m_document.undoStack();
    connect(&history, &UndoStack::indexChanged, this, &DatabaseWindow::updateActions);
    connect(&m_document, &DatabaseDocument::filePathChanged, this, &DatabaseWindow::updateActions);
    updateActions();
    applyLanguage();
    applySettings();
    showSelected();
}

DatabaseWindow::~DatabaseWindow()
{
    // Focus leaving the editors as they go is no edit and no visit of the name field.
    m_destroying = true;
    m_nameFieldElement = nullptr;
    // The document outlives the editors by a moment: it reports to them no more.
    m_document.disconnect(this);
    m_document.undoStack().disconnect(this);
    // The view goes before the model it shows, and the model stops observing the tree
    // before the tree goes.
    delete m_sptMain;
    m_sptMain = nullptr;
    m_model.reset();
    // The history holds deleted elements and old texts: it goes, wiped, with the window.
    m_document.close();
}

void DatabaseWindow::buildLayout()
{
    m_sptMain = new QSplitter(Qt::Horizontal, this);
    m_sptMain->setObjectName(QStringLiteral("SptMain"));
    m_sptMain->setHandleWidth(6);
    m_sptMain->setChildrenCollapsible(false);

    m_trvTree = new ElementTreeView(m_sptMain);
    m_trvTree->setElementModel(m_model.get());
    m_trvTree->setPopupMenu(m_actions->treePopup());

    auto *editorArea = new QWidget(m_sptMain);
    editorArea->setObjectName(QStringLiteral("PnlEditor"));
    m_pnlName = new QWidget(editorArea);
    m_pnlName->setObjectName(QStringLiteral("PnlName"));
    m_imgIcon = new QLabel(m_pnlName);
    m_imgIcon->setObjectName(QStringLiteral("ImgIcon"));
    m_edtName = new QLineEdit(m_pnlName);
    m_edtName->setObjectName(QStringLiteral("EdtName"));
    m_edtName->setFrame(false);
    auto *nameLayout = new QHBoxLayout(m_pnlName);
    nameLayout->setContentsMargins(2, 2, 6, 2);
    nameLayout->setSpacing(6);
    nameLayout->addWidget(m_imgIcon);
    nameLayout->addWidget(m_edtName, 1);

    m_pnlFile = new FileBar(editorArea);
    m_pnlFile->hide();
    m_pnlKey = new KeyEditor(m_main.secretClipboard(), editorArea);
    m_rdtText = new RichTextEdit(editorArea);
    m_rdtText->setObjectName(QStringLiteral("RdtText"));
    m_rdtText->setPopupMenu(m_actions->editorPopup());
    m_pnlKey->comment()->setPopupMenu(m_actions->editorPopup());
    m_pnlTable = new TablePanel(editorArea);
    m_trvTree->setDragSource([this](ElementNode *node) { return dragData(node); });
    m_trvTree->setDropHandler([this](const QMimeData *mime, ElementNode *target, ElementDrop::Mode mode,
                                     ElementNode *dragged) { return dropElements(mime, target, mode, dragged); });

    // The three editors fill the same place; exactly one shows (an empty page when
    // nothing is selected).
    m_editors = new QStackedWidget(editorArea);
    m_editors->setObjectName(QStringLiteral("PnlEditors"));
    m_editors->addWidget(new QWidget(m_editors));
    m_editors->addWidget(m_pnlKey);
    m_editors->addWidget(m_rdtText);
    m_editors->addWidget(m_pnlTable);

    auto *editorLayout = new QVBoxLayout(editorArea);
    editorLayout->setContentsMargins(0, 0, 4, 4);
    editorLayout->setSpacing(0);
    editorLayout->addWidget(m_pnlName);
    editorLayout->addWidget(m_pnlFile);
    editorLayout->addWidget(m_editors, 1);

    m_sptMain->addWidget(m_trvTree);
    m_sptMain->addWidget(editorArea);
    m_sptMain->setStretchFactor(0, 0);
    m_sptMain->setStretchFactor(1, 1);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_sptMain);

    // Every mouse press restarts the lock count-down; the name field's visits are watched.
    const QList<QWidget *> watched = findChildren<QWidget *>();
    for (QWidget *widget : watched) {
        widget->installEventFilter(this);
    }
    installEventFilter(this);
}

void DatabaseWindow::connectEditors()
{
    connect(m_trvTree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &DatabaseWindow::onCurrentChanged);
    connect(m_model.get(), &QAbstractItemModel::modelReset, this, [this] {
        m_lastShown = nullptr;
        m_nameFieldElement = nullptr;
    });
    connect(m_sptMain, &QSplitter::splitterMoved, this, [this] { m_main.setTreeWidth(m_trvTree->width()); });
    connect(m_trvTree, &ElementTreeView::deleteRequested, this, [this] { deleteSelected(); });
    connect(m_trvTree, &ElementTreeView::copyRequested, this, [this] { copyElement(); });
    connect(m_trvTree, &ElementTreeView::cutRequested, this, [this] { cutElement(); });
    connect(m_trvTree, &ElementTreeView::pasteRequested, this, [this] { pasteElements(); });
    connect(m_trvTree, &ElementTreeView::movedAway, this, [this](ElementNode *node) { removeMovedElement(node); });
    connect(m_trvTree, &ElementTreeView::fileActivated, this, [this](ElementNode *node) {
        selectElement(node);
        viewFile();
    });
    connect(m_trvTree, &ElementTreeView::nameEditorCreated, this, [this](QLineEdit *editor) {
        guardName(editor);
    });
    guardName(m_edtName);
    guardCodePage(m_pnlKey->userNameEdit(), m_main.language());
    guardCodePage(m_pnlKey->passwordEdit(), m_main.language());
    connect(m_edtName, &QLineEdit::textEdited, this, &DatabaseWindow::onNameEdited);

    connect(m_pnlKey, &KeyEditor::userNameEdited, this, [this](const QString &text) {
        editField(&ElementData::Content, Field::UserName, text);
    });
    connect(m_pnlKey, &KeyEditor::passwordEdited, this, [this](const QString &text) {
        editField(&ElementData::Detail, Field::Password, text);
    });
    connect(m_pnlKey, &KeyEditor::passwordDialogRequested, this, &DatabaseWindow::askPasswordOfKey);
    connect(m_pnlKey->comment(), &RichTextEdit::userEdited, this, [this] {
        if (m_main.loadingGuard()) {
            return;
        }
        ElementNode *node = selectedElement();
        if (node && node->kind() == KindKey) {
            ElementData before = node->data();
            node->data().Comment = m_pnlKey->comment()->takeStored();
            recordEdit(node, std::move(before), Field::Comment);
        }
    });
    connect(m_rdtText, &RichTextEdit::userEdited, this, [this] {
        if (m_main.loadingGuard()) {
            return;
        }
        ElementNode *node = selectedElement();
        if (node && node->kind() != KindKey && node->kind() != KindTable) {
            ElementData before = node->data();
            node->data().Content = m_rdtText->takeStored();
            recordEdit(node, std::move(before), Field::Text);
        }
    });
    for (RichTextEdit *editor : {m_rdtText, m_pnlKey->comment()}) {
        connect(editor, &RichTextEdit::linkClicked, this, &DatabaseWindow::openLink);
        connect(editor, &RichTextEdit::inputRefused, this, [this, editor](const QString &what) {
            showRefusal(editor, codePageRefusal(m_main.language(), what));
        });
    }
    connect(m_pnlFile, &FileBar::viewClicked, this, &DatabaseWindow::viewFile);
    connect(m_pnlFile, &FileBar::saveClicked, this, &DatabaseWindow::saveFile);
    m_table = new TableController(*this, m_main, m_pnlTable, *m_actions);
}

void DatabaseWindow::guardName(QLineEdit *field)
{
    auto *validator = new NameValidator(field);
    field->setValidator(validator);
    connect(validator, &CodePageValidator::refused, this, [this, field](const QString &character) {
        showRefusal(field, codePageRefusal(m_main.language(), character));
    });
    connect(validator, &NameValidator::separatorRefused, this, [this, field](const QString &name) {
        showRefusal(field, childText("m_aMNameSeparator") + name);
    });
}

QString DatabaseWindow::childText(const char *key) const
{
    return m_main.language().uiText(childWindowTexts(), key);
}

QString DatabaseWindow::mainText(const char *key) const
{
    return m_main.language().uiText(mainWindowTexts(), key);
}

void DatabaseWindow::showRefusal(QWidget *where, const QString &reason)
{
    // Said where the typing happens, without a box that would take the focus away.
    const QPoint at = where->mapToGlobal(QPoint(0, where->height()));
    QToolTip::showText(at, reason, where);
    emit inputRefused(reason);
}

// --- Selection and display ---

bool DatabaseWindow::textEditorShown() const
{
    return (m_editorKind == KindFolder || m_editorKind == KindEntry || m_editorKind == KindFile)
           && m_editors->currentWidget() == m_rdtText;
}

bool DatabaseWindow::tableShown() const
{
    const ElementNode *node = selectedElement();
    return m_editorKind == KindTable && node && node->kind() == KindTable;
}

bool DatabaseWindow::tableEditable() const
{
    return tableShown() && !m_pnlTable->isDamaged();
}

ElementNode *DatabaseWindow::selectedElement() const
{
    return m_model->nodeOf(m_trvTree->currentIndex());
}

void DatabaseWindow::selectElement(ElementNode *node)
{
    // A change of the current element shows it through onCurrentChanged; showing it
    // here again would fill the editors twice.
    const quint64 shownBefore = m_showCount;
    const QModelIndex index = m_model->indexOf(node);
    if (index.isValid()) {
        m_trvTree->setCurrentIndex(index);
        m_trvTree->scrollTo(index);
    } else {
        m_trvTree->selectionModel()->clear();
    }
    if (m_showCount == shownBefore) {
        showSelected();
    }
}

void DatabaseWindow::selectFirstElement()
{
    selectElement(tree().firstRoot());
}

void DatabaseWindow::onCurrentChanged()
{
    if (m_changingTree) {
        return;
    }
    finishNameField();
    showSelected();
}

void DatabaseWindow::showSelected()
{
    ++m_showCount;
    m_pnlFile->hide();
    ++m_editVisit;
    ElementNode *node = selectedElement();
    if (!node) {
        // With nothing selected the editors show nothing and take no input: an edit
        // there would have no element to go to.
        m_editorKind = -1;
        m_main.setStatusText(QString());
        m_nameOnEntry.clear();
        LoadingGuard guard(m_main);
        m_edtName->clear();
        m_imgIcon->clear();
        m_pnlName->setEnabled(false);
        m_editors->setCurrentIndex(0);
        updateActions();
        return;
    }
    {
        LoadingGuard guard(m_main);
        m_pnlName->setEnabled(true);
        showEditorFor(node);
        const int iconSize = m_main.settings().smallIcons ? 16 : 24;
        m_imgIcon->setPixmap(m_model->iconFor(node->kind()).pixmap(iconSize, iconSize));
        m_imgIcon->setFixedSize(iconSize, iconSize);
        if (node != m_nameFieldElement) {
            m_edtName->setText(CodePage::toUnicode(node->name()));
            m_edtName->setCursorPosition(0);
            // The field may keep the focus while another element comes (a search, a cut,
            // a paste): a refused rename must give that element its own name back.
            m_nameOnEntry = node->name();
        }
        showStatus(node);
    }
    m_lastShown = node;
    updateActions();
}

void DatabaseWindow::showEditorFor(ElementNode *node)
{
    const ElementData &fields = node->data();
    const bool richText = m_main.settings().richText;
    switch (node->kind()) {
    case KindFolder:
    case KindEntry:
    case KindFile:
        m_editorKind = node->kind();
        m_rdtText->setFont(m_textFont);
        m_rdtText->loadStored(fields.Content, richText);
        m_editors->setCurrentWidget(m_rdtText);
        if (node->kind() == KindFile) {
            m_pnlFile->showFile(fields.Detail, fields.BlobSize);
            m_pnlFile->show();
        }
        break;
    case KindKey:
        m_editorKind = KindKey;
        m_pnlKey->setUserName(CodePage::toUnicode(fields.Content));
        m_pnlKey->setPassword(CodePage::toUnicode(fields.Detail));
        m_pnlKey->comment()->setFont(m_textFont);
        m_pnlKey->comment()->loadStored(fields.Comment, richText);
        m_editors->setCurrentWidget(m_pnlKey);
        break;
    case KindTable:
        m_editorKind = KindTable;
        m_pnlTable->loadTable(fields, node != m_lastShown);
        m_editors->setCurrentWidget(m_pnlTable);
        break;
    default:
        break;
    }
}

void DatabaseWindow::showSelectedStatus()
{
    if (const ElementNode *node = selectedElement()) {
        showStatus(node);
    } else {
        m_main.setStatusText(QString());
    }
}

void DatabaseWindow::showStatus(const ElementNode *node)
{
    const ElementData &fields = node->data();
    QString status;
    if (!fields.Created.isEmpty() && !m_main.settings().hideCreateDate) {
        status = mainText("m_aMDateCreated") + CodePage::toUnicode(fields.Created);
    }
    if (!fields.Modified.isEmpty()) {
        const QString modified = mainText("m_aMDateModified") + CodePage::toUnicode(fields.Modified) + QLatin1String("  ");
        status = status.isEmpty() ? modified : status + QLatin1String(" - ") + modified;
    }
    m_main.setStatusText(status);
}

// --- Settings and texts ---

void DatabaseWindow::applySettings()
{
    const Settings &settings = m_main.settings();
    const QWidget *mainWindow = m_main.dialogParent();
    const QFont base = mainWindow ? mainWindow->font() : QApplication::font();
    m_textFont = TextFont::fromSettings(settings, base);
    const QColor fontColor = TextFont::color(settings.font.color, QApplication::palette());
    const QColor background = TextFont::color(settings.backgroundColor, QApplication::palette());

    LoadingGuard guard(m_main);
    setFont(m_textFont);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, background);
    colours.setColor(QPalette::Base, background);
    colours.setColor(QPalette::Text, fontColor);
    setPalette(colours);
    setAutoFillBackground(true);
    // The file bar and the table bar keep the system's text colour.
    for (QWidget *bar : {static_cast<QWidget *>(m_pnlFile), m_pnlTable->bar()}) {
        QPalette plain = QApplication::palette();
        plain.setColor(QPalette::Window, background);
        bar->setPalette(plain);
    }
    m_pnlKey->setHiddenPassword(settings.hidePass, settings.editHiddenPass);

    const int iconSize = settings.smallIcons ? 16 : 24;
    m_trvTree->setIconSize(QSize(iconSize, iconSize));
    m_trvTree->setIndentation(19);
    m_model->setIcons(elementIcons());
    m_trvTree->viewport()->update();

    const int h = QFontMetrics(m_textFont).height();
    m_edtName->setFixedHeight(h + 4);
    m_pnlName->setFixedHeight(4 + iconSize < h + 10 ? h + 10 : iconSize + 4);
    m_pnlFile->updateHeight(h);
    m_pnlKey->updateHeights(h + 4);
    m_pnlTable->updateRowHeight(h);
    applyTreeWidth();
    if (selectedElement()) {
        showSelected();
    }
}

void DatabaseWindow::applyTreeWidth()
{
    const int width = m_main.treeWidth();
    const int total = m_sptMain->width();
    if (width > 0 && total > width) {
        m_sptMain->setSizes({width, total - width - m_sptMain->handleWidth()});
    } else if (width > 0) {
        m_sptMain->setSizes({width, std::max(width, 400)});
    }
}

void DatabaseWindow::applyLanguage()
{
    const LanguageStore &language = m_main.language();
    ::applyLanguageTexts(this, language, childWindowTexts());
    m_actions->addSecondRedoKey();
    m_search->applyTexts();
    m_table->applyTexts();
    // "Unnamed" is a word of the language too.
    setWindowTitle(caption() + QLatin1String("[*]"));
    emit captionChanged(caption());
    updateActions();
}

void DatabaseWindow::updateActions()
{
    const bool unlocked = !m_main.isLocked();
    const bool selected = unlocked && selectedElement();
    for (QAction *action : {m_actions->MenSave, m_actions->MenSaveAs, m_actions->MenAddKey, m_actions->MenAddEntry,
                            m_actions->MenAddFile, m_actions->MenAddTable, m_actions->MenAddFolder,
                            m_actions->MenAddSubfolder, m_actions->MenPasteEntry, m_actions->MenFindEntry,
                            m_actions->MenFindNextEntry}) {
        action->setEnabled(unlocked);
    }
    for (QAction *action : {m_actions->MenRemoveEntry, m_actions->MenChangeEntry, m_actions->MenCutEntry,
                            m_actions->MenCopyEntry}) {
        action->setEnabled(selected);
    }
    const bool editable = unlocked && tableEditable();
    for (QAction *action : m_actions->tablePopup()->actions()) {
        action->setEnabled(action == m_actions->PopTableClear ? unlocked && tableShown() : editable);
    }
    const bool carriable = unlocked && m_carry->canCarry();
    m_actions->MenPortable->setEnabled(carriable);
    m_actions->MenAttachToFile->setEnabled(carriable);
    const UndoStack &history = m_document.undoStack();
    m_actions->MenUndo->setEnabled(unlocked && history.canUndo());
    m_actions->MenRedo->setEnabled(unlocked && history.canRedo());
    m_actions->MenUndo->setText(history.canUndo() ? childTextWith("m_aMUndoThis", history.undoText())
                                                  : childText("MenUndo"));
    m_actions->MenRedo->setText(history.canRedo() ? childTextWith("m_aMRedoThis", history.redoText())
                                                  : childText("MenRedo"));
}

QList<QMenu *> DatabaseWindow::menus() const
{
    return m_actions->menus();
}

QAction *DatabaseWindow::action(const QString &objectName) const
{
    return m_actions->action(objectName);
}

// --- Events ---

bool DatabaseWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (m_destroying) {
        return false;
    }
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::KeyRelease:
        m_main.restartLockCountdown();
        break;
    case QEvent::FocusIn:
        ++m_editVisit;
        if (watched == m_edtName) {
            onNameEntered();
        }
        break;
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
        // A field undoes its own typing first; with nothing of its own left, the key
        // undoes the document's last change through its action.
        if (const HistoryKey key = historyKeyOf(static_cast<QKeyEvent *>(event)); key != HistoryKey::None) {
            return handleHistoryKey(watched, event, key);
        }
        break;
    case QEvent::FocusOut:
        // A menu opened over the field is no leaving.
        if (watched == m_edtName && static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason) {
            finishNameField();
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void DatabaseWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_firstShown) {
        m_firstShown = true;
        applyTreeWidth();
    }
}

void DatabaseWindow::openLink(const QString &url)
{
    QDesktopServices::openUrl(QUrl(url, QUrl::TolerantMode));
}
