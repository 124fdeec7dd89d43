#pragma once

#include "editing/DatabaseDocument.h"

#include <QByteArray>
#include <QString>

#include <optional>

struct Invocation;

// A database opened to be changed from the command line: read into a document, changed
// through the document's element commands (the ones the windows use), written back
// atomically to its own file in the form it was read in, and never over a file another
// program changed meanwhile. Every failure is printed naming the file; the run then ends
// with ExitFailure and the file as it was.
class DatabaseChange
{
public:
    explicit DatabaseChange(const Invocation &invocation);

    // Asks for the password as the options say and reads the file; ExitOk or ExitFailure.
    int open();
    // Writes the change back; ExitOk or ExitFailure.
    int save();

    DatabaseDocument &document() { return m_document; }
    ElementTree &tree() { return m_document.tree(); }
    const QString &file() const { return m_file; }

    // The element PATH names (see findElementByPath); prints "FILE holds no element" when
    // there is none.
    ElementNode *element(const QString &path);
    // Prints "FILE: PATH: reason" and returns ExitFailure.
    int fail(const QString &path, const QString &reason) const;
    // text in the code page's bytes; nothing, with the reason printed, when the code page
    // cannot carry it. what names the text ("the comment").
    std::optional<QByteArray> codePageText(const QString &path, const QString &what, const QString &text) const;

private:
    const Invocation &m_invocation;
    QString m_file;
    DatabaseDocument m_document;
};
