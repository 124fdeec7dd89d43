#pragma once

#include "shell/LanguageSection.h"

#include <QValidator>

class LanguageStore;
class QLineEdit;

// Texts are stored as code-page bytes, so a field refuses what the code page cannot carry
// (a Cyrillic letter, an emoji) where it is typed or pasted, instead of storing it altered.
class CodePageValidator : public QValidator
{
    Q_OBJECT

public:
    using QValidator::QValidator;
    State validate(QString &input, int &pos) const override;

signals:
    // The first character of a refused input.
    void refused(const QString &character);
};

// Puts a CodePageValidator on the field; each refusal shows the reason in a tool tip
// under the field, in the current language ("FrmMain.m_aMCharNotStorable").
CodePageValidator *guardCodePage(QLineEdit *field, const LanguageStore &language);

// The localised reason shown for a refused character.
QString codePageRefusal(const LanguageStore &language, const QString &character);

// The reason's built-in English text ("FrmMain.").
const LanguageSection &codePageGuardTexts();
