#pragma once

#include "RtfContent.h"

#include <QByteArray>
#include <QString>

// The plain text a user sees in the editor for a stored text, RTF or not, for export,
// printing, search and the command-line tool. Uses the rich reader's core only, so it
// needs no QGuiApplication.
//
// A stored text that does not start with "{\rtf" (looksLikeRtf) is plain text and comes
// back unchanged (as Unicode: decoded from Windows-1252). For RTF, every paragraph mark
// and every \line gives one line feed ("\n", as rtfToText gives for \par); text after
// the last paragraph mark ends without one.
//
// Where rtfToText reads the same document otherwise: \line, \uN characters, the special
// characters (\emdash, \bullet, curly quotes as U+201C/U+201D rather than '"' ...),
// bytes in fonts of other code pages or of the document's \ansicpg, the codes of the
// Symbol and Wingdings fonts (read as the characters they show), tables (a tab between
// cells, a line feed per row, nested tables included), \sect and \page, footnote marks
// (\chftn), the bullets and numbers of old-style numbering ({\*\pn}), unstarred
// destinations rtfToText does not know (\object, \fldinst, \nonesttables ...), blanks
// before the document group and text after it, a text cut short (kept here, an error
// there), and text with "{\rtf" somewhere after its start (plain text here).

QString plainUnicodeTextOf(const QByteArray &stored);

// The same text as Windows-1252 bytes; characters the code page cannot carry become '?',
// as Windows writes them.
QByteArray plainTextOf(const QByteArray &stored);

// The plain text of already parsed RTF.
QString plainTextOfContent(const RtfContent &content);
