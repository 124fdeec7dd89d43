#include "LanguageSections.h"

#include "HelpTexts.h"
#include "InfoTexts.h"
#include "OpenTexts.h"
#include "OptionsTexts.h"
#include "dbwindow/ChildTexts.h"
#include "dbwindow/SortTexts.h"
#include "shell/MainWindowTexts.h"
#include "tools/PropertiesTexts.h"
#include "tools/ui/GeneratorTexts.h"
#include "tools/ui/PasswordTexts.h"
#include "tools/ui/PrintTexts.h"
#include "widgets/CodePageGuard.h"

std::span<const LanguageSection *const> languageSections()
{
    static const LanguageSection *const sections[] = {
        &mainWindowTexts(), &mainWindowChildTexts(), &openMessageTexts(), &codePageGuardTexts(),
        &childWindowTexts(), &sortDialogTexts(),     &propertiesTexts(),  &generatorTexts(),
        &passwordTexts(),    &helpWindowTexts(),     &infoWindowTexts(),   &optionsTexts(),
        &printTexts(),
    };
    return sections;
}
