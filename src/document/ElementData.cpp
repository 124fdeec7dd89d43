#include "ElementData.h"

#include "platform/Clock.h"

#include <climits>

qint32 selectedCodeFor(qint32 kind)
{
    return kind == KindFolder ? qint32(KindOpenFolder) : kind;
}

QByteArray timeText(const QDateTime &time)
{
    return time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toLatin1();
}

ElementData ElementData::fresh(const Clock &clock)
{
    ElementData data;
    data.Created = timeText(clock.now());
    data.Modified = data.Created;
    return data;
}

void ElementData::setBlob(QByteArray bytes)
{
    // The stored count is 32-bit; a Blob never reaches 2 GiB (its hex form would not fit
    // a table cell).
    BlobSize = bytes.size() > INT_MAX ? INT_MAX : qint32(bytes.size());
    Blob = std::move(bytes);
}

void ElementData::clearBlob()
{
    Blob.reset();
    BlobSize = 0;
}

void ElementData::touch(const Clock &clock)
{
    Modified = timeText(clock.now());
}
