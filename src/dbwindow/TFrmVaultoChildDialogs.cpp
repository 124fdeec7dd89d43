// The database window's dialogs and messages.
#include "TFrmVaultoChild.h"

#include "KeyEditor.h"
#include "MainServices.h"
#include "shell/LanguageStore.h"

#include "widgets/Icons.h"
#include "widgets/MessageBox.h"

void TFrmVaultoChild::inform(const QString &text)
{
    MessageBox::show(m_main.dialogParent(), m_main.language(), MessageBox::Type::Information, text);
}

void TFrmVaultoChild::warn(const QString &text)
{
    MessageBox::show(m_main.dialogParent(), m_main.language(), MessageBox::Type::Warning, text);
}

TFrmVaultoChild::Answer TFrmVaultoChild::confirm(const QString &text, bool withCancel)
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

std::optional<QByteArray> TFrmVaultoChild::askPassword(const QByteArray &)
{
    return std::nullopt;
}

void TFrmVaultoChild::askPasswordOfKey()
{
}

QList<QIcon> TFrmVaultoChild::elementIcons() const
{
    // By kind code: folder, open folder (the selected folder), entry, key, file, table.
    using Icons::Element;
    return {Icons::element(Element::Folder), Icons::element(Element::OpenFolder), Icons::element(Element::Entry),
            Icons::element(Element::Key),    Icons::element(Element::File),       Icons::element(Element::Table)};
}
