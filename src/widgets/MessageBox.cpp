#include "MessageBox.h"

#include "shell/LanguageStore.h"
#include "shell/MainWindowTexts.h"

#include <QMessageBox>
#include <QPushButton>

namespace {

MessageBox::Answerer &installedAnswerer()
{
    static MessageBox::Answerer answerer;
    return answerer;
}

struct ButtonText
{
    MessageBox::Button button;
    const char *key;
    QMessageBox::ButtonRole role;
};

// In the order the buttons are shown.
constexpr ButtonText kButtons[] = {
    {MessageBox::Button::Ok, nullptr, QMessageBox::AcceptRole},
    {MessageBox::Button::Yes, "m_aMYes", QMessageBox::YesRole},
    {MessageBox::Button::YesToAll, "m_aMYesToAll", QMessageBox::YesRole},
    {MessageBox::Button::No, "m_aMNo", QMessageBox::NoRole},
    {MessageBox::Button::NoToAll, "m_aMNoToAll", QMessageBox::NoRole},
    {MessageBox::Button::Cancel, "m_aMCancel", QMessageBox::RejectRole},
};

const char *titleKey(MessageBox::Type type)
{
    switch (type) {
    case MessageBox::Type::Information:
        return "m_aMInformation";
    case MessageBox::Type::Confirmation:
        return "m_aMConfirmation";
    case MessageBox::Type::Warning:
        return "m_aMWarning";
    case MessageBox::Type::Error:
        return "m_aMError";
    }
    return "m_aMInformation";
}

QMessageBox::Icon iconFor(MessageBox::Type type)
{
    switch (type) {
    case MessageBox::Type::Information:
        return QMessageBox::Information;
    case MessageBox::Type::Confirmation:
        return QMessageBox::Question;
    case MessageBox::Type::Warning:
        return QMessageBox::Warning;
    case MessageBox::Type::Error:
        return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

// What closing the box without a button means.
MessageBox::Button escapeAnswer(const QList<MessageBox::Button> &buttons)
{
    for (MessageBox::Button b : {MessageBox::Button::Cancel, MessageBox::Button::No, MessageBox::Button::Ok}) {
        if (buttons.contains(b)) {
            return b;
        }
    }
    return buttons.isEmpty() ? MessageBox::Button::None : buttons.last();
}

} // namespace

MessageBox::Request MessageBox::request(const LanguageStore &language, Type type, const QString &text,
                                        Buttons buttons)
{
    const LanguageSection &main = mainWindowTexts();
    Request result{type, language.uiText(main, titleKey(type)), text, {}, {}};
    if (!buttons) {
        buttons = Button::Ok;
    }
    for (const ButtonText &entry : kButtons) {
        if (!buttons.testFlag(entry.button)) {
            continue;
        }
        result.buttons.append(entry.button);
        // The old program's OK button had no language key.
        result.captions.append(entry.key ? language.uiText(main, entry.key) : QStringLiteral("OK"));
    }
    return result;
}

std::unique_ptr<QMessageBox> MessageBox::build(QWidget *parent, const Request &request)
{
    auto box = std::make_unique<QMessageBox>(iconFor(request.type), request.title, request.text,
                                             QMessageBox::NoButton, parent);
    box->setTextFormat(Qt::PlainText);
    const Button escape = escapeAnswer(request.buttons);
    for (qsizetype i = 0; i < request.buttons.size(); ++i) {
        const Button button = request.buttons.at(i);
        QMessageBox::ButtonRole role = QMessageBox::AcceptRole;
        for (const ButtonText &entry : kButtons) {
            if (entry.button == button) {
                role = entry.role;
            }
        }
        QPushButton *pushButton = box->addButton(request.captions.at(i), role);
        pushButton->setProperty("vaultbaseButton", int(button));
        if (i == 0) {
            box->setDefaultButton(pushButton);
        }
        if (button == escape) {
            box->setEscapeButton(pushButton);
        }
    }
    return box;
}

MessageBox::Button MessageBox::show(QWidget *parent, const LanguageStore &language, Type type,
                                    const QString &text, Buttons buttons)
{
    const Request message = request(language, type, text, buttons);
    if (const Answerer &answerer = installedAnswerer()) {
        return answerer(message);
    }
    std::unique_ptr<QMessageBox> box = build(parent, message);
    box->exec();
    if (QAbstractButton *clicked = box->clickedButton()) {
        return Button(clicked->property("vaultbaseButton").toInt());
    }
    return escapeAnswer(message.buttons);
}

MessageBox::ScopedAnswerer::ScopedAnswerer(Answerer answerer) : m_previous(std::move(installedAnswerer()))
{
    installedAnswerer() = std::move(answerer);
}

MessageBox::ScopedAnswerer::~ScopedAnswerer()
{
    installedAnswerer() = std::move(m_previous);
}
