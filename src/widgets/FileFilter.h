#pragma once

#include <QString>

// A file-dialog filter in the program's texts ("Password file(*.kvdb)|*.kvdb|All files
// (*.*)|*.*": description and pattern pairs separated by "|") as a Qt file dialog takes
// it ("Password file(*.kvdb);;All files (*)"). Each description gets its pattern in
// parentheses unless it already shows it; "*.*" becomes "*".
QString QtFileFilter(const QString &filter);
