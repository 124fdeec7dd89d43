#include "LanguageStore.h"

#include "MainWindowTexts.h"
#include "platform/CodePage.h"

#include <QFileInfo>

#include <algorithm>

LanguageStore::LanguageStore() : m_store(InitFileStore::Plain), m_name("English")
{
}

void LanguageStore::apply(const QString &path, const QByteArray &name, bool reload)
{
    m_name = name;
    if (!reload) {
        return;
    }
    m_store.clear();
    if (!path.isEmpty() && QFileInfo::exists(path) && !m_store.load(path)) {
        m_store.clear();
    }
}

void LanguageStore::loadFromText(const QByteArray &text)
{
    m_store.clear();
    if (!text.isEmpty()) {
        m_store.parse(text);
    }
    m_name.clear();
}

QByteArray LanguageStore::text(const QByteArray &fullKey, const QByteArray &english) const
{
    return m_store.getText(fullKey, english);
}

QByteArray LanguageStore::text(const LanguageSection &section, QByteArrayView key) const
{
    const QByteArray fullKey = QByteArray(section.prefix) + key.toByteArray();
    QByteArray result = text(fullKey, QByteArray(section.english(key)));
    if (const char *shortcut = section.shortcut(key)) {
        result += '\t' + shortcutText(shortcut);
    }
    return result;
}

QString LanguageStore::uiText(const LanguageSection &section, QByteArrayView key) const
{
    return CodePage::toUnicode(text(section, key));
}

std::optional<QString> LanguageStore::textForObject(const LanguageSection &section, const QString &objectName) const
{
    bool ok = false;
    const QByteArray key = CodePage::fromUnicode(objectName, &ok);
    if (!ok || key.isEmpty() || !section.english(key)) {
        return std::nullopt;
    }
    return uiText(section, key);
}

QByteArray LanguageStore::shortcutText(QByteArrayView shortcut) const
{
    const LanguageSection &main = mainWindowTexts();
    const QList<QByteArray> parts = shortcut.toByteArray().split('+');
    QByteArray result;
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
        const QByteArray &modifier = parts.at(i);
        const char *wordKey = modifier == "Shift" ? ShortcutWords::Shift
            : modifier == "Ctrl"                  ? ShortcutWords::Ctrl
            : modifier == "Alt"                   ? ShortcutWords::Alt
                                                  : nullptr;
        result += (wordKey ? text(main, wordKey) : modifier) + '+';
    }
    const QByteArray key = parts.isEmpty() ? QByteArray() : parts.last();
    const bool functionKey = key.size() > 1 && key.at(0) == 'F'
        && std::all_of(key.begin() + 1, key.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (functionKey) {
        result += text(main, ShortcutWords::Function) + key.mid(1);
    } else if (key == "Del") {
        result += text(main, ShortcutWords::Delete);
    } else if (key == "Ins") {
        result += text(main, ShortcutWords::Insert);
    } else {
        result += key;
    }
    return result;
}
