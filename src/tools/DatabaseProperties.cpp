#include "DatabaseProperties.h"

#include "PropertiesTexts.h"

#include "document/ElementTree.h"
#include "platform/RegularFile.h"
#include "shell/LanguageStore.h"

#include <QFile>
#include <QFileInfo>

ElementCounts countElements(const ElementTree &tree)
{
    ElementCounts counts;
    for (const ElementNode *node = tree.firstRoot(); node; node = tree.nextInOrder(node)) {
        ++counts.all;
        switch (node->kind()) {
        case KindKey:
            ++counts.keys;
            break;
        case KindEntry:
            ++counts.entries;
            break;
        case KindFile:
            ++counts.files;
            break;
        case KindTable:
            ++counts.tables;
            break;
        default:
            ++counts.folders;
            break;
        }
    }
    return counts;
}

QString fileSizeText(qint64 bytes)
{
    // QString::number always writes a decimal point; the byte count is not cut to 32 bits.
    return QStringLiteral("%1 KB (%2 bytes)").arg(QString::number(double(bytes) / 1024.0, 'f', 2)).arg(bytes);
}

QString fileDateText(const QDateTime &time)
{
    return time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

FileFacts fileFactsOf(const QString &path)
{
    FileFacts facts;
    if (path.isEmpty()) {
        return facts;
    }
    const QFileInfo info(path);
    facts.fileName = info.fileName();
    facts.path = path;
    QFile file;
    if (!RegularFile::open(file, path)) {
        return facts;
    }
    facts.size = fileSizeText(file.size());
    facts.date = fileDateText(QFileInfo(path).lastModified());
    return facts;
}

QList<PropertiesLine> propertiesSummaryLines(const FileFacts &file, const QString &checksumItem,
                                             const QString &checksum, const ElementCounts &counts,
                                             const LanguageStore &language)
{
    const LanguageSection &texts = propertiesTexts();
    const auto caption = [&](const char *label) { return language.uiText(texts, label); };
    QList<PropertiesLine> lines{
        {caption("LblFilename"), file.fileName},
        {caption("LblPath"), file.path},
        {caption("LblFilesize"), file.size},
        {caption("LblFiledate"), file.date},
    };
    if (!checksum.isEmpty()) {
        lines.append({checksumItem, checksum});
    }
    lines.append({
        {caption("LblAllItems"), QString::number(counts.all)},
        {caption("LblEntryItems"), QString::number(counts.entries)},
        {caption("LblFolderItems"), QString::number(counts.folders)},
        {caption("LblFileItems"), QString::number(counts.files)},
        {caption("LblKeyItems"), QString::number(counts.keys)},
        {caption("LblTableItems"), QString::number(counts.tables)},
    });
    return lines;
}

QString propertiesSummaryText(const QList<PropertiesLine> &lines)
{
    QString text;
    for (const PropertiesLine &line : lines) {
        text += line.caption + QStringLiteral(" - ") + line.value + QStringLiteral("\r\n");
    }
    return text;
}
