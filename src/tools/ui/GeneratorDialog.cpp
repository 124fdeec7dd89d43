#include "GeneratorDialog.h"

#include "tools/SecretClipboard.h"
#include "GeneratorTexts.h"
#include "platform/CodePage.h"
#include "shell/LanguageStore.h"
#include "tools/RandomSource.h"
#include "tools/SecretClipboard.h"
#include "widgets/CodePageGuard.h"
#include "widgets/Icons.h"
#include "widgets/LanguageApplier.h"

#include <QCheckBox>
#include <QClipboard>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QVBoxLayout>

namespace {

template <typename T>
T *named(T *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

GeneratorDialog::GeneratorDialog(const LanguageStore &language, QWidget *parent)
    : QDialog(parent), m_language(language), m_random(std::make_unique<SystemRandomSource>())
{
    setObjectName(QStringLiteral("FrmGen"));
    m_password = named(new QLineEdit(this), "EdtPassword");
    m_password->setMinimumWidth(fontMetrics().averageCharWidth() * 28);
    guardCodePage(m_password, m_language);
    m_length = named(new QLineEdit(QStringLiteral("8"), this), "EdtLength");
    m_length->setMaxLength(3);
    m_numbers = named(new QCheckBox(this), "ChkNumbers");
    m_upperCase = named(new QCheckBox(this), "ChkUpperCase");
    m_lowerCase = named(new QCheckBox(this), "ChkLowerCase");
    m_nonAlpha = named(new QCheckBox(this), "ChkNonAlpha");
    for (QCheckBox *box : {m_numbers, m_upperCase, m_lowerCase, m_nonAlpha}) {
        box->setChecked(true);
    }
    m_generate = named(new QPushButton(this), "BtnGenerate");
    m_generate->setIcon(Icons::command(Icons::Command::Generate));
    m_ok = named(new QPushButton(this), "BtnOK");
    m_copy = named(new QPushButton(this), "BtnCopy");
    m_copy->setIcon(Icons::command(Icons::Command::Copy));
    m_cancel = named(new QPushButton(this), "BtnCancel");

    auto *fields = new QFormLayout;
    fields->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    auto *passwordLabel = named(new QLabel(this), "LblPassword");
    passwordLabel->setBuddy(m_password);
    fields->addRow(passwordLabel, m_password);
    auto *lengthLabel = named(new QLabel(this), "LblLength");
    lengthLabel->setBuddy(m_length);
    auto *lengthRow = new QHBoxLayout;
    lengthRow->addWidget(m_length);
    lengthRow->addStretch();
    fields->addRow(lengthLabel, lengthRow);

    auto *options = new QVBoxLayout;
    options->setSpacing(4);
    for (QCheckBox *box : {m_numbers, m_upperCase, m_lowerCase, m_nonAlpha}) {
        options->addWidget(box);
    }

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_generate);
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_copy);
    buttons->addWidget(m_cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addSpacing(4);
    layout->addLayout(options);
    layout->addSpacing(8);
    layout->addStretch();
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetMinimumSize);

    connect(m_generate, &QPushButton::clicked, this, &GeneratorDialog::generate);
    connect(m_copy, &QPushButton::clicked, this, &GeneratorDialog::copyPassword);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    setTabOrder(m_password, m_length);
    setTabOrder(m_length, m_numbers);
    setTabOrder(m_numbers, m_upperCase);
    setTabOrder(m_upperCase, m_lowerCase);
    setTabOrder(m_lowerCase, m_nonAlpha);
    setTabOrder(m_nonAlpha, m_generate);
    setTabOrder(m_generate, m_ok);
    setTabOrder(m_ok, m_copy);
    setTabOrder(m_copy, m_cancel);

    setCopyLayout(false);
    applyTexts();
    sizeLengthField();
}

GeneratorDialog::~GeneratorDialog() = default;

void GeneratorDialog::setCopyLayout(bool copy)
{
    m_copy->setVisible(copy);
    m_ok->setVisible(!copy);
    m_copy->setDefault(copy);
    m_ok->setDefault(!copy);
}

bool GeneratorDialog::copyLayout() const
{
    return !m_copy->isHidden();
}

int GeneratorDialog::execCopyLayout()
{
    setCopyLayout(true);
    const int result = exec();
    setCopyLayout(false);
    return result;
}

QByteArray GeneratorDialog::password() const
{
    return CodePage::fromUnicode(m_password->text());
}

PasswordClasses GeneratorDialog::classes() const
{
    return PasswordClasses{m_numbers->isChecked(), m_upperCase->isChecked(), m_lowerCase->isChecked(),
                           m_nonAlpha->isChecked()};
}

void GeneratorDialog::setRandomSource(std::unique_ptr<RandomSource> source)
{
    m_random = std::move(source);
}

void GeneratorDialog::generate()
{
    const PasswordClasses chosen = classes().orNumbers();
    m_numbers->setChecked(chosen.numbers);
    const int length = passwordLengthFromText(m_length->text());
    m_password->setText(CodePage::toUnicode(generatePassword(length, chosen, *m_random)));
}

void GeneratorDialog::copyPassword()
{
    if (m_clipboard) {
        m_clipboard->copy(m_password->text());
    } else {
        QGuiApplication::clipboard()->setText(m_password->text());
    }
    accept();
}

void GeneratorDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous()) {
        return; // restored from the task bar, not opened
    }
    applyTexts();
    generate();
    m_password->setFocus();
}

void GeneratorDialog::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        sizeLengthField();
    }
}

void GeneratorDialog::applyTexts()
{
    applyLanguageTexts(this, m_language, generatorTexts());
    m_generate->setText(m_language.uiText(generatorTexts(), "Caption"));
}

void GeneratorDialog::sizeLengthField()
{
    // Room for three digits and the frame, at any font size.
    const int digits = fontMetrics().horizontalAdvance(QStringLiteral("0000"));
    m_length->setFixedWidth(digits + 2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 12);
}
