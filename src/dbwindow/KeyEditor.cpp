#include "KeyEditor.h"

#include "tools/SecretClipboard.h"

#include "RichTextEdit.h"

#include <QClipboard>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QToolButton *makeCopyButton(const char *name, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(QStringLiteral("Copy"));
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

} // namespace

KeyEditor::KeyEditor(SecretClipboard &clipboard, QWidget *parent) : QWidget(parent), m_clipboard(clipboard)
{
    setObjectName(QStringLiteral("PnlKey"));
    m_lblText = new QLabel(QStringLiteral("Username/Description"), this);
    m_lblText->setObjectName(QStringLiteral("LblText"));
    m_edtUserName = new QLineEdit(this);
    m_edtUserName->setObjectName(QStringLiteral("EdtUserName"));
    m_btnCopyUserName = makeCopyButton("BtnCopyUserName", this);
    m_lblPassword = new QLabel(QStringLiteral("Password/PIN"), this);
    m_lblPassword->setObjectName(QStringLiteral("LblPassword"));
    m_edtPassword = new QLineEdit(this);
    m_edtPassword->setObjectName(QStringLiteral("EdtPassword"));
    m_btnCopy = makeCopyButton("BtnCopy", this);
    m_lblComment = new QLabel(QStringLiteral("Comment"), this);
    m_lblComment->setObjectName(QStringLiteral("LblComment"));
    m_rdtComment = new RichTextEdit(this);
    m_rdtComment->setObjectName(QStringLiteral("RdtComment"));
    m_lblText->setBuddy(m_edtUserName);
    m_lblPassword->setBuddy(m_edtPassword);
    m_lblComment->setBuddy(m_rdtComment);

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 2, 0, 0);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);
    grid->addWidget(m_lblText, 0, 0, 1, 2);
    grid->addWidget(m_edtUserName, 1, 0);
    grid->addWidget(m_btnCopyUserName, 1, 1);
    grid->addWidget(m_lblPassword, 2, 0, 1, 2);
    grid->addWidget(m_edtPassword, 3, 0);
    grid->addWidget(m_btnCopy, 3, 1);
    grid->addWidget(m_lblComment, 4, 0, 1, 2);
    grid->addWidget(m_rdtComment, 5, 0, 1, 2);
    grid->setRowStretch(5, 1);
    grid->setColumnStretch(0, 1);

    // textEdited fires for the user's changes only, never for setText.
    connect(m_edtUserName, &QLineEdit::textEdited, this, &KeyEditor::userNameEdited);
    connect(m_edtPassword, &QLineEdit::textEdited, this, &KeyEditor::passwordEdited);
    connect(m_btnCopy, &QToolButton::clicked, this, &KeyEditor::copyPassword);
    connect(m_btnCopyUserName, &QToolButton::clicked, this, &KeyEditor::copyUserName);
    m_edtPassword->installEventFilter(this);
    setHiddenPassword(true, false);
}

void KeyEditor::setUserName(const QString &text)
{
    m_edtUserName->setText(text);
    m_edtUserName->setCursorPosition(0);
}

void KeyEditor::setPassword(const QString &text)
{
    m_edtPassword->setText(text);
    m_edtPassword->setCursorPosition(0);
}

QString KeyEditor::userName() const
{
    return m_edtUserName->text();
}

QString KeyEditor::password() const
{
    return m_edtPassword->text();
}

void KeyEditor::applyPassword(const QString &text)
{
    if (text == m_edtPassword->text()) {
        return;
    }
    m_edtPassword->setText(text);
    emit passwordEdited(text);
}

void KeyEditor::setHiddenPassword(bool hide, bool editHidden)
{
    m_hide = hide;
    m_editHidden = editHidden;
    m_edtPassword->setEchoMode(hide ? QLineEdit::Password : QLineEdit::Normal);
    m_edtPassword->setReadOnly(hide && !editHidden);
}

void KeyEditor::copyPassword() const
{
    m_clipboard.copy(m_edtPassword->text());
}

void KeyEditor::copyUserName() const
{
    m_clipboard.copy(m_edtUserName->text());
}

void KeyEditor::updateHeights(int editHeight)
{
    const int height = std::max(23, editHeight);
    for (QWidget *widget : {static_cast<QWidget *>(m_edtUserName), static_cast<QWidget *>(m_edtPassword),
                            static_cast<QWidget *>(m_btnCopy), static_cast<QWidget *>(m_btnCopyUserName)}) {
        widget->setFixedHeight(height);
    }
}

bool KeyEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_edtPassword) {
        return QWidget::eventFilter(watched, event);
    }
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (m_hide && key->matches(QKeySequence::Copy)) {
            // A masked field refuses to copy its selection: the whole password goes.
            copyPassword();
            return true;
        }
        const bool ctrl = key->modifiers() & Qt::ControlModifier;
        const bool navigation = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab
            || key->key() == Qt::Key_Escape;
        if (opensDialog() && !ctrl && !navigation && !key->text().isEmpty()) {
            emit passwordDialogRequested(withTyped(key->text()));
            return true;
        }
    } else if (event->type() == QEvent::MouseButtonDblClick && opensDialog()) {
        emit passwordDialogRequested(m_edtPassword->text());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

QString KeyEditor::withTyped(const QString &typed) const
{
    QString text = m_edtPassword->text();
    const bool printable = std::all_of(typed.cbegin(), typed.cend(), [](QChar ch) { return ch.isPrint(); });
    if (!printable) {
        return text;
    }
    if (m_edtPassword->hasSelectedText()) {
        return text.replace(m_edtPassword->selectionStart(), m_edtPassword->selectionLength(), typed);
    }
    return text.insert(m_edtPassword->cursorPosition(), typed);
}
