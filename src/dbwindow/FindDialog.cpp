#include "FindDialog.h"

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

#include "SearchDialogParts.h"

using namespace SearchDialogParts;

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
