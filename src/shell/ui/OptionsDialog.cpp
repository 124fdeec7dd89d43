#include "OptionsDialog.h"

#include "OptionsTexts.h"
#include "dbwindow/TextFont.h"
#include "platform/CodePage.h"
#include "shell/LanguageStore.h"
#include "shell/LockInterval.h"
#include "shell/MainWindowTexts.h"
#include "widgets/CodePageGuard.h"
#include "widgets/FileFilter.h"
#include "widgets/Icons.h"
#include "widgets/LanguageApplier.h"
#include "widgets/MessageBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShowEvent>
#include <QSpinBox>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <span>

namespace {

template<typename T>
T *named(T *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QToolButton *smallButton(QWidget *parent, const char *name, const QIcon &icon)
{
    auto *button = named(new QToolButton(parent), name);
    button->setIcon(icon);
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    return button;
}

QHBoxLayout *row(std::initializer_list<QWidget *> widgets, bool stretch = false)
{
    auto *layout = new QHBoxLayout;
    for (QWidget *widget : widgets) {
        layout->addWidget(widget);
    }
    if (stretch) {
        layout->addStretch(1);
    }
    return layout;
}

// The boxes that depend on another are indented under it.
QHBoxLayout *indented(QWidget *widget)
{
    auto *layout = new QHBoxLayout;
    layout->addSpacing(widget->style()->pixelMetric(QStyle::PM_IndicatorWidth) + 8);
    layout->addWidget(widget);
    return layout;
}

QByteArray bytesOf(const QString &text)
{
    // The fields refuse what the code page cannot carry, so this never loses text.
    return CodePage::fromUnicode(text);
}

constexpr const char *kLockItems[] = {"1", "2", "5", "10", "30", "60", "120"};
constexpr const char *kNewEntryItems[] = {
    "%YYYY-%MM-%DD", "%YYYY-%MM", "%MM-%DD", "%YYYY-%MM-%DD %HH:%NN:%SS", "%YYYY-%MM-%DD %HH", "%MM-%DD %HH:%NN",
    "%YYYY%MM%DD", "%YYYY%MM", "%YYYY%MM%DD%HH%NN%SS", "%YYYY%MM%DD%HH", "%MM%DD", "%HH-%NN-%SS",
    "Entry%%YYYY%MM", "%YY%MM_Entry", ""};
constexpr const char *kFileTypeItems[] = {"*.kvdb", "*.kvdb;*.jpg;*.bmp;*.ico;*.png;*.gif", "*.*"};
constexpr char kDefaultFileTypes[] = "*.kvdb";

// A tab page that scrolls its controls when the screen cannot hold them (a large font).
// It takes the controls' name, so that its language text names the tab.
QScrollArea *scrolling(QWidget *page)
{
    auto *area = new QScrollArea;
    area->setObjectName(page->objectName());
    page->setObjectName(page->objectName() + QLatin1String("Controls"));
    area->setWidget(page);
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    return area;
}

QComboBox *editableBox(QWidget *parent, const char *name, std::span<const char *const> items)
{
    auto *box = named(new QComboBox(parent), name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    for (const char *item : items) {
        box->addItem(QLatin1String(item));
    }
    return box;
}

} // namespace

OptionsDialog::OptionsDialog(const LanguageStore &language, const SettingsEnvironment &environment, QWidget *parent)
    : QDialog(parent), m_language(language), m_environment(environment)
{
    setObjectName(QStringLiteral("FrmOpt"));
    m_pickers.font = [](QWidget *owner, const QFont &current) -> std::optional<QFont> {
        bool ok = false;
        const QFont font = QFontDialog::getFont(&ok, current, owner);
        return ok ? std::optional<QFont>(font) : std::nullopt;
    };
    m_pickers.color = [](QWidget *owner, const QColor &current) -> std::optional<QColor> {
        const QColor color = QColorDialog::getColor(current, owner);
        return color.isValid() ? std::optional<QColor>(color) : std::nullopt;
    };
    m_pickers.folder = [](QWidget *owner, const QString &current) {
        return QFileDialog::getExistingDirectory(owner, QString(), current);
    };
    m_pickers.file = [this](QWidget *owner) {
        const QString filter = QtFileFilter(m_language.uiText(mainWindowTexts(), "m_aMOpenFileFilter"));
        return QFileDialog::getOpenFileName(owner, QString(), QString(), filter);
    };

    m_pages = named(new QTabWidget(this), "PgcOptions");
    m_pages->addTab(scrolling(buildGeneralPage()), QString());
    m_pages->addTab(scrolling(buildLayoutPage()), QString());
    auto *ok = named(new QPushButton(this), "BtnOK");
    ok->setDefault(true);
    auto *cancel = named(new QPushButton(this), "BtnCancel");
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(ok, QDialogButtonBox::AcceptRole);
    buttons->addButton(cancel, QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addWidget(buttons);
    connectRules();
    applyLanguage();
}

QWidget *OptionsDialog::buildGeneralPage()
{
    auto *page = named(new QWidget, "TabGeneral");
    auto *fileLabel = named(new QLabel(page), "LblFileName");
    m_startupFile = named(new QLineEdit(page), "EdtStartupFileName");
    m_startupFile->setMinimumWidth(fontMetrics().averageCharWidth() * 48);
    fileLabel->setBuddy(m_startupFile);
    guardCodePage(m_startupFile, m_language);
    m_openStartupFile = smallButton(page, "BtnOpen", Icons::command(Icons::Command::Open));
    m_hidePass = named(new QCheckBox(page), "ChkHidePass");
    m_directEdit = named(new QCheckBox(page), "ChkPasswordDirectEdit");
    m_askForPassword = named(new QCheckBox(page), "ChkAskForPassword");
    m_showDialogPassword = named(new QCheckBox(page), "ChkShowDialogPassword");
    m_checkForPasswordFile = named(new QCheckBox(page), "ChkCheckForPasswordFile");
    m_lock = named(new QCheckBox(page), "ChkLock");
    m_lockInterval = editableBox(page, "CbbLock", kLockItems);
    guardCodePage(m_lockInterval->lineEdit(), m_language);
    auto *minutes = named(new QLabel(page), "LblLockMinutes");
    m_lockHint = named(new QLabel(page), "LblLockApplies");
    m_lockOnScreenLock = named(new QCheckBox(page), "ChkLockOnScreenLock");
    auto *clipboardLabel = named(new QLabel(page), "LblClipboardClear");
    m_clipboardSeconds = named(new QSpinBox(page), "EdtClipboardClear");
    m_clipboardSeconds->setRange(0, 3600);
    clipboardLabel->setBuddy(m_clipboardSeconds);
    auto *seconds = named(new QLabel(page), "LblClipboardSeconds");
    m_deleteTempFiles = named(new QCheckBox(page), "ChkDeleteTempFiles");
    m_addToStartup = named(new QCheckBox(page), "ChkAddToStartup");
    m_richText = named(new QCheckBox(page), "ChkRichText");
    m_newEntry = named(new QCheckBox(page), "ChkNewEntry");
    m_newEntryValue = editableBox(page, "CbbNewEntry", kNewEntryItems);
    m_newEntryValue->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    guardCodePage(m_newEntryValue->lineEdit(), m_language);
    auto *typesLabel = named(new QLabel(page), "LblFileTypes");
    m_fileTypes = editableBox(page, "CbbFileTypes", kFileTypeItems);
    m_fileTypes->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    typesLabel->setBuddy(m_fileTypes);
    guardCodePage(m_fileTypes->lineEdit(), m_language);
    m_fileTypesReset = smallButton(page, "BtnFileTypesReset", style()->standardIcon(QStyle::SP_DialogResetButton));
    auto *folderLabel = named(new QLabel(page), "LblStartupFolder");
    m_startupFolder = named(new QLineEdit(page), "EdtStartupFolder");
    folderLabel->setBuddy(m_startupFolder);
    guardCodePage(m_startupFolder, m_language);
    m_pickStartupFolder = smallButton(page, "BtnStartupFolder", style()->standardIcon(QStyle::SP_DirOpenIcon));
    m_noIniSave = named(new QCheckBox(page), "ChkNoIniSave");

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(fileLabel);
    layout->addLayout(row({m_startupFile, m_openStartupFile}));
    layout->addWidget(m_hidePass);
    layout->addLayout(indented(m_directEdit));
    for (QWidget *box : {m_askForPassword, m_showDialogPassword, m_checkForPasswordFile}) {
        layout->addWidget(box);
    }
    layout->addLayout(row({m_lock, m_lockInterval, minutes, m_lockHint}, true));
    layout->addWidget(m_lockOnScreenLock);
    layout->addLayout(row({clipboardLabel, m_clipboardSeconds, seconds}, true));
    for (QWidget *box : {m_deleteTempFiles, m_addToStartup, m_richText}) {
        layout->addWidget(box);
    }
    layout->addLayout(row({m_newEntry, m_newEntryValue}, true));
    auto *places = new QGridLayout;
    places->addWidget(typesLabel, 0, 0);
    places->addLayout(row({m_fileTypes, m_fileTypesReset}), 0, 1);
    places->addWidget(folderLabel, 1, 0);
    places->addLayout(row({m_startupFolder, m_pickStartupFolder}), 1, 1);
    places->setColumnStretch(1, 1);
    layout->addLayout(places);
    layout->addWidget(m_noIniSave);
    layout->addStretch(1);
    return page;
}

QWidget *OptionsDialog::buildLayoutPage()
{
    auto *page = named(new QWidget, "TabLayout");
    m_showButtons = named(new QCheckBox(page), "ChkShowButtons");
    m_showStatusBar = named(new QCheckBox(page), "ChkShowStatusBar");
    m_hideCreateDate = named(new QCheckBox(page), "ChkHideCreateDate");
    m_smallIcons = named(new QCheckBox(page), "ChkSmallIcons");
    m_showTrayIcon = named(new QCheckBox(page), "ChkShowTrayIcon");
    m_lockOnTray = named(new QCheckBox(page), "ChkLockOnTray");
    m_sendToTrayOnClose = named(new QCheckBox(page), "ChkSendToTrayOnClose");
    m_sendToTrayOnStartup = named(new QCheckBox(page), "ChkSendToTrayOnStartup");
    auto *fontLabel = named(new QLabel(page), "LblFont");
    m_fontButton = named(new QPushButton(page), "BtnFont");
    fontLabel->setBuddy(m_fontButton);
    m_fontReset = smallButton(page, "BtnResetFont", style()->standardIcon(QStyle::SP_DialogResetButton));
    auto *colorLabel = named(new QLabel(page), "LblBackgroundColor");
    m_backgroundPanel = named(new QPushButton(page), "PnlBackgroundColor");
    colorLabel->setBuddy(m_backgroundPanel);
    m_backgroundReset =
        smallButton(page, "BtnBackgroundColorReset", style()->standardIcon(QStyle::SP_DialogResetButton));

    auto *layout = new QVBoxLayout(page);
    for (QWidget *box : {m_showButtons, m_showStatusBar, m_hideCreateDate, m_smallIcons, m_showTrayIcon}) {
        layout->addWidget(box);
    }
    for (QWidget *box : {m_lockOnTray, m_sendToTrayOnClose, m_sendToTrayOnStartup}) {
        layout->addLayout(indented(box));
    }
    auto *looks = new QGridLayout;
    looks->addWidget(fontLabel, 0, 0);
    looks->addLayout(row({m_fontButton, m_fontReset}, true), 0, 1);
    looks->addWidget(colorLabel, 1, 0);
    looks->addLayout(row({m_backgroundPanel, m_backgroundReset}, true), 1, 1);
    looks->setColumnStretch(1, 1);
    layout->addSpacing(fontMetrics().height() / 2);
    layout->addLayout(looks);
    layout->addStretch(1);
    return page;
}

void OptionsDialog::connectRules()
{
    for (QCheckBox *box : {m_hidePass, m_showTrayIcon, m_newEntry}) {
        connect(box, &QCheckBox::toggled, this, &OptionsDialog::updateDependencies);
    }
    connect(m_lockInterval, &QComboBox::currentTextChanged, this, &OptionsDialog::updateLockHint);
    connect(m_openStartupFile, &QToolButton::clicked, this, &OptionsDialog::pickStartupFile);
    connect(m_pickStartupFolder, &QToolButton::clicked, this, &OptionsDialog::pickStartupFolder);
    connect(m_fileTypesReset, &QToolButton::clicked, this,
            [this] { m_fileTypes->setEditText(QLatin1String(kDefaultFileTypes)); });
    connect(m_fontButton, &QPushButton::clicked, this, &OptionsDialog::pickFont);
    connect(m_fontReset, &QToolButton::clicked, this, &OptionsDialog::resetFont);
    connect(m_backgroundPanel, &QPushButton::clicked, this, &OptionsDialog::pickBackgroundColor);
    connect(m_backgroundReset, &QToolButton::clicked, this, &OptionsDialog::resetBackgroundColor);
}

// A box that depends on another is usable only while that one is ticked, and unticked
// when it is not.
void OptionsDialog::updateDependencies()
{
    const bool hidden = m_hidePass->isChecked();
    m_directEdit->setEnabled(hidden);
    if (!hidden) {
        m_directEdit->setChecked(false);
    }
    const bool tray = m_showTrayIcon->isChecked();
    for (QCheckBox *box : {m_lockOnTray, m_sendToTrayOnClose, m_sendToTrayOnStartup}) {
        box->setEnabled(tray);
        if (!tray) {
            box->setChecked(false);
        }
    }
    m_newEntryValue->setEnabled(m_newEntry->isChecked());
}

// A typed interval that is not a plain number of minutes says what it counts as.
void OptionsDialog::updateLockHint()
{
    const QByteArray typed = bytesOf(m_lockInterval->currentText());
    const int minutes = LockInterval::delaySeconds(typed) / 60;
    const bool plain = typed.trimmed() == QByteArray::number(minutes);
    m_lockHint->setVisible(!plain);
    m_lockHint->setText(m_language.uiText(optionsTexts(), "m_aMLockApplies")
                            .replace(QLatin1String("%s"), QString::number(minutes)));
}

void OptionsDialog::load(const Settings &settings, bool startupEntryPresent)
{
    m_startupFile->setText(settings.defaultDb);
    m_hidePass->setChecked(settings.hidePass);
    m_directEdit->setChecked(settings.editHiddenPass);
    m_askForPassword->setChecked(settings.alwaysAskForPassword);
    m_showDialogPassword->setChecked(settings.showDialogPassword);
    m_checkForPasswordFile->setChecked(settings.checkForPasswordFile);
    m_lock->setChecked(settings.lock);
    m_lockInterval->setEditText(CodePage::toUnicode(settings.lockInterval));
    m_lockOnScreenLock->setChecked(settings.lockOnScreenLock);
    m_clipboardSeconds->setValue(settings.clipboardClearSeconds);
    m_deleteTempFiles->setChecked(settings.deleteTempFiles);
    m_addToStartup->setChecked(startupEntryPresent);
    m_richText->setChecked(settings.richText);
    m_newEntry->setChecked(settings.setNewEntry);
    m_newEntryValue->setEditText(CodePage::toUnicode(settings.newEntryValue));
    m_fileTypes->setEditText(CodePage::toUnicode(settings.fileTypes));
    m_startupFolder->setText(settings.startupFolder);
    m_noIniSave->setChecked(settings.noIniSave);
    m_showButtons->setChecked(settings.showButtons);
    m_showStatusBar->setChecked(settings.showStatusBar);
    m_hideCreateDate->setChecked(settings.hideCreateDate);
    m_smallIcons->setChecked(settings.smallIcons);
    m_showTrayIcon->setChecked(settings.showTrayIcon);
    m_lockOnTray->setChecked(settings.lockOnTray);
    m_sendToTrayOnClose->setChecked(settings.sendToTrayOnClose);
    m_sendToTrayOnStartup->setChecked(settings.sendToTrayOnStartup);
    updateDependencies();

    m_font = settings.font;
    m_useFontSettings = settings.useFontSettings;
    m_fontChosen = false;
    m_background = settings.backgroundColor;
    showFont();
    showBackgroundColor();
    m_pages->setCurrentIndex(0);
    applyLanguage();
}

void OptionsDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    fitToScreen();
}

// Room for every control in the chosen font, as far as the screen allows; a page the
// screen cannot hold scrolls. Measured once shown, when the style has sized every control.
void OptionsDialog::fitToScreen()
{
    const QScreen *where = screen();
    const QRect room = where->availableGeometry();
    // The window manager's frame and title bar take some of the room.
    const QSize frame(16, 16 + style()->pixelMetric(QStyle::PM_TitleBarHeight));
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    QSize content;
    for (int i = 0; i < m_pages->count(); ++i) {
        auto *area = static_cast<QScrollArea *>(m_pages->widget(i));
        content = content.expandedTo(area->widget()->sizeHint() + QSize(bar, 0));
    }
    const QSize around = size() - m_pages->currentWidget()->size();
    const QSize wanted = (content + around).boundedTo(room.size() - frame);
    if (wanted == size()) {
        return;
    }
    resize(wanted);
    // Centred where it was, and on the screen.
    QRect placed(QPoint(), wanted);
    placed.moveCenter(geometry().center());
    placed.moveLeft(qBound(room.left(), placed.left(), qMax(room.left(), room.right() - wanted.width() - frame.width())));
    placed.moveTop(qBound(room.top(), placed.top(), qMax(room.top(), room.bottom() - wanted.height() - frame.height())));
    move(placed.topLeft());
}

void OptionsDialog::store(Settings &settings) const
{
    settings.defaultDb = m_startupFile->text();
    settings.hidePass = m_hidePass->isChecked();
    settings.editHiddenPass = m_directEdit->isChecked();
    settings.alwaysAskForPassword = m_askForPassword->isChecked();
    settings.showDialogPassword = m_showDialogPassword->isChecked();
    settings.checkForPasswordFile = m_checkForPasswordFile->isChecked();
    settings.lock = m_lock->isChecked();
    settings.lockInterval = bytesOf(m_lockInterval->currentText());
    settings.lockOnScreenLock = m_lockOnScreenLock->isChecked();
    settings.clipboardClearSeconds = m_clipboardSeconds->value();
    settings.deleteTempFiles = m_deleteTempFiles->isChecked();
    settings.richText = m_richText->isChecked();
    settings.setNewEntry = m_newEntry->isChecked();
    settings.newEntryValue = bytesOf(m_newEntryValue->currentText());
    settings.fileTypes = bytesOf(m_fileTypes->currentText());
    settings.startupFolder = m_startupFolder->text();
    settings.noIniSave = m_noIniSave->isChecked();
    settings.showButtons = m_showButtons->isChecked();
    settings.showStatusBar = m_showStatusBar->isChecked();
    settings.hideCreateDate = m_hideCreateDate->isChecked();
    settings.smallIcons = m_smallIcons->isChecked();
    settings.showTrayIcon = m_showTrayIcon->isChecked();
    settings.lockOnTray = m_lockOnTray->isChecked();
    settings.sendToTrayOnClose = m_sendToTrayOnClose->isChecked();
    settings.sendToTrayOnStartup = m_sendToTrayOnStartup->isChecked();
    settings.backgroundColor = m_background;
    settings.font = m_font;
    // A font chosen here counts even when the file said to take the base font.
    settings.useFontSettings = m_useFontSettings || m_fontChosen;
    settings.useFontHeight = m_font.height != m_environment.baseFont.height;
}

bool OptionsDialog::startupEntryWanted() const
{
    return m_addToStartup->isChecked();
}

// --- Font and colour ---

// The dialog shows itself in the chosen text font, whose name is the font button's text.
void OptionsDialog::showFont()
{
    Settings shown;
    shown.font = m_font;
    shown.useFontSettings = true;
    shown.useFontHeight = m_font.height != m_environment.baseFont.height;
    setFont(TextFont::fromSettings(shown, QApplication::font()));
    m_fontButton->setText(CodePage::toUnicode(m_font.name));
}

void OptionsDialog::chooseFont(const QFont &font)
{
    bool ok = false;
    const QByteArray name = CodePage::fromUnicode(font.family(), &ok);
    // A family the code page cannot carry would be stored altered: the name stays.
    if (ok && !name.isEmpty()) {
        m_font.name = name;
    }
    const int ppi = m_environment.pixelsPerInch;
    m_font.height = font.pointSize() > 0 ? FontNumbers::heightFromSize(font.pointSize(), ppi) : -font.pixelSize();
    m_font.size = FontNumbers::sizeFromHeight(m_font.height, ppi);
    if (font.fixedPitch()) {
        m_font.pitch = 2;
    } else if (m_font.pitch == 2) {
        m_font.pitch = 0;
    }
    m_font.color = ColorRef::WindowText;
    m_fontChosen = true;
    showFont();
}

void OptionsDialog::resetFont()
{
    m_font = m_environment.baseFont;
    m_font.color = ColorRef::WindowText;
    m_font.size = FontNumbers::sizeFromHeight(m_font.height, m_environment.pixelsPerInch);
    m_fontChosen = true;
    showFont();
}

void OptionsDialog::pickFont()
{
    if (const std::optional<QFont> font = m_pickers.font(this, this->font())) {
        chooseFont(*font);
    }
}

void OptionsDialog::showBackgroundColor()
{
    const int height = fontMetrics().height();
    QPixmap swatch(height * 3, height);
    swatch.fill(TextFont::color(m_background, QApplication::palette()));
    QPainter painter(&swatch);
    painter.setPen(QApplication::palette().color(QPalette::WindowText));
    painter.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
    painter.end();
    m_backgroundPanel->setIcon(QIcon(swatch));
    m_backgroundPanel->setIconSize(swatch.size());
}

void OptionsDialog::chooseBackgroundColor(const QColor &color)
{
    m_background = ColorRef::fromRgb(color.rgb() & 0xFFFFFFu);
    showBackgroundColor();
}

void OptionsDialog::resetBackgroundColor()
{
    m_background = ColorRef::White;
    showBackgroundColor();
}

void OptionsDialog::pickBackgroundColor()
{
    const QColor current = TextFont::color(m_background, QApplication::palette());
    if (const std::optional<QColor> color = m_pickers.color(this, current)) {
        chooseBackgroundColor(*color);
    }
}

// --- Start-up file and folder ---

bool OptionsDialog::refuseUnstorablePath(const QString &path)
{
    qsizetype bad = 0;
    if (CodePage::canEncode(path, &bad)) {
        return false;
    }
    MessageBox::show(this, m_language, MessageBox::Type::Warning, codePageRefusal(m_language, path.mid(bad, 1)));
    return true;
}

void OptionsDialog::pickStartupFile()
{
    const QString path = m_pickers.file(this);
    if (!path.isEmpty() && !refuseUnstorablePath(path)) {
        m_startupFile->setText(path);
    }
}

void OptionsDialog::pickStartupFolder()
{
    const QString typed = m_startupFolder->text();
    QString path = m_pickers.folder(this, QFileInfo(typed).isDir() ? typed : QString());
    if (path.isEmpty() || refuseUnstorablePath(path)) {
        return;
    }
    if (!path.endsWith(QLatin1Char('/'))) {
        path += QLatin1Char('/');
    }
    m_startupFolder->setText(path);
}

// --- Texts ---

void OptionsDialog::applyLanguage()
{
    applyLanguageTexts(this, m_language, optionsTexts());
    for (QToolButton *button : {m_openStartupFile, m_pickStartupFolder, m_fileTypesReset, m_fontReset,
                                m_backgroundReset}) {
        button->setToolTip(button->text());
    }
    updateLockHint();
}
