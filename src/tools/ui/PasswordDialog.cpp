#include "PasswordDialog.h"

#include "PasswordTexts.h"
#include "GeneratorDialog.h"
#include "document/KeyFile.h"
#include "platform/CodePage.h"
#include "shell/LanguageStore.h"
#include "shell/MainWindowTexts.h"
#include "shell/Settings.h"
#include "tools/PasswordRisks.h"
#include "widgets/CodePageGuard.h"
#include "widgets/FileFilter.h"
#include "widgets/Icons.h"
#include "widgets/LanguageApplier.h"
#include "widgets/LinkLabel.h"
#include "widgets/MessageBox.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QToolButton>

namespace {

const QString kKeyFileFilter = QStringLiteral("Password Key (*.kvky)|*.kvky");

template <typename T>
T *named(T *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// The database path with the extension of its last component replaced by ".kvky", as
// the automatic key-file lookup probes it.
QString keyFileBeside(const QString &databasePath)
{
    const qsizetype slash = databasePath.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = databasePath.lastIndexOf(QLatin1Char('.'));
    return databasePath.left(dot > slash ? dot : databasePath.size()) + QStringLiteral(".kvky");
}

QString defaultChooser(QWidget *parent, PasswordDialog::KeyFileAction action, const QString &proposed,
                       const QString &filter)
{
    QString start = proposed;
    if (QFileInfo(start).isRelative()) {
        start = QDir::home().filePath(start);
    }
    if (action == PasswordDialog::KeyFileAction::Open) {
        return QFileDialog::getOpenFileName(parent, QString(), start, filter);
    }
    return QFileDialog::getSaveFileName(parent, QString(), start, filter);
}

} // namespace

PasswordDialog::PasswordDialog(const LanguageStore &language, const Settings &settings, GeneratorDialog &generator,
                           ActiveDatabase activeDatabase, QWidget *parent)
    : QDialog(parent), m_language(language), m_settings(settings), m_generator(generator),
      m_activeDatabase(std::move(activeDatabase)), m_chooser(defaultChooser)
{
    setObjectName(QStringLiteral("FrmPasswd"));
    m_passwordLabel = named(new QLabel(this), "LblPassword");
    m_password = named(new QLineEdit(this), "EdtPassword");
    m_confirmationLabel = named(new QLabel(this), "LblConfirmation");
    m_confirmation = named(new QLineEdit(this), "EdtConfirmation");
    m_passwordLabel->setBuddy(m_password);
    m_confirmationLabel->setBuddy(m_confirmation);
    for (QLineEdit *field : {m_password, m_confirmation}) {
        guardCodePage(field, m_language);
        field->setMinimumWidth(fontMetrics().averageCharWidth() * 30);
    }
    m_generate = named(new LinkLabel(this), "LblGenerate");
    m_secure = named(new LinkLabel(this), "LblSecure");
    m_secure->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    m_open = named(new QToolButton(this), "BtnOpen");
    m_open->setIcon(Icons::command(Icons::Command::KeyFileOpen));
    m_save = named(new QToolButton(this), "BtnSave");
    m_save->setIcon(Icons::command(Icons::Command::KeyFileSave));
    for (QToolButton *button : {m_open, m_save}) {
        button->setAutoRaise(true);
        button->setIconSize(QSize(24, 24));
    }
    m_ok = named(new QPushButton(this), "BtnOK");
    m_ok->setDefault(true);
    m_cancel = named(new QPushButton(this), "BtnCancel");

    auto *grid = new QGridLayout;
    grid->setColumnStretch(1, 1);
    grid->addWidget(m_passwordLabel, 0, 0);
    grid->addWidget(m_password, 0, 1);
    grid->addWidget(m_confirmationLabel, 1, 0);
    grid->addWidget(m_confirmation, 1, 1);
    auto *links = new QHBoxLayout;
    links->addWidget(m_generate);
    links->addStretch();
    links->addWidget(m_secure);
    grid->addLayout(links, 2, 0, 1, 2);

    auto *buttons = new QHBoxLayout;
    auto *keyFiles = named(new QWidget(this), "TlbButtons");
    auto *keyFileButtons = new QHBoxLayout(keyFiles);
    keyFileButtons->setContentsMargins(0, 0, 0, 0);
    keyFileButtons->setSpacing(2);
    keyFileButtons->addWidget(m_open);
    keyFileButtons->addWidget(m_save);
    buttons->addWidget(keyFiles);
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(6);
    layout->addStretch();
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetMinimumSize);

