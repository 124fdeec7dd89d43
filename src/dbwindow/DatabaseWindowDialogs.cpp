// The database window's dialogs and messages.
#include "DatabaseWindow.h"

#include "KeyEditor.h"
#include "MainServices.h"
#include "platform/CodePage.h"
#include "platform/SecureMemory.h"
#include "shell/LanguageStore.h"
#include "tools/ui/PasswordDialog.h"

#include "widgets/Icons.h"
#include "widgets/MessageBox.h"

void DatabaseWindow::inform(const QString &text)
{
    MessageBox::show(m_main.dialogParent(), m_main.language(), MessageBox::Type::Information, text);
}

void DatabaseWindow::warn(const QString &text)
{
    MessageBox::show(m_main.dialogParent(), m_main.language(), MessageBox::Type::Warning, text);
}

DatabaseWindow::Answer DatabaseWindow::confirm(const QString &text, bool withCancel)
{
    MessageBox::Buttons buttons = MessageBox::Button::Yes | MessageBox::Button::No;
    if (withCancel) {
        buttons |= MessageBox::Button::Cancel;
    }
    switch (MessageBox::show(m_main.dialogParent(), m_main.language(), MessageBox::Type::Confirmation, text,
                             buttons)) {
    case MessageBox::Button::Yes: return Answer::Yes;
    case MessageBox::Button::No: return Answer::No;
    default: return Answer::Cancel;
    }
}

std::optional<QByteArray> DatabaseWindow::askPassword(const QByteArray &current)
{
    // The dialog is shared by every window: it gets its own text back afterwards.
    PasswordDialog &dialog = m_main.passwordDialog();
    QByteArray before = dialog.password();
    const bool timerWasRunning = m_main.stopLockTimer();
    dialog.setConfirmationMode(true);
    dialog.setPassword(current);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    QByteArray chosen = dialog.password();
    dialog.setConfirmationMode(false);
    dialog.setPassword(before);
    SecureMemory::wipe(before);
    m_main.restoreLockTimer(timerWasRunning);
    if (!accepted) {
        SecureMemory::wipe(chosen);
        return std::nullopt;
    }
    return chosen;
}

void DatabaseWindow::askPasswordOfKey(const QString &proposed)
{
    ElementNode *node = selectedElement();
    if (!node || node->kind() != KindKey) {
        return;
    }
    bool ok = false;
    QByteArray start = CodePage::fromUnicode(proposed, &ok);
    if (!ok) {
        start = node->data().Detail; // a character the code page cannot carry is not typed
    }
    std::optional<QByteArray> password = askPassword(start);
    SecureMemory::wipe(start);
    // The key may have gone while the dialog was open (a lock, a close).
    if (!password || selectedElement() != node) {
        return;
    }
    m_pnlKey->applyPassword(CodePage::toUnicode(*password));
    SecureMemory::wipe(*password);
}

QList<QIcon> DatabaseWindow::elementIcons() const
{
    // By kind code: folder, open folder (the selected folder), entry, key, file, table.
    using Icons::Element;
    return {Icons::element(Element::Folder), Icons::element(Element::OpenFolder), Icons::element(Element::Entry),
            Icons::element(Element::Key),    Icons::element(Element::File),       Icons::element(Element::Table)};
}
