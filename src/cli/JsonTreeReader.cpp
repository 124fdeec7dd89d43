#include "JsonTreeReader.h"

#include "document/ElementTree.h"
#include "document/TreeTable.h"
#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "platform/SecureMemory.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QStringList>

#include <cmath>
#include <limits>

namespace {

QString kindName(qint32 kind)
{
    switch (kind) {
    case KindFolder:
        return QStringLiteral("folder");
    case KindEntry:
        return QStringLiteral("text entry");
    case KindKey:
        return QStringLiteral("key");
    case KindFile:
        return QStringLiteral("file");
    case KindTable:
        return QStringLiteral("table");
    default:
        return QStringLiteral("element of kind %1").arg(kind);
    }
}

bool isKind(qint64 kind)
{
    return kind == KindFolder || kind == KindEntry || kind == KindKey || kind == KindFile || kind == KindTable;
}

// One element as read from the JSON, texts already in the code page.
struct ImportedElement {
    QStringList names; // as given, for messages
    QList<QByteArray> path;
    qint32 kind = KindFolder;
    qint32 selected = KindOpenFolder;
    ElementData data;
};

// Reads the fields of one JSON element; the first problem goes to error.
class ElementReader
{
public:
    // now: the time text that an element without "created" or "modified" gets.
    ElementReader(const QJsonObject &object, const QByteArray &now) : m_object(object), m_now(now) {}

    bool read(ImportedElement &element, QString &error)
    {
        static const QSet<QString> known{QStringLiteral("path"),    QStringLiteral("kind"),
                                         QStringLiteral("selected"), QStringLiteral("content"),
                                         QStringLiteral("detail"),  QStringLiteral("comment"),
                                         QStringLiteral("blob"),    QStringLiteral("created"),
                                         QStringLiteral("modified")};
        // The path first, so that later messages can name the element.
        if (!readPath(element)) {
            error = m_error;
            return false;
        }
        for (auto it = m_object.begin(); it != m_object.end(); ++it) {
            if (!known.contains(it.key())) {
                error = QStringLiteral("unknown field \"%1\".").arg(it.key());
                return false;
            }
        }
        ElementData &data = element.data;
        const bool ok = readCodes(element) && readText(u"content", data.Content, {})
            && readText(u"detail", data.Detail, {}) && readText(u"comment", data.Comment, {})
            && readText(u"created", data.Created, m_now) && readText(u"modified", data.Modified, m_now)
            && readBlob(data);
        error = m_error;
        return ok;
    }

private:
    bool fail(QString message)
    {
        m_error = std::move(message);
        return false;
    }

    // The code page's bytes of text, or a message naming the field and the character.
    bool toCodePage(QStringView field, const QString &text, QByteArray &bytes)
    {
        bool ok = false;
        qsizetype bad = 0;
        bytes = CodePage::fromUnicode(text, &ok, &bad);
        if (ok) {
            return true;
        }
        const qsizetype length = text.at(bad).isHighSurrogate() && bad + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(bad, length);
        return fail(QStringLiteral("field \"%1\" holds \"%2\" (U+%3), which the code page (Windows-1252) cannot carry.")
                        .arg(field, character,
                             QString::number(character.toUcs4().value(0), 16).toUpper().rightJustified(4, u'0')));
    }

    bool readPath(ImportedElement &element)
    {
        const QJsonValue value = m_object.value(QStringLiteral("path"));
        if (value.isUndefined()) {
            return fail(QStringLiteral("field \"path\" is missing."));
        }
        const QJsonArray names = value.toArray();
        if (!value.isArray() || names.isEmpty()) {
            return fail(QStringLiteral("field \"path\" must be a list of names, the top level first."));
        }
        if (names.size() > ElementTree::MaxDepth) {
            return fail(QStringLiteral("field \"path\" names %1 levels; a database holds at most %2.")
                            .arg(names.size())
                            .arg(ElementTree::MaxDepth));
        }
        QStringList texts;
        for (const QJsonValue &name : names) {
            if (!name.isString()) {
                return fail(QStringLiteral("field \"path\" must be a list of names, the top level first."));
            }
            texts.append(name.toString());
        }
        element.names = texts;
        for (const QString &name : std::as_const(element.names)) {
            QByteArray bytes;
            if (!toCodePage(u"path", name, bytes)) {
                return false;
            }
            if (bytes.contains(TreeTable::PathSeparator)) {
                return fail(QStringLiteral("field \"path\": the name \"%1\" holds \"<>\", which separates the names"
                                           " of a path in the database file and cannot be stored.")
                                .arg(name));
            }
            element.path.append(std::move(bytes));
        }
        return true;
    }

    std::optional<qint32> wholeNumber(const QJsonValue &value)
    {
        if (!value.isDouble()) {
            return std::nullopt;
        }
        const double number = value.toDouble();
        if (number != std::floor(number) || number < std::numeric_limits<qint32>::min()
            || number > std::numeric_limits<qint32>::max()) {
            return std::nullopt;
        }
        return qint32(number);
    }

