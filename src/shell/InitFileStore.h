#pragma once

#include <QByteArray>
#include <QString>

// The key/value text file behind the settings file (XML layout) and behind the small
// plain `key="value"` files (storage redirect, installation record, language list and
// language files). Texts are the code page's bytes; nothing is escaped or converted.
//
// Setting a key never replaces an earlier entry: each call appends one line, so a file
// is written by a fresh store that receives every key once (repeated keys form lists).
// Reading searches the body; get text starts at the beginning, get next continues where
// the previous successful search ended, and all searches share that one position.
class InitFileStore
{
public:
    enum Layout : quint8 { Plain = 0, Xml = 1 };

    // Files larger than this are refused by load: no file of the program comes near it,
    // and a damaged or hostile file is not read whole into memory.
    static constexpr qint64 MaxFileSize = 16 * 1024 * 1024;

    // Any layout byte other than 1 gives the plain layout.
    explicit InitFileStore(quint8 layout);

    bool isXml() const { return m_xml; }
    const QByteArray &rootName() const { return m_root; }
    const QByteArray &body() const { return m_body; }
    quint32 nextPosition() const { return m_next; }

    // XML layout only: names the root element and rebuilds header and footer.
    void setRoot(const QByteArray &name);

    bool load(const QString &path);
    bool parse(const QByteArray &text);
    QByteArray content() const;
    bool save(const QString &path) const;
    void clear();

    void setText(const QByteArray &key, const QByteArray &value);
    void setInteger(const QByteArray &key, int value);
    void setFlag(const QByteArray &key, bool value);

    QByteArray getText(const QByteArray &key, const QByteArray &defaultValue = {});
    int getInteger(const QByteArray &key, int defaultValue);
    bool getFlag(const QByteArray &key, bool defaultValue);
    QByteArray getNext(const QByteArray &key);

    // Reads text as C's atoi does (leading white space, a sign, digits; no digits gives
    // 0), but saturates at the int range instead of overflowing.
    static int toInteger(const QByteArray &text);

private:
    QByteArray search(const QByteArray &key, qsizetype from);
    QByteArray indent() const;

    bool m_xml;
    QByteArray m_root;
    QByteArray m_header;
    QByteArray m_footer;
    QByteArray m_body;
    qint32 m_level = 0;
    quint32 m_next = 0;
};
