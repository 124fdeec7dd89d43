#pragma once

#include <QSize>
#include <QString>

#include <functional>
#include <memory>

class LanguageStore;
class PrintDocument;
class QPrinter;
class QWidget;
struct PrintStyle;

// Where printed pages go: the printer chosen in the printer setup, or, when no printer is
// installed (the usual case on many Linux desktops) or "print to file" was chosen there, a
// PDF file. Never an error: without a printer the user is asked for the file. A PDF is
// written like every file holding secrets: readable by its owner only, whole or not at all.
class PagePrinter
{
public:
    PagePrinter(const LanguageStore &language, QWidget *dialogParent);
    ~PagePrinter();

    QPrinter &printer() { return *m_printer; }
    // The printable area of a page, in the printer's pixels.
    QSize pageSize() const;

    // The printer setup dialog; true on OK.
    bool setUp(QWidget *parent);

    enum class Result { Printed, Cancelled, Failed };
    // Every page of the document as one job named jobName. A PDF's name is asked for (the
    // suggestion is the proposed file) unless the setup chose a file. A failure is shown.
    Result print(const PrintDocument &document, const PrintStyle &style, const QString &jobName,
                 const QString &suggestedPdf);

    // Asks for the PDF file; empty cancels. Tests answer without a dialog.
    using PdfPathAsker = std::function<QString(const QString &suggested)>;
    void setPdfPathAsker(PdfPathAsker asker) { m_askPdfPath = std::move(asker); }

    static bool printersInstalled();
    // The PDF file proposed for a print of the database at databasePath: in its folder (the
    // home folder for a database never saved), named after name without its extension.
    static QString proposedPdf(const QString &databasePath, const QString &name);

private:
    QString askPdfPath(const QString &suggested) const;
    bool writePdf(const QString &path, const PrintDocument &document, const PrintStyle &style,
                  const QString &jobName) const;

    const LanguageStore &m_language;
    QWidget *m_dialogParent;
    std::unique_ptr<QPrinter> m_printer;
    PdfPathAsker m_askPdfPath;
};
