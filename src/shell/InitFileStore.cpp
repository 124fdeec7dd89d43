#include "InitFileStore.h"

#include "platform/RegularFile.h"

#include <QSaveFile>

#include <limits>

namespace {

const QByteArray kCrLf("\r\n");
const QByteArray kUtf8ByteOrderMark("\xEF\xBB\xBF");

// In the plain layout a key counts only as a whole key: at the start of the body or
// after a line end, blank or the closing quote of an entry on the same line. Without
// this "Name" would be found inside the entry of "LanguageName".
bool startsPlainKey(const QByteArray &body, qsizetype at)
{
    if (at == 0) {
        return true;
    }
    const char before = body.at(at - 1);
    return before == '\n' || before == '\r' || before == ' ' || before == '\t' || before == '"';
}

} // namespace

InitFileStore::InitFileStore(quint8 layout) : m_xml(layout == Xml)
{
    setRoot("InitFile");
}

void InitFileStore::setRoot(const QByteArray &name)
{
    if (!m_xml) {
        return;
    }
    m_root = name;
    m_header = R"(<?xml version="1.0" encoding="utf-8"?>)" + kCrLf + '<' + m_root + '>' + kCrLf;
    m_footer = "</" + m_root + '>' + kCrLf;
}

bool InitFileStore::load(const QString &path)
{
    // Only regular files: a folder, a pipe or a device is never an init file.
    const std::optional<QByteArray> text = RegularFile::read(path, MaxFileSize);
    return text && !text->isEmpty() && parse(*text);
}

bool InitFileStore::parse(const QByteArray &raw)
{
    // The text ends at its first zero byte, as a C string would. An editor may have put a
    // UTF-8 byte-order mark before the first entry; it is no part of it.
    const qsizetype zero = raw.indexOf('\0');
    QByteArray text = zero < 0 ? raw : raw.left(zero);
    if (text.startsWith(kUtf8ByteOrderMark)) {
        text.remove(0, kUtf8ByteOrderMark.size());
    }
    if (!m_xml) {
        m_body = text;
        m_next = 0;
        return true;
    }
    const qsizetype prolog = text.indexOf("?>");
    const qsizetype open = prolog < 0 ? -1 : text.indexOf('<', prolog + 2);
    const qsizetype close = open < 0 ? -1 : text.indexOf('>', open + 1);
    if (close < 0) {
        setRoot("InitFile");
        return false;
    }
    setRoot(text.mid(open + 1, close - open - 1));
    qsizetype start = close + 1;
    if (start < text.size() && text.at(start) == '\r') {
        ++start;
    }
    if (start < text.size() && text.at(start) == '\n') {
        ++start;
    }
    const qsizetype end = text.indexOf("</" + m_root + '>', start);
    if (end < 0) {
        return false;
    }
    m_body = text.mid(start, end - start);
    m_next = 0;
    return true;
}

QByteArray InitFileStore::content() const
{
    return m_header + m_body + m_footer;
}

bool InitFileStore::save(const QString &path) const
{
    // Written beside the old file and renamed into place, so a full disk or a crash
    // never leaves half a settings file behind.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    const QByteArray text = content();
    if (file.write(text) != text.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

void InitFileStore::clear()
{
    m_body.clear();
    m_next = 0;
}

QByteArray InitFileStore::indent() const
{
    return QByteArray("  ").repeated(m_xml ? m_level + 1 : m_level);
}

void InitFileStore::setText(const QByteArray &key, const QByteArray &value)
{
    if (m_xml) {
        m_body += indent() + '<' + key + '>' + value + "</" + key + '>' + kCrLf;
    } else {
        m_body += indent() + key + "=\"" + value + '"' + kCrLf;
    }
}

void InitFileStore::setInteger(const QByteArray &key, int value)
{
    setText(key, QByteArray::number(value));
}

void InitFileStore::setFlag(const QByteArray &key, bool value)
{
    setText(key, value ? "1" : "0");
}

QByteArray InitFileStore::search(const QByteArray &key, qsizetype from)
{
    if (from > m_body.size()) {
        return {};
    }
    if (m_xml) {
        const QByteArray opening = '<' + key + '>';
        const QByteArray closing = "</" + key + '>';
        const qsizetype open = m_body.indexOf(opening, from);
        if (open < 0) {
            return {};
        }
        const qsizetype valueStart = open + opening.size();
        const qsizetype close = m_body.indexOf(closing, valueStart);
        if (close < 0) {
            return {};
        }
        m_next = quint32(close + closing.size());
        return m_body.mid(valueStart, close - valueStart);
    }
    const QByteArray opening = key + "=\"";
    for (qsizetype open = m_body.indexOf(opening, from); open >= 0;
         open = m_body.indexOf(opening, open + 1)) {
        if (!startsPlainKey(m_body, open)) {
            continue;
        }
        // The value runs to its closing quote, over line ends if need be (as the Windows
        // program reads it).
        const qsizetype valueStart = open + opening.size();
        const qsizetype close = m_body.indexOf('"', valueStart);
        if (close < 0) {
            return {};
        }
        m_next = quint32(close + 1);
        return m_body.mid(valueStart, close - valueStart);
    }
    return {};
}

QByteArray InitFileStore::getText(const QByteArray &key, const QByteArray &defaultValue)
{
    const QByteArray value = search(key, 0);
    return value.isEmpty() ? defaultValue : value;
}

int InitFileStore::getInteger(const QByteArray &key, int defaultValue)
{
    const QByteArray value = search(key, 0);
    return value.isEmpty() ? defaultValue : toInteger(value);
}

bool InitFileStore::getFlag(const QByteArray &key, bool defaultValue)
{
    const QByteArray value = search(key, 0);
    return value.isEmpty() ? defaultValue : toInteger(value) == 1;
}

QByteArray InitFileStore::getNext(const QByteArray &key)
{
    return search(key, qsizetype(m_next));
}

int InitFileStore::toInteger(const QByteArray &text)
{
    qsizetype i = 0;
    const auto isSpace = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    while (i < text.size() && isSpace(text.at(i))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text.at(i) == '+' || text.at(i) == '-')) {
        negative = text.at(i) == '-';
        ++i;
    }
    constexpr qint64 limit = qint64(std::numeric_limits<int>::max()) + 1;
    qint64 value = 0;
    for (; i < text.size() && text.at(i) >= '0' && text.at(i) <= '9'; ++i) {
        value = qMin(value * 10 + (text.at(i) - '0'), limit);
    }
    if (negative) {
        return int(-value);
    }
    return int(qMin(value, limit - 1));
}
