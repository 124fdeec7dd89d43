#pragma once

#include "tools/PrintBlocks.h"
#include "tools/PrintPainter.h"

#include <QDialog>
#include <QImage>

#include <memory>

class ElementTree;
class LanguageStore;
class PagePrinter;
class PrintDocument;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QScrollArea;
class QToolButton;

// What the preview and the print commands print from a database.
struct PrintSource {
    const ElementTree *tree = nullptr;
    QString filePath;     // the database's file; its name is the title and names the job
    PrintOptions options; // "RichText" and "HidePass"
    QString fontFamily;   // the options dialog's font
    int fontHeight = 13;  // its height in pixels; sets the lines per page
    int selected = -1;    // the selected element's absolute index, -1 for none
};

// The print preview: one page of the chosen range at a time, drawn when shown, with the
// switches for borders, lines and page numbers, the title, zoom, navigation, the range
// ("Print selection", From, To), the printer setup and Print. The switches stay as the
// user left them between showings; everything else starts afresh at each showing.
class PrintPreviewWindow : public QDialog
{
    Q_OBJECT

public:
    PrintPreviewWindow(const LanguageStore &language, PagePrinter &printer, QWidget *parent = nullptr);
    ~PrintPreviewWindow() override;

    // Binds the preview to a database (its tree must stay unchanged while the preview
    // shows) and resets it: title, range all, zoom 1, page 1. showPreview then opens it.
    void setSource(const PrintSource &source);
    int showPreview();

    // The switches and the title as they stand.
    PrintStyle style() const;

    int currentPage() const { return m_page; }
    int pageCount() const;
    double zoom() const { return m_zoom; }
    const PrintDocument &document() const { return *m_document; }
    // The current page as drawn last.
    const QImage &pageImage() const { return m_image; }

    void zoomIn();
    void zoomOut();
    void showFirstPage();
    void showPreviousPage();
    void showNextPage();
    void showLastPage();
    // The range from the check box and the two lists, then page 1.
    void applyRangeChoice();
    // Printer setup; on OK the page's shape is taken again, zoom 1, page 1.
    void choosePrinter();
    // Prints the range's pages and closes (unless printing was cancelled).
    void printPages();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildLayout();
    void applyTexts();
    void fillRangeLists();
    void showPage(int page);
    void drawPage();

    const LanguageStore &m_language;
    PagePrinter &m_printer;
    PrintSource m_source;
    std::unique_ptr<PrintDocument> m_document;
    int m_page = 1;
    double m_zoom = 1.0;
    QImage m_image;

    QCheckBox *m_drawBorder = nullptr;
    QCheckBox *m_drawLines = nullptr;
    QCheckBox *m_pageNumbers = nullptr;
    QLineEdit *m_title = nullptr;
    QCheckBox *m_selection = nullptr;
    QWidget *m_selectionPanel = nullptr;
    QComboBox *m_from = nullptr;
    QComboBox *m_to = nullptr;
    QList<QToolButton *> m_hintButtons;
    QScrollArea *m_scroll = nullptr;
    QLabel *m_pageView = nullptr;
};
