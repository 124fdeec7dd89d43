#pragma once

#include <QByteArray>

// A stored text (the code page's bytes) as UTF-8 for the terminal. Control characters
// other than tab and line feed become "?" (a text must not drive the terminal); CR LF
// line ends become LF, or stay as they are with keepLineEnds (text shown as stored).
QByteArray terminalText(const QByteArray &stored, bool keepLineEnds = false);
