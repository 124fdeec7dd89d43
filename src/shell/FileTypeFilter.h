#pragma once

#include <QByteArray>
#include <QList>
#include <QRegularExpression>
#include <QString>

// The folder pane's file mask ("FileTypes"): patterns separated by ";", such as "*.kvdb"
// or "*.kvdb;*.jpg;*.png". A name is listed when it matches one pattern whole, with
// regard to case; "*.*" (or "*") lists every file, also files without an extension.
class FileTypeFilter
{
public:
    explicit FileTypeFilter(const QByteArray &fileTypes);

    bool accepts(const QString &fileName) const;

private:
    bool m_all = false;
    QList<QString> m_suffixes;            // patterns of the form "*.ext": ".ext"
    QList<QRegularExpression> m_patterns; // any other pattern
};
