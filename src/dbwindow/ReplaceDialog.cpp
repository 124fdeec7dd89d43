#include "ReplaceDialog.h"

#include "SearchDialogParts.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace SearchDialogParts;

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
