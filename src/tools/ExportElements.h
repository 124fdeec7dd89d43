#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class ElementNode;
class ElementTree;

// The four switches that make the five export commands.
struct ExportSwitches {
    bool filesOnly = false;   // write no document, only the attached files
    bool subfolders = false;  // each element's documents and files go to a sub-folder
                              // path made of its folder ancestors (a folder's own: its own)
    bool oneDocument = true;  // all exported elements in one document
    bool allElements = false; // every element, or only the selected one
};

// The five commands of the database window's "Export" menu.
enum class ExportVariant {
    Selected,              // "Export"
    All,                   // "Export all"
    AllAsFiles,            // "Export all as single files"
    AllAsFilesInFolders,   // "Export all as single files (create subfolders)"
    FileEntries,           // "Export all file entries"
};
ExportSwitches switchesFor(ExportVariant variant);

// What an export wrote. Nothing is ever reported to the user: a file that cannot be
// written is skipped and listed under failed.
struct ExportResult {
    QStringList documents; // documents written
    QStringList files;     // attached files written
    QStringList failed;    // paths that could not be written
    // Element or file names changed so that nothing is written outside the chosen folder
    // (see safePathComponent), as they were stored.
    QList<QByteArray> mendedNames;

    bool ok() const { return failed.isEmpty(); }
};

// Writes elements of tree (visited in absolute order) below folder: HTML documents, or
// plain text ones when extension is ".txt" in any letter case; baseName and extension
// name the documents (base + extension for one document, base + N + extension for the
// N-th element's own). fontName goes into every HTML cell. selected is the element the
// single-element variant exports (null: none). Attached files are written beside the
// documents in every variant, replacing files of the same name. Every file is written
// whole or not at all, readable by its owner only; the tree is never changed.
ExportResult exportElementsTo(const ElementTree &tree, const ElementNode *selected, const QString &folder,
                            const QString &baseName, const QString &extension, const QByteArray &fontName,
                            ExportSwitches switches);
