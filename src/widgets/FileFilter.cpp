#include "FileFilter.h"

#include <QStringList>

QString QtFileFilter(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts.at(i);
        QString patterns = parts.at(i + 1);
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        const QString qtPatterns = patterns == QLatin1String("*.*") ? QStringLiteral("*") : patterns;
        if (description.contains(QLatin1Char('(')) && description.contains(patterns)) {
            description.replace(QLatin1String("(") + patterns + QLatin1String(")"),
                                QLatin1String("(") + qtPatterns + QLatin1String(")"));
        } else {
            description += QLatin1String(" (") + qtPatterns + QLatin1String(")");
        }
        result.append(description);
    }
    return result.join(QLatin1String(";;"));
}

QString fileTypeFilter(QString pattern, const QString &extension)
{
    for (const QString &part : {extension.toUpper(), extension, extension}) {
        const qsizetype at = pattern.indexOf(QLatin1String("%s"));
        if (at < 0) {
            break;
        }
        pattern.replace(at, 2, part);
    }
    return pattern;
}
