#include "UpdatePage.h"

#include "Version.h"

#include <QUrlQuery>

namespace UpdatePage {

QUrl url()
{
    QUrl page;
    page.setScheme(QStringLiteral("https"));
    page.setHost(QLatin1String(Host));
    page.setPath(QLatin1String(Path));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("lang"), QStringLiteral("ENG"));
    query.addQueryItem(QStringLiteral("progvers"), QLatin1String(Version::Number));
    page.setQuery(query);
    return page;
}

} // namespace UpdatePage
