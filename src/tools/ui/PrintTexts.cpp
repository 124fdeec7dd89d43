#include "PrintTexts.h"

namespace {

constexpr LanguageText kPrintTexts[] = {
    {"Caption", "Print preview"},
    {"ChkDrawBorder", "Draw border"},
    {"ChkDrawLines", "Draw lines"},
    {"ChkPages", "Add page numbers"},
    {"LblTitle", "Title"},
    {"BtnPrinter", "Printer"},
    {"BtnZoomIn", "Zoom in"},
    {"BtnZoomOut", "Zoom out"},
    {"BtnFirst", "First page"},
    {"BtnPrev", "Previous page"},
    {"BtnNext", "Next page"},
    {"BtnLast", "Last page"},
    {"ChkSelection", "Print selection"},
    {"LblFrom", "From"},
    {"LblTo", "To"},
    {"BtnPrint", "Print"},
    {"BtnOK", "OK"},
    // Printing without a printer, into a PDF file.
    {"m_aMPdfFilter", "PDF files (*.pdf)|*.pdf"},
    {"m_aMPrintFailed", "The pages could not be written to "},
};

constexpr LanguageSection kPrintSection{"FrmPrint.", kPrintTexts};

} // namespace

const LanguageSection &printTexts()
{
    return kPrintSection;
}