    connect(m_ok, &QPushButton::clicked, this, &PasswordDialog::confirm);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_open, &QToolButton::clicked, this, &PasswordDialog::openKeyFile);
    connect(m_save, &QToolButton::clicked, this, &PasswordDialog::saveKeyFile);
    connect(m_generate, &LinkLabel::clicked, this, &PasswordDialog::generatePassword);
    connect(m_secure, &LinkLabel::clicked, this, &PasswordDialog::openSecurityPage);
    setTabOrder(m_password, m_confirmation);
    setTabOrder(m_confirmation, m_generate);
    setTabOrder(m_generate, m_secure);
    setTabOrder(m_secure, m_ok);
    setTabOrder(m_ok, m_cancel);
    setTabOrder(m_cancel, m_open);
    setTabOrder(m_open, m_save);

    setConfirmationMode(false);
    setPasswordVisible(false);
    applyTexts();
    applyFieldFonts();
}

void PasswordDialog::setConfirmationMode(bool confirmation)
{
    if (confirmation) {
        m_confirmation->clear();
    }
    for (QWidget *widget : std::initializer_list<QWidget *>{m_confirmation, m_confirmationLabel, m_secure, m_generate,
                                                            m_save}) {
        widget->setVisible(confirmation);
    }
}

bool PasswordDialog::confirmationMode() const
{
    return !m_confirmation->isHidden();
}

void PasswordDialog::setDatabaseFileName(const QString &path)
{
    m_databaseFileName = path;
}

void PasswordDialog::setPasswordVisible(bool visible)
{
    const QLineEdit::EchoMode mode = visible ? QLineEdit::Normal : QLineEdit::Password;
    m_password->setEchoMode(mode);
    m_confirmation->setEchoMode(mode);
}

QByteArray PasswordDialog::password() const
{
    return CodePage::fromUnicode(m_password->text());
}

void PasswordDialog::setPassword(const QByteArray &password)
{
    m_password->setText(CodePage::toUnicode(password));
}

QByteArray PasswordDialog::confirmation() const
{
    return CodePage::fromUnicode(m_confirmation->text());
}

void PasswordDialog::setConfirmation(const QByteArray &confirmation)
{
    m_confirmation->setText(CodePage::toUnicode(confirmation));
}

void PasswordDialog::clearFields()
{
    m_password->clear();
    m_confirmation->clear();
}

void PasswordDialog::setKeyFileChooser(KeyFileChooser chooser)
{
    m_chooser = chooser ? std::move(chooser) : KeyFileChooser(defaultChooser);
}

QString PasswordDialog::proposedKeyFileName() const
{
    if (!m_settings.checkForPasswordFile) {
        return m_lastKeyFile;
    }
    const std::optional<QString> database = m_activeDatabase ? m_activeDatabase() : std::nullopt;
    if (database && !database->isEmpty() && QFileInfo::exists(*database)) {
        return keyFileBeside(*database);
    }
    return QStringLiteral("Default.kvky");
}

void PasswordDialog::confirm()
{
    // The two texts map to the same bytes exactly when they are equal: the comparison
    // is exact and case-sensitive.
    if (confirmationMode() && m_confirmation->text() != m_password->text()) {
        MessageBox::show(this, m_language, MessageBox::Type::Warning, m_language.uiText(passwordTexts(), "m_aMNoMatch"));
        return;
    }
    accept();
}

