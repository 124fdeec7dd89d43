#pragma once

#include "shell/LanguageSection.h"

class LanguageStore;
class QWidget;

// Sets the texts of a window from one section of the language store: every object
// whose objectName the section lists gets its text (labels, buttons, check boxes,
// group boxes, tab pages, menus and actions), and the window its title from "Caption".
// Other windows parented to this one (dialogs) are left to their own sections.
//
// Menu actions with a shortcut in the section: the action's key sequence is set from
// the section (so the key works in every language), and its text is caption + TAB +
// the shortcut in the current language's words ("Strg+N"). A menu draws the part after
// the TAB as the shortcut column in place of the key sequence's own text; the icon text
// (a tool-bar button's label) is the caption alone. Tool-bar hints are the window's
// own business (the main window sets them from "FrmChild."). Each call
// builds every text from the English table and the current language afresh, so
// switching languages back and forth never piles up suffixes.
void applyLanguageTexts(QWidget *window, const LanguageStore &language, const LanguageSection &section);

// The caption part of an action's text (everything before the TAB).
QString captionOf(const QString &text);
