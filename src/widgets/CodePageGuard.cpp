#include "CodePageGuard.h"

#include "platform/CodePage.h"
#include "shell/LanguageStore.h"

#include <QLineEdit>
#include <QToolTip>

namespace {

constexpr LanguageText kGuardTexts[] = {
    {"m_aMCharNotStorable", "The character '%s' cannot be stored: it is not part of the Windows-1252 code page."},
};
constexpr LanguageSection kGuardSection{"FrmMain.", kGuardTexts};

} // namespace

QValidator::State CodePageValidator::validate(QString &input, int &) const
{
    qsizetype bad = -1;
    if (CodePage::canEncode(input, &bad)) {
        return Acceptable;
    }
    // A character outside the basic plane is two UTF-16 units: show both.
    const qsizetype length = input.at(bad).isHighSurrogate() && bad + 1 < input.size() ? 2 : 1;
    emit const_cast<CodePageValidator *>(this)->refused(input.mid(bad, length));
    return Invalid;
}

CodePageValidator *guardCodePage(QLineEdit *field, const LanguageStore &language)
{
    auto *validator = new CodePageValidator(field);
    field->setValidator(validator);
    QObject::connect(validator, &CodePageValidator::refused, field, [field, &language](const QString &character) {
        QToolTip::showText(field->mapToGlobal(QPoint(0, field->height())), codePageRefusal(language, character),
                           field);
    });
    return validator;
}

QString codePageRefusal(const LanguageStore &language, const QString &character)
{
    QString text = language.uiText(kGuardSection, "m_aMCharNotStorable");
    text.replace(QLatin1String("%s"), character);
    return text;
}

const LanguageSection &codePageGuardTexts()
{
    return kGuardSection;
}
