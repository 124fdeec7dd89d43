#include "SortTexts.h"

namespace {

constexpr LanguageText kTexts[] = {
    {"Caption", "Sort data"},
    {"LblSortCriteria", "Sort criteria"},
    {"RadSortAscending", "Sort ascending"},
    {"RadSortDescending", "Sort descending"},
    {"LblSortColumn", "Sort by column"},
    {"LblSortRow", "Start sort at row"},
    {"LblSortEndRow", "End sort at row"},
    {"BtnOK", "OK"},
    {"BtnCancel", "Cancel"},
};

constexpr LanguageSection kSection{"FrmSort.", kTexts};

} // namespace

const LanguageSection &sortDialogTexts()
{
    return kSection;
}
