#include "OpenTexts.h"

namespace {

constexpr LanguageText kTexts[] = {
    {"m_aMFileUnreadable", "The file cannot be read: "},
    {"m_aMNoDatabase", "The file holds no database: "},
    {"m_aMStartupFileMissing", "The file to open at startup does not exist: "},
};

constexpr LanguageSection kSection{"FrmMain.", kTexts};

} // namespace

const LanguageSection &openMessageTexts()
{
    return kSection;
}
