#pragma once

#include <QByteArray>
#include <QString>

// A stored text (the code page's bytes) as UTF-8 for the terminal. Control characters
// other than tab and line feed become "?" (a text must not drive the terminal); CR LF
// line ends become LF, or stay as they are with keepLineEnds (text shown as stored).
QByteArray terminalText(const QByteArray &stored, bool keepLineEnds = false);

// The same for text already in Unicode (the plain text of stored rich text), which
// reaches the terminal in full, whatever the code page could carry.
QByteArray terminalUnicodeText(QString text, bool keepLineEnds = false);
