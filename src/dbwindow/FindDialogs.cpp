#include "FindDialogs.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <utility>

namespace {

template <typename W, typename... Args>
W *named(const char *name, Args &&...args)
{
    auto *widget = new W(std::forward<Args>(args)...);
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLabel *labelFor(const char *name, const char *text, QWidget *buddy, QWidget *parent)
{
    auto *label = named<QLabel>(name, QLatin1String(text), parent);
    label->setBuddy(buddy);
    return label;
}

// The buttons stand in a column on the right, as in the platforms' find dialogs.
QVBoxLayout *buttonColumn(const QList<QPushButton *> &buttons)
{
    auto *column = new QVBoxLayout;
    for (QPushButton *button : buttons) {
        column->addWidget(button);
    }
    column->addStretch(1);
    return column;
}

void prepareWindow(QDialog *dialog)
{
    dialog->setModal(false);
    dialog->setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    dialog->setSizeGripEnabled(false);
}

} // namespace

FindDialog::FindDialog(const QString &name, bool wholeWordShown, QWidget *parent) : QDialog(parent)
{
    setObjectName(name);
    prepareWindow(this);
    m_edtFindText = named<QLineEdit>("EdtFindText", this);
    m_edtFindText->setMinimumWidth(fontMetrics().averageCharWidth() * 28);
    m_chkMatchCase = named<QCheckBox>("ChkMatchCase", QStringLiteral("Match case"), this);
    m_chkWholeWord = named<QCheckBox>("ChkWholeWord", QStringLiteral("Match whole word only"), this);
    m_chkWholeWord->setVisible(wholeWordShown);
    m_grpDirection = named<QGroupBox>("GrpDirection", QStringLiteral("Direction"), this);
    m_radUp = named<QRadioButton>("RadUp", QStringLiteral("Up"), m_grpDirection);
    m_radDown = named<QRadioButton>("RadDown", QStringLiteral("Down"), m_grpDirection);
    m_radDown->setChecked(true);
    auto *directions = new QHBoxLayout(m_grpDirection);
    directions->addWidget(m_radUp);
    directions->addWidget(m_radDown);

    m_btnFindNext = named<QPushButton>("BtnFindNext", QStringLiteral("Find Next"), this);
    m_btnFindNext->setDefault(true);
    auto *cancel = named<QPushButton>("BtnFindCancel", QStringLiteral("Cancel"), this);
    connect(m_btnFindNext, &QPushButton::clicked, this, &FindDialog::findRequested);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_edtFindText, &QLineEdit::textChanged, this,
            [this](const QString &text) { m_btnFindNext->setEnabled(!text.isEmpty()); });
    m_btnFindNext->setEnabled(false);

    auto *textRow = new QHBoxLayout;
    textRow->addWidget(labelFor("LblFindText", "Find what:", m_edtFindText, this));
    textRow->addWidget(m_edtFindText, 1);
    auto *options = new QHBoxLayout;
    auto *checks = new QVBoxLayout;
    checks->addWidget(m_chkWholeWord);
    checks->addWidget(m_chkMatchCase);
    checks->addStretch(1);
    options->addLayout(checks, 1);
    options->addWidget(m_grpDirection);
    auto *left = new QVBoxLayout;
    left->addLayout(textRow);
    left->addLayout(options);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttonColumn({m_btnFindNext, cancel}));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString FindDialog::findText() const
{
    return m_edtFindText->text();
}

void FindDialog::setFindText(const QString &text)
{
    m_edtFindText->setText(text);
}

bool FindDialog::matchCase() const
{
    return m_chkMatchCase->isChecked();
}

bool FindDialog::wholeWord() const
{
    return !m_chkWholeWord->isHidden() && m_chkWholeWord->isChecked();
}

bool FindDialog::down() const
{
    return m_radDown->isChecked();
}

void FindDialog::setDown(bool down)
{
    (down ? m_radDown : m_radUp)->setChecked(true);
}

void FindDialog::showForSearch()
{
    show();
    raise();
    activateWindow();
    m_edtFindText->setFocus(Qt::OtherFocusReason);
    m_edtFindText->selectAll();
}

ReplaceDialog::ReplaceDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("RpdReplace"));
    prepareWindow(this);
    m_edtFindText = named<QLineEdit>("EdtFindText", this);
    m_edtFindText->setMinimumWidth(fontMetrics().averageCharWidth() * 28);
    m_edtReplaceText = named<QLineEdit>("EdtReplaceText", this);
    auto *findNext = named<QPushButton>("BtnFindNext", QStringLiteral("Find Next"), this);
    findNext->setDefault(true);
    auto *replace = named<QPushButton>("BtnReplace", QStringLiteral("Replace"), this);
    auto *replaceAll = named<QPushButton>("BtnReplaceAll", QStringLiteral("Replace All"), this);
    auto *cancel = named<QPushButton>("BtnFindCancel", QStringLiteral("Cancel"), this);
    connect(findNext, &QPushButton::clicked, this, &ReplaceDialog::findRequested);
    connect(replace, &QPushButton::clicked, this, &ReplaceDialog::replaceRequested);
    connect(replaceAll, &QPushButton::clicked, this, &ReplaceDialog::replaceAllRequested);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    const auto enable = [=](const QString &text) {
        for (QPushButton *button : {findNext, replace, replaceAll}) {
            button->setEnabled(!text.isEmpty());
        }
    };
    connect(m_edtFindText, &QLineEdit::textChanged, this, enable);
    enable(QString());

    auto *fields = new QFormLayout;
    fields->addRow(labelFor("LblFindText", "Find what:", m_edtFindText, this), m_edtFindText);
    fields->addRow(labelFor("LblReplaceText", "Replace with:", m_edtReplaceText, this), m_edtReplaceText);
    auto *left = new QVBoxLayout;
    left->addLayout(fields);
    left->addStretch(1);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttonColumn({findNext, replace, replaceAll, cancel}));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString ReplaceDialog::findText() const
{
    return m_edtFindText->text();
}

QString ReplaceDialog::replaceText() const
{
    return m_edtReplaceText->text();
}

void ReplaceDialog::setTexts(const QString &find, const QString &replace)
{
    m_edtFindText->setText(find);
    m_edtReplaceText->setText(replace);
}

void ReplaceDialog::showForSearch()
{
    show();
    raise();
    activateWindow();
    m_edtFindText->setFocus(Qt::OtherFocusReason);
    m_edtFindText->selectAll();
}
