#pragma once

#include "tools/ExportElements.h"

#include <QObject>
#include <QString>

#include <memory>

class MainServices;
class PagePrinter;
class PrintPreviewWindow;
class PropertiesDialog;
class TFrmVaultoChild;
struct PrintSource;

// The database window's File commands that hand the database to a tool: "Properties",
// the five "Export" commands, "Print", "Print all" and "Print preview". It connects the
// window's actions (and so the main window's tool-bar buttons that forward to them) and
// takes from the window only what the tools need: the element tree, the selected element,
// the file path, the password and the font. The dialogs are made on first use and kept
// while the window lives, so the preview's switches and the printer set up stay as the
// user left them. Every command first commits the window's open edits.
class DatabaseToolCommands : public QObject
{
    Q_OBJECT

public:
    DatabaseToolCommands(TFrmVaultoChild &window, MainServices &main);
    ~DatabaseToolCommands() override;

    // Properties of the database file; nothing while the program is locked.
    void showProperties();
    // Asks where (a file, or a folder for the file entries), then writes as the
    // command-line tool does; says which files could not be written. Nothing while locked.
    void exportElements(ExportVariant variant);
    // The selected element, straight to the printer (or a PDF without one).
    void print();
    // Every element, straight to the printer.
    void printAll();
    void showPrintPreview();

    PagePrinter &printer();
    PrintPreviewWindow &preview();
    PropertiesDialog &properties();

private:
    PrintSource printSource() const;
    QString askExportTarget(ExportVariant variant);
    void reportExport(const ExportResult &result);

    TFrmVaultoChild &m_window;
    MainServices &m_main;
    std::unique_ptr<PagePrinter> m_printer;
    std::unique_ptr<PrintPreviewWindow> m_preview;
    std::unique_ptr<PropertiesDialog> m_properties;
};
