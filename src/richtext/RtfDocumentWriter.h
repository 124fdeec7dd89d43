#pragma once

#include <QByteArray>

class QTextDocument;

// Writes a QTextDocument as RTF in the form a Windows rich edit writes and opens:
// "{\rtf1\ansi\ansicpg1252\deff0", a font table of the fonts used ("\fnil", their
// \fcharset), a colour table of the colours used (first entry "auto"), "\viewkind4\uc1",
// then each block as "\pard" with alignment and indents (written when they change),
// its runs with the character formats that change (\f \fs \cf \highlight \b \i \ul
// \strike and their off forms) and "\par" plus CR LF after every block. An empty
// document writes no paragraph. Text: ASCII as it is ('\', '{', '}' escaped), tabs as
// \tab, line breaks as \line, other characters of Windows-1252 as \'hh in fonts of the
// ANSI or default character set, every other character (and every non-ASCII one in a
// font of another character set) as \uN? with N the signed UTF-16 unit. List items get
// their marker as text; images and other objects are left out.
//
// The output depends only on the document: fonts and colours are numbered in the order
// of first use, so the same document always gives the same bytes, and reading the
// output back and writing it again gives the same bytes once more.
QByteArray writeRtfDocument(const QTextDocument &document);