    bool readCodes(ImportedElement &element)
    {
        const QJsonValue kind = m_object.value(QStringLiteral("kind"));
        if (kind.isUndefined()) {
            return fail(QStringLiteral("field \"kind\" is missing."));
        }
        const std::optional<qint32> code = wholeNumber(kind);
        if (!code || !isKind(*code)) {
            return fail(QStringLiteral(
                "field \"kind\" must be 0 (folder), 2 (text entry), 3 (key), 4 (file) or 5 (table)."));
        }
        element.kind = *code;
        element.selected = selectedCodeFor(*code);
        const QJsonValue selected = m_object.value(QStringLiteral("selected"));
        if (selected.isUndefined()) {
            return true;
        }
        const std::optional<qint32> selectedCode = wholeNumber(selected);
        if (!selectedCode) {
            return fail(QStringLiteral("field \"selected\" must be a whole number."));
        }
        element.selected = *selectedCode;
        return true;
    }

    bool readText(QStringView field, QByteArray &bytes, const QByteArray &missing)
    {
        const QJsonValue value = m_object.value(field);
        if (value.isUndefined()) {
            bytes = missing;
            return true;
        }
        if (!value.isString()) {
            return fail(QStringLiteral("field \"%1\" must be a string.").arg(field));
        }
        return toCodePage(field, value.toString(), bytes);
    }

    bool readBlob(ElementData &data)
    {
        const QJsonValue value = m_object.value(QStringLiteral("blob"));
        if (value.isUndefined() || value.isNull()) {
            return true;
        }
        if (!value.isString()) {
            return fail(QStringLiteral("field \"blob\" must be base64 text or null."));
        }
        const QString text = value.toString();
        if (text.isEmpty()) {
            return true;
        }
        QByteArray::FromBase64Result decoded =
            QByteArray::fromBase64Encoding(text.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded) {
            return fail(QStringLiteral("field \"blob\" is not valid base64."));
        }
        data.setBlob(std::move(decoded.decoded));
        return true;
    }

    const QJsonObject &m_object;
    const QByteArray &m_now;
    QString m_error;
};

// Places the elements in the tree, creating the folders on their way.
class TreeBuilder
{
public:
    TreeBuilder(ElementTree &tree, const Clock &clock) : m_tree(tree), m_clock(clock) { m_tree.setSorted(false); }
    ~TreeBuilder() { m_tree.setSorted(true); }

    bool add(ImportedElement &element, int number, QString &error)
    {
        ElementNode *parent = nullptr;
        for (qsizetype i = 0; i + 1 < element.path.size(); ++i) {
            ElementNode *next = m_tree.findChild(parent, element.path[i]);
            if (!next) {
                next = m_tree.insertElement(parent, element.path[i], KindFolder, KindOpenFolder,
                                            ElementData::fresh(m_clock));
                m_placeholders.insert(next);
            } else if (!next->isFolder()) {
                error = QStringLiteral("\"%1\" is a %2, not a folder; only folders hold elements.")
                            .arg(element.names.first(i + 1).join(QStringLiteral(" > ")), kindName(next->kind()));
                return false;
            }
            parent = next;
        }
        ElementNode *existing = m_tree.findChild(parent, element.path.last());
        if (!existing) {
            ElementNode *node = m_tree.insertElement(parent, element.path.last(), element.kind, element.selected,
                                                     std::move(element.data));
            m_numbers.insert(node, number);
            return true;
        }
        if (!m_placeholders.contains(existing)) {
            error = QStringLiteral("element %1 has the same path; two siblings cannot share a name.")
                        .arg(m_numbers.value(existing));
            return false;
        }
        if (element.kind != KindFolder) {
            error = QStringLiteral("it is a %1, but elements inside it come before it; only folders hold elements.")
                        .arg(kindName(element.kind));
            return false;
        }
        m_placeholders.remove(existing);
        m_numbers.insert(existing, number);
        m_tree.replaceData(existing, std::move(element.data));
        m_tree.setCodes(existing, element.kind, element.selected);
        return true;
    }

private:
    ElementTree &m_tree;
    const Clock &m_clock;
    QSet<const ElementNode *> m_placeholders; // folders made for a path, still without their element
    QHash<const ElementNode *, int> m_numbers; // which element made each node
};

} // namespace

QString readTreeJson(QByteArray json, ElementTree &tree, const Clock &clock)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    SecureMemory::wipe(json);
    if (document.isNull()) {
        return QStringLiteral("not valid JSON (%1 at byte %2).").arg(parseError.errorString()).arg(parseError.offset);
    }
    const QJsonObject root = document.object();
    const QJsonValue elements = root.value(QStringLiteral("elements"));
    if (!document.isObject() || !elements.isArray() || root.size() != 1) {
        return QStringLiteral("the JSON must be an object {\"elements\":[...]} and nothing else.");
    }
    TreeBuilder builder(tree, clock);
    const QByteArray now = timeText(clock.now());
    int number = 0;
    for (const QJsonValue &value : elements.toArray()) {
        ++number;
        if (!value.isObject()) {
            return QStringLiteral("Element %1 is not an object.").arg(number);
        }
        const QJsonObject object = value.toObject();
        ImportedElement element;
        QString error;
        if (!ElementReader(object, now).read(element, error) || !builder.add(element, number, error)) {
            const QString name = element.names.isEmpty()
                ? QString()
                : QStringLiteral(" (\"%1\")").arg(element.names.join(QStringLiteral(" > ")));
            return QStringLiteral("Element %1%2: %3").arg(number).arg(name, error);
        }
    }
    return {};
}
