#include "ElementPath.h"

#include "document/ElementTree.h"
#include "platform/CodePage.h"

namespace {

constexpr QByteArrayView Separator = " > ";

const ElementNode *findBelow(const ElementTree &tree, const ElementNode *parent, QByteArrayView rest)
{
    const int count = tree.childCount(parent);
    for (int row = 0; row < count; ++row) {
        const ElementNode *child = tree.childAt(parent, row);
        const QByteArrayView name = child->name();
        if (!rest.startsWith(name)) {
            continue;
        }
        const QByteArrayView after = rest.sliced(name.size());
        if (after.isEmpty()) {
            return child;
        }
        if (after.startsWith(Separator)) {
            if (const ElementNode *found = findBelow(tree, child, after.sliced(Separator.size()))) {
                return found;
            }
        }
    }
    return nullptr;
}

} // namespace

const ElementNode *findElementByPath(const ElementTree &tree, const QString &path)
{
    bool ok = false;
    const QByteArray bytes = CodePage::fromUnicode(path, &ok);
    if (!ok || bytes.isEmpty()) {
        return nullptr;
    }
    return findBelow(tree, nullptr, bytes);
}

SplitPath splitLastName(const QString &path)
{
    const QLatin1StringView separator = PathSeparator;
    const qsizetype at = path.lastIndexOf(separator);
    if (at < 0) {
        return {QString(), path};
    }
    return {path.first(at), path.sliced(at + separator.size())};
}

QString shownPath(const ElementTree &tree, const ElementNode *node)
{
    QStringList names;
    for (const QByteArray &name : tree.pathOf(node)) {
        names += CodePage::toUnicode(name);
    }
    return names.join(PathSeparator);
}
