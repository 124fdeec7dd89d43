#include "GeneratorTexts.h"

namespace {

constexpr LanguageText kGeneratorTexts[] = {
    {"Caption", "Generate"},
    {"LblPassword", "Password"},
    {"LblLength", "Length"},
    {"ChkNumbers", "Use numbers"},
    {"ChkUpperCase", "Use uppercase characters"},
    {"ChkLowerCase", "Use lowercase characters"},
    {"ChkNonAlpha", "Use non alphanumeric characters"},
    {"BtnCancel", "Cancel"},
    {"BtnCopy", "Copy"},
    {"BtnOK", "OK"},
};

constexpr LanguageSection kGeneratorSection{"FrmGen.", kGeneratorTexts};

} // namespace

const LanguageSection &generatorTexts()
{
    return kGeneratorSection;
}
