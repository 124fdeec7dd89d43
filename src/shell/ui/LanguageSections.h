#pragma once

#include "shell/LanguageSection.h"

#include <span>

// Every table of built-in English texts the program looks its texts up in, with the
// section each belongs to. A language file is complete when it has a text for every key
// of every table here, so a window that brings a table of its own lists it here too.
std::span<const LanguageSection *const> languageSections();
