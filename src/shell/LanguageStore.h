#pragma once

#include "InitFileStore.h"
#include "LanguageSection.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The one language store of the run: the entries of the current language file (plain
// layout), or nothing for the built-in English texts. Every window looks up its texts
// here as section prefix + key, with the built-in English text as the default; keys
// that are missing or empty in the file keep their English text. Since every lookup
// starts from the English table, applying English restores every text and shortcut
// texts are never appended twice.
class LanguageStore
{
public:
    LanguageStore();

    // Makes `name` the current language. With reload, the store is emptied and, when
    // the path names an existing file, loaded from it (a file that is missing or cannot
    // be read leaves the English texts under that name).
    void apply(const QString &path, const QByteArray &name, bool reload = true);
    void applyEnglish(const QByteArray &name = "English") { apply(QString(), name); }

    // "English" for the built-in texts; empty after loading a carried language text.
    const QByteArray &currentName() const { return m_name; }
    bool hasEntries() const { return !m_store.body().isEmpty(); }

    // The text of a full key ("FrmMain.MenFile") with its English default.
    QByteArray text(const QByteArray &fullKey, const QByteArray &english) const;

    // The text of a section's key, English from the section's table (empty when the
    // table lacks the key); a menu item with a shortcut gets TAB + its shortcut text.
    QByteArray text(const LanguageSection &section, QByteArrayView key) const;
    QString uiText(const LanguageSection &section, QByteArrayView key) const;

    // For windows that walk their controls: the text for a control's objectName, or
    // nothing when the section has no text for it (the control keeps its own).
    std::optional<QString> textForObject(const LanguageSection &section, const QString &objectName) const;

    // A shortcut such as "Ctrl+N", "Ctrl+Alt+F" or "F12" in the current language's
    // words ("Ctrl", "Alt", "F", ... from the main window's section).
    QByteArray shortcutText(QByteArrayView shortcut) const;

    // The store written as text, as a portable copy carries it, and loaded back from
    // such a text (the current language name becomes empty).
    QByteArray toText() const { return m_store.content(); }
    void loadFromText(const QByteArray &text);

private:
    // Lookups move the store's shared next position, which no caller here relies on.
    mutable InitFileStore m_store;
    QByteArray m_name;
};
