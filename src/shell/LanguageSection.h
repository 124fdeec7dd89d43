#pragma once

#include <QByteArrayView>
#include <QString>

#include <span>

// One window's built-in English texts: its section prefix ("FrmMain.", "FrmChild.", ...)
// and a table of key -> English text, where a key is a control's objectName or a
// message key. Menu items with a shortcut list it ("Ctrl+N", "F12", "Ctrl+Alt+F",
// "Del"); their captions get the shortcut text appended, built from the localised
// modifier words. A window adds its section by defining two static arrays and one
// LanguageSection over them, next to its own code:
//
//     constexpr LanguageText kTexts[] = {{"BtnOK", "OK"}, {"m_aMSomething", "..."}};
//     constexpr ShortcutText kShortcuts[] = {{"MenSave", "Ctrl+S"}};
//     constexpr LanguageSection kChildTexts{"FrmChild.", kTexts, kShortcuts};
//
// and lists it in shell/ui/LanguageSections.cpp, against which the shipped language files
// are checked for completeness.
struct LanguageText
{
    const char *key;
    const char *english;
};

struct ShortcutText
{
    const char *key;
    const char *shortcut;
};

struct LanguageSection
{
    const char *prefix;
    std::span<const LanguageText> texts;
    std::span<const ShortcutText> shortcuts = {};

    // The English text of a key, or nullptr when the section has no such key.
    const char *english(QByteArrayView key) const
    {
        for (const LanguageText &text : texts) {
            if (key == QByteArrayView(text.key)) {
                return text.english;
            }
        }
        return nullptr;
    }

    const char *shortcut(QByteArrayView key) const
    {
        for (const ShortcutText &entry : shortcuts) {
            if (key == QByteArrayView(entry.key)) {
                return entry.shortcut;
            }
        }
        return nullptr;
    }
};
