#pragma once

#include "LanguageSection.h"

// The main window's built-in English texts (section "FrmMain."): menu captions,
// pop-up captions, the messages and words it keeps for every window, and the words
// shortcut texts are built from.
const LanguageSection &mainWindowTexts();

// The "FrmChild." texts the main window takes for its own controls (the password
// button, the tool-bar hints, the add-key drop-down and the tab menu's "Close").
const LanguageSection &mainWindowChildTexts();

// Which main-window control shows which "FrmChild." text, as caption or as hint. The
// add-key drop-down items and the tab menu's "Close" carry the object names given here.
struct BorrowedText
{
    enum Role { Caption, Hint };
    const char *control;
    const char *key;
    Role role;
};

std::span<const BorrowedText> mainWindowBorrowedTexts();

// Keys of the words shortcut texts are made of.
namespace ShortcutWords {
inline constexpr char Shift[] = "m_aMenScShift";
inline constexpr char Ctrl[] = "m_aMenScCtrl";
inline constexpr char Alt[] = "m_aMenScAlt";
inline constexpr char Delete[] = "m_aMenScDelete";
inline constexpr char Insert[] = "m_aMenScInsert";
inline constexpr char Function[] = "m_aMenScF";
} // namespace ShortcutWords
