#pragma once

#include <QFlags>
#include <QList>
#include <QString>

#include <functional>
#include <memory>

class LanguageStore;
class QMessageBox;
class QWidget;

// The program's message box: information, confirmation, warning or error, with the
// button captions and the title in the current language (the main window's "m_aM..."
// words). Tests answer it through an Answerer instead of a modal loop.
class MessageBox
{
public:
    enum class Type { Information, Confirmation, Warning, Error };
    enum class Button { None = 0, Ok = 1, Yes = 2, No = 4, YesToAll = 8, NoToAll = 16, Cancel = 32 };
    Q_DECLARE_FLAGS(Buttons, Button)

    // What a message box shows, as an answerer sees it.
    struct Request
    {
        Type type;
        QString title;
        QString text;
        QList<Button> buttons;     // in the order they are shown
        QList<QString> captions;   // the localised caption of each button
    };
    using Answerer = std::function<Button(const Request &)>;

    // Shows the message modally and returns the button pressed; closing the box counts
    // as Cancel, else No, else Ok (whichever it offers). With an answerer installed, the
    // answerer is asked instead.
    static Button show(QWidget *parent, const LanguageStore &language, Type type, const QString &text,
                       Buttons buttons = Button::Ok);

    // The title and the button captions for a message.
    static Request request(const LanguageStore &language, Type type, const QString &text, Buttons buttons);

    // The box show() would run, with each button's Button value in its "vaultbaseButton"
    // property.
    static std::unique_ptr<QMessageBox> build(QWidget *parent, const Request &request);

    // Installs an answerer for its lifetime (the previous one comes back afterwards).
    class ScopedAnswerer
    {
    public:
        explicit ScopedAnswerer(Answerer answerer);
        ~ScopedAnswerer();
        ScopedAnswerer(const ScopedAnswerer &) = delete;
        ScopedAnswerer &operator=(const ScopedAnswerer &) = delete;

    private:
        Answerer m_previous;
    };
};

Q_DECLARE_OPERATORS_FOR_FLAGS(MessageBox::Buttons)
