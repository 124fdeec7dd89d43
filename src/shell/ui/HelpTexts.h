#pragma once

#include "shell/LanguageSection.h"

#include <span>

// The help window's built-in English texts (section "FrmHelp."): its caption and
// button, and a summary of every menu command, keyed by the command's objectName. A
// command's text reads "Name (shortcut): what it does"; the part before the first ": "
// is shown as the command's name.
const LanguageSection &helpWindowTexts();

// The summary in the order shown: a group heading (its key) and the commands under it.
struct HelpGroup
{
    const char *headingKey;
    std::span<const char *const> commandKeys;
};

std::span<const HelpGroup> helpGroups();
