#pragma once

#include "FailingDevice.h"

#include "document/DatabaseFile.h"
#include "document/ElementTree.h"

#include <QRandomGenerator>
#include <QString>

namespace vaultbase::test {

// Bytes 1-255 (a NUL is no text byte), high code-page bytes often.
inline QByteArray randomText(QRandomGenerator &random, int maxLength)
{
    QByteArray text;
    const int length = random.bounded(0, maxLength + 1);
    for (int i = 0; i < length; ++i) {
        text.append(char(random.bounded(2) ? random.bounded(0x80, 0x100) : random.bounded(1, 0x80)));
    }
    return text;
}

// A name the path text can carry: anything but the separator "<>".
inline QByteArray randomName(QRandomGenerator &random)
{
    QByteArray name = randomText(random, 12);
    name.replace("<>", "<_>");
    return name;
}

// At least one byte: a Blob of none comes back as no Blob (the format stores a Blob only
// with a count above 0).
inline QByteArray randomBlob(QRandomGenerator &random)
{
    QByteArray blob;
    const int length = random.bounded(1, 64);
    for (int i = 0; i < length; ++i) {
        const int pick = random.bounded(4);
        blob.append(pick == 0 ? '\0' : pick == 1 ? '\xff' : char(random.bounded(256)));
    }
    return blob;
}

// Every kind, nested folders, unique names among siblings, texts and blobs of all bytes.
inline void fillRandomTree(ElementTree &tree, quint32 seed, int elements)
{
    QRandomGenerator random(seed);
    static constexpr qint32 kinds[] = {KindFolder, KindEntry, KindKey, KindFile, KindTable};
    QList<ElementNode *> folders{nullptr};
    for (int i = 0; i < elements; ++i) {
        const qint32 kind = kinds[random.bounded(5)];
        ElementData data;
        data.Content = randomText(random, 40);
        data.Detail = randomText(random, 20);
        data.Comment = randomText(random, 20);
        data.Created = "2024-01-0" + QByteArray::number(random.bounded(1, 10)) + " 10:00:00";
        data.Modified = "2024-02-0" + QByteArray::number(random.bounded(1, 10)) + " 11:30:59";
        if ((kind == KindFile || kind == KindTable) && random.bounded(4) != 0) {
            data.setBlob(randomBlob(random));
        }
        ElementNode *parent = folders[random.bounded(folders.size())];
        ElementNode *node = tree.insertElement(parent, randomName(random), kind, selectedCodeFor(kind), data);
        tree.setName(node, tree.makeUniqueName(node, true));
        if (kind == KindFolder) {
            folders.append(node);
        }
    }
}

// Empty when both trees hold the same elements in the same order; else the first difference.
inline QString treeDifference(const ElementTree &a, const ElementTree &b)
{
    if (a.count() != b.count()) {
        return QStringLiteral("counts %1 and %2").arg(a.count()).arg(b.count());
    }
    const ElementNode *x = a.firstRoot();
    const ElementNode *y = b.firstRoot();
    for (int index = 0; x && y; ++index, x = a.nextInOrder(x), y = b.nextInOrder(y)) {
        const QString where = QStringLiteral("element %1 (%2)").arg(index).arg(QString::fromLatin1(x->name().toHex()));
        if (a.pathOf(x) != b.pathOf(y)) {
            return where + QStringLiteral(": path");
        }
        if (x->kind() != y->kind() || x->selectedCode() != y->selectedCode()) {
            return where + QStringLiteral(": codes");
        }
        if (!(x->data() == y->data())) {
            return where + QStringLiteral(": data");
        }
    }
    return {};
}

// A binary save to path through a device that fails after budget bytes.
inline bool saveFailing(const ElementTree &tree, const QString &path, QByteArrayView password, qint64 budget)
{
    return SecretFile::write(path, [&](QIODevice &out) {
        FailingDevice device(out, budget);
        return writeDatabase(tree, device, password, true);
    });
}

} // namespace vaultbase::test
