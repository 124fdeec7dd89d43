#pragma once

#include "PrintLayout.h"

#include "document/ElementData.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class ElementNode;
class ElementTree;

// What each element prints: the title row with its path and the content rows by kind.
struct PrintOptions {
    bool richText = true;      // "RichText": stored texts read as rich text or through the small reader
    bool hidePasswords = true; // "HidePass": a key's password as one filled circle per character
};

// One element's block, ready to draw.
struct PrintBlock {
    QString path; // the names from the top level down, joined by " > "
    qint32 kind = KindFolder;
    // Folders, entries and files: the lines of the text. Keys: user name, password (masked
    // when asked), then the lines of the comment. Tables: one row per grid row.
    QStringList lines;
    QList<QStringList> cells; // tables: the grid rows, every column
    int columns = 0;          // tables: the grid's columns
    bool maskedPassword = false;

    int rowCount() const { return kind == KindTable ? int(cells.size()) : int(lines.size()); }
};

// The lines a text prints as: split at CR, LF and CR LF (counted once), empty lines
// dropped, each tab one space.
QStringList printLines(const QString &text);
// How many lines printLines gives for code-page text, without building them.
int printLineCount(QByteArrayView text);

// The plain text of a stored text: as the rich editor shows it with "RichText" on, else
// what the small reader keeps (nothing when it fails).
QString printPlainText(const QByteArray &stored, bool richText);

// One filled circle (U+25CF) per character of the password.
QString maskedPassword(qsizetype length);

PrintBlock printBlockOf(const ElementTree &tree, const ElementNode &node, const PrintOptions &options);
// The size of the element's block, cheaper than building it for plain texts.
PrintBlockSize printBlockSizeOf(const ElementNode &node, const PrintOptions &options);
