#include "FileTypeFilter.h"

#include "platform/CodePage.h"

FileTypeFilter::FileTypeFilter(const QByteArray &fileTypes)
{
    const QStringList patterns = CodePage::toUnicode(fileTypes).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString &typed : patterns) {
        const QString pattern = typed.trimmed();
        if (pattern == QLatin1String("*.*") || pattern == QLatin1String("*")) {
            m_all = true;
            return;
        }
        const QString suffix = pattern.mid(1);
        // The common form takes a plain comparison of the name's end: the list of a
        // large folder fills without a pattern machine per name.
        if (pattern.startsWith(QLatin1String("*.")) && !suffix.contains(QLatin1Char('*'))
            && !suffix.contains(QLatin1Char('?')) && !suffix.contains(QLatin1Char('['))) {
            m_suffixes.append(suffix);
            continue;
        }
        // File names hold no "/", so the path form of the conversion fits.
        m_patterns.append(QRegularExpression(QRegularExpression::wildcardToRegularExpression(pattern)));
    }
}

bool FileTypeFilter::accepts(const QString &fileName) const
{
    if (m_all) {
        return true;
    }
    for (const QString &suffix : m_suffixes) {
        if (fileName.size() > suffix.size() && fileName.endsWith(suffix, Qt::CaseSensitive)) {
            return true;
        }
    }
    for (const QRegularExpression &pattern : m_patterns) {
        if (pattern.match(fileName).hasMatch()) {
            return true;
        }
    }
    return false;
}
