#pragma once

#include <QString>

// A file-dialog filter in the program's texts ("Password file(*.kvdb)|*.kvdb|All files
// (*.*)|*.*": description and pattern pairs separated by "|") as a Qt file dialog takes
// it ("Password file(*.kvdb);;All files (*)"). Each description gets its pattern in
// parentheses unless it already shows it; "*.*" becomes "*".
QString QtFileFilter(const QString &filter);

// The filter of one file type from the program's pattern text ("%s-file (*%s)|*%s"): the
// three places take the upper-cased extension, then the extension twice (extensions
// include their dot: ".PDF-file (*.pdf)|*.pdf").
QString fileTypeFilter(QString pattern, const QString &extension);
