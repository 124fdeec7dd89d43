#pragma once

#include "tools/ExportElements.h"

#include <QFont>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class ChildActions;
class DatabaseDocument;
class ElementNode;
class MainServices;
class PagePrinter;
class PrintPreviewWindow;
class PropertiesDialog;
struct PrintSource;

// The File commands that hand an open database to a tool: "Properties", the five
// "Export" commands, "Print", "Print all" and "Print preview". They work on the
// DatabaseDocument (its tree, file path and password) and the element its view has
// selected; the text font comes from the settings as the database window's does. The
// dialogs are made on first use and kept while the commands live, so the preview's
// switches and the printer set up stay as the user left them.
class DatabaseToolCommands : public QObject
{
    Q_OBJECT

public:
    // What the commands ask of the view that shows the document: the element it has
    // selected (null: none), and that it puts edits still open into the tree.
    struct View {
        std::function<ElementNode *()> selectedElement;
        std::function<void()> commitPendingEdits;
    };

    DatabaseToolCommands(DatabaseDocument &document, MainServices &main, View view, QObject *parent = nullptr);
    ~DatabaseToolCommands() override;

    // Enables the actions of these commands and connects them (and so the main window's
    // tool-bar buttons that forward to them); each first commits the view's open edits,
    // so the tools show what the user sees.
    void connectTo(ChildActions &actions);

    // Properties of the database file.
    void showProperties();
    // Asks where (a file, or a folder for the file entries), then writes as the
    // command-line tool does; says which files could not be written.
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
    QFont textFont() const;
    ElementNode *selectedElement() const;
    QString askExportTarget(ExportVariant variant);
    void reportExport(const ExportResult &result);

    DatabaseDocument &m_document;
    MainServices &m_main;
    View m_view;
    std::unique_ptr<PagePrinter> m_printer;
    std::unique_ptr<PrintPreviewWindow> m_preview;
    std::unique_ptr<PropertiesDialog> m_properties;
};