void PasswordDialog::openKeyFile()
{
    const QString path = chooseKeyFile(KeyFileAction::Open, m_lastKeyFile);
    if (path.isEmpty()) {
        return;
    }
    const std::optional<QByteArray> password = readKeyFile(path);
    if (!password) {
        // Closing with OK here would hand the caller whatever the field held before.
        MessageBox::show(this, m_language, MessageBox::Type::Warning,
                         m_language.uiText(passwordTexts(), "m_aMKeyFileUnreadable"));
        return;
    }
    setPassword(*password);
    if (confirmationMode()) {
        m_confirmation->setText(m_password->text());
    }
    confirm();
}

void PasswordDialog::saveKeyFile()
{
    if (!m_activeDatabase || !m_activeDatabase() || m_password->text().isEmpty()) {
        return;
    }
    const QString path = chooseKeyFile(KeyFileAction::Save, proposedKeyFileName());
    if (path.isEmpty()) {
        return;
    }
    m_confirmation->setText(m_password->text());
    if (!writeKeyFile(path, password())) {
        // The user would otherwise believe the key file exists.
        MessageBox::show(this, m_language, MessageBox::Type::Warning,
                         m_language.uiText(passwordTexts(), "m_aMKeyFileUnwritable"));
        return;
    }
    confirm();
}

void PasswordDialog::generatePassword()
{
    m_generator.setCopyLayout(false);
    if (m_generator.exec() == QDialog::Accepted) {
        setPassword(m_generator.password());
    }
}

void PasswordDialog::openSecurityPage()
{
    QString risks = CodePage::toUnicode(passwordRisks(password(), m_language));
    risks.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    MessageBox::show(this, m_language, MessageBox::Type::Information, risks.trimmed());
}

QString PasswordDialog::chooseKeyFile(KeyFileAction action, const QString &proposed)
{
    // A bare name ("Default.kvky") starts in the folder of the key file chosen last.
    QString start = proposed;
    if (!start.isEmpty() && QFileInfo(start).isRelative() && !m_lastKeyFile.isEmpty()) {
        start = QFileInfo(m_lastKeyFile).absoluteDir().filePath(start);
    }
    const QString path = m_chooser(this, action, start, QtFileFilter(kKeyFileFilter));
    if (!path.isEmpty()) {
        m_lastKeyFile = path;
    }
    return path;
}

void PasswordDialog::setVisible(bool visible)
{
    if (visible) {
        // Fit the layout in use: the password-only layout is smaller than the other.
        layout()->invalidate();
        layout()->activate();
        adjustSize();
    }
    QDialog::setVisible(visible);
}

void PasswordDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous()) {
        return;
    }
    applyFieldFonts();
    setPasswordVisible(m_settings.showDialogPassword);
    applyTexts();
    m_password->setFocus();
}

void PasswordDialog::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        applyFieldFonts();
    }
}

void PasswordDialog::applyTexts()
{
    applyLanguageTexts(this, m_language, passwordTexts());
    if (!m_databaseFileName.isEmpty() && !confirmationMode()) {
        setWindowTitle(windowTitle() + QStringLiteral(" - ") + QFileInfo(m_databaseFileName).fileName());
    }
    // The hints are the main window's Open and Save commands.
    const LanguageSection &main = mainWindowTexts();
    const LanguageSection &child = mainWindowChildTexts();
    m_open->setToolTip(CodePage::toUnicode(m_language.text(QByteArray(main.prefix) + "MenOpen", main.english("MenOpen"))));
    m_save->setToolTip(
        CodePage::toUnicode(m_language.text(QByteArray(child.prefix) + "MenSave", child.english("MenSave"))));
}

void PasswordDialog::applyFieldFonts()
{
    // The fields are a point larger than the dialog's font.
    QFont larger = font();
    larger.setPointSizeF(larger.pointSizeF() + 1);
    m_password->setFont(larger);
    m_confirmation->setFont(larger);
}
