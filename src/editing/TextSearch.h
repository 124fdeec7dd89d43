#pragma once

#include <QChar>
#include <QStringView>

// Find text in the text editor's plain text, down or up, never wrapping around.
namespace TextSearch {

struct Options {
    bool down = true;
    bool matchCase = false;
    bool wholeWord = false;
};

// Where a search starts: the end of a non-empty selection, else the beginning of the
// text (not the caret).
qsizetype startPosition(qsizetype selectionStart, qsizetype selectionLength);

// Word characters for "whole word": letters, digits and the underscore. A whole-word hit
// has no word character right before it nor right after it.
bool isWordChar(QChar c);

// The position of the hit, or -1 when there is none. Down: the first hit at or after
// start. Up: the last hit that ends at least L characters before start (L = what's
// length): a search up from a selected hit thus finds the hit before it. A hit lies
// wholly inside the text searched; an empty what finds nothing. Without matchCase letters
// compare without regard to case.
qsizetype findText(QStringView text, QStringView what, qsizetype start, const Options &options);

} // namespace TextSearch
