#include "RichTextEdit.h"

#include "platform/CodePage.h"
#include "richtext/LinkDetection.h"
#include "richtext/RtfDocumentReader.h"
#include "richtext/RtfDocumentWriter.h"
#include "richtext/RtfToText.h"

#include <QAbstractTextDocumentLayout>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>

RichTextEdit::RichTextEdit(QWidget *parent) : QTextEdit(parent)
{
    setTabChangesFocus(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setMouseTracking(true);
    connect(document(), &QTextDocument::contentsChanged, this, [this] {
        if (m_loading) {
            return; // loadStored underlines once the new text is in
        }
        // The underline waits until the document has finished changing. Replacing the
        // extra selections frees their cursors, and a document that is being cleared (a
        // new text set) holds its cursors aside meanwhile and puts them back afterwards,
        // freed ones included: the heap then breaks at a later edit.
        if (!m_underlinePending) {
            m_underlinePending = true;
            QMetaObject::invokeMethod(this, [this] {
                m_underlinePending = false;
                underlineLinks();
            }, Qt::QueuedConnection);
        }
        emit userEdited();
    });
}

void RichTextEdit::loadStored(const QByteArray &stored, bool richText)
{
    m_loading = true;
    m_richText = richText;
    setAcceptRichText(richText);
    if (richText) {
        readRtfDocument(stored, *document());
    } else {
        const RtfToTextResult plain = rtfToText(stored);
        QString text = plain.usable() ? CodePage::toUnicode(plain.text) : QString();
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        setPlainText(text);
    }
    document()->setModified(false);
    moveCursor(QTextCursor::Start);
    m_loading = false;
    underlineLinks();
}

QByteArray RichTextEdit::takeStored() const
{
    if (m_richText) {
        return writeRtfDocument(*document());
    }
    QString text = toPlainText();
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    bool ok = false;
    QByteArray bytes = CodePage::fromUnicode(text, &ok);
    if (ok) {
        return bytes;
    }
    // Input is refused before it gets here; what slipped through becomes '?', as the
    // code page's own conversion writes it.
    bytes.clear();
    for (const QChar ch : std::as_const(text)) {
        const int byte = CodePage::byteFor(ch.unicode());
        bytes.append(byte >= 0 ? char(byte) : '?');
    }
    return bytes;
}

QString RichTextEdit::selectedPlainText() const
{
    QString text = textCursor().selectedText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    text.replace(QChar::Nbsp, QLatin1Char(' '));
    return text;
}

QString RichTextEdit::linkAt(int position) const
{
    if (position < 0) {
        return {};
    }
    const QString text = toPlainText();
    const std::optional<LinkRange> range = findLinkAt(text, position);
    return range ? linkUrl(text, *range) : QString();
}

bool RichTextEdit::refuses(const QString &text)
{
    if (m_richText) {
        return false;
    }
    qsizetype bad = -1;
    if (CodePage::canEncode(text, &bad)) {
        return false;
    }
    // A character outside the basic plane is two UTF-16 units: name it whole.
    const qsizetype length = text.at(bad).isHighSurrogate() && bad + 1 < text.size() ? 2 : 1;
    emit inputRefused(text.mid(bad, length));
    return true;
}

void RichTextEdit::keyPressEvent(QKeyEvent *event)
{
    if (!isReadOnly() && !event->text().isEmpty() && refuses(event->text())) {
        event->accept();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

void RichTextEdit::inputMethodEvent(QInputMethodEvent *event)
{
    if (!event->commitString().isEmpty() && refuses(event->commitString())) {
        QInputMethodEvent cleared(event->preeditString(), event->attributes());
        QTextEdit::inputMethodEvent(&cleared);
        return;
    }
    QTextEdit::inputMethodEvent(event);
}

bool RichTextEdit::canInsertFromMimeData(const QMimeData *source) const
{
    return m_richText ? QTextEdit::canInsertFromMimeData(source) : source->hasText();
}

void RichTextEdit::insertFromMimeData(const QMimeData *source)
{
    if (m_richText) {
        QTextEdit::insertFromMimeData(source);
        return;
    }
    const QString text = source->text();
    if (text.isEmpty() || refuses(text)) {
        return;
    }
    textCursor().insertText(text);
    ensureCursorVisible();
}

int RichTextEdit::positionAt(const QPoint &viewportPos) const
{
    const QPoint documentPos = viewportPos + QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
    return document()->documentLayout()->hitTest(documentPos, Qt::ExactHit);
}

void RichTextEdit::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        const int position = positionAt(event->position().toPoint());
        const QString text = toPlainText();
        if (const std::optional<LinkRange> range = position >= 0 ? findLinkAt(text, position) : std::nullopt) {
            // As a rich edit does: the link's text becomes the selection, then it is opened.
            QTextCursor cursor(document());
            cursor.setPosition(int(range->start));
            cursor.setPosition(int(range->end()), QTextCursor::KeepAnchor);
            setTextCursor(cursor);
            event->accept();
            emit linkClicked(linkUrl(text, *range));
            return;
        }
    }
    QTextEdit::mousePressEvent(event);
}

void RichTextEdit::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() == Qt::NoButton) {
        const bool overLink = !linkAt(positionAt(event->position().toPoint())).isEmpty();
        viewport()->setCursor(overLink ? Qt::PointingHandCursor : Qt::IBeamCursor);
    }
    QTextEdit::mouseMoveEvent(event);
}

void RichTextEdit::contextMenuEvent(QContextMenuEvent *event)
{
    if (!m_popup) {
        QTextEdit::contextMenuEvent(event);
        return;
    }
    // The menu's items act on the editor it was opened over.
    m_popup->setProperty("editor", QVariant::fromValue<QObject *>(this));
    m_popup->exec(event->globalPos());
}

void RichTextEdit::underlineLinks()
{
    const QString text = toPlainText();
    QList<ExtraSelection> selections;
    for (const LinkRange &range : findLinks(text)) {
        ExtraSelection selection;
        selection.cursor = QTextCursor(document());
        selection.cursor.setPosition(int(range.start));
        selection.cursor.setPosition(int(range.end()), QTextCursor::KeepAnchor);
        selection.format.setFontUnderline(true);
        selection.format.setForeground(palette().link());
        selections.append(selection);
    }
    setExtraSelections(selections);
}
