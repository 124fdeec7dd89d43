#pragma once

#include <QByteArray>
#include <QString>
#include <QTextEdit>

class QMenu;

// The link-aware text editor of the database window (RdtText, RdtComment). It passes a
// stored text between element and editor: with "RichText" on, RTF through the project's
// reader and writer (other text shows as plain text); with it off, the plain text that
// rtfToText makes of it, stored back as plain code-page text with CR LF line ends.
//
// Links (LinkDetection) are underlined for display only, never in the document, so the
// stored RTF does not change by being shown; a left click on one reports it.
//
// With "RichText" off the stored text is code-page bytes, so characters the code page
// cannot carry are refused where they are typed or pasted (inputRefused says which).
// With it on they are kept: RTF carries them as \u escapes.
//
// userEdited() fires for changes the user makes, never for loading.
class RichTextEdit final : public QTextEdit
{
    Q_OBJECT

public:
    explicit RichTextEdit(QWidget *parent = nullptr);

    // Replaces the content by stored, read as the mode says; the font is the editor's.
    void loadStored(const QByteArray &stored, bool richText);
    // The content in the stored form of the mode it was loaded in (or last set).
    QByteArray takeStored() const;
    bool richTextMode() const { return m_richText; }
    void setRichTextMode(bool richText) { m_richText = richText; }

    // The selected text as plain text (for "Copy (plain text)").
    QString selectedPlainText() const;

    // The pop-up menu shown on a right click (PopRdtText); the window fills it.
    void setPopupMenu(QMenu *menu) { m_popup = menu; }

    // The link at a document position, as the address to open; empty when none.
    QString linkAt(int position) const;

signals:
    void userEdited();
    void linkClicked(const QString &url);
    void inputRefused(const QString &offending);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    void underlineLinks();
    int positionAt(const QPoint &viewportPos) const;
    bool refuses(const QString &text);

    bool m_richText = true;
    bool m_loading = false;
    bool m_underlinePending = false;
    QMenu *m_popup = nullptr;
};
