#include "SortDialog.h"

#include "SortTexts.h"
#include "shell/LanguageStore.h"
#include "widgets/LanguageApplier.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QLineEdit *numberField(const char *name, const QString &text, QWidget *parent)
{
    auto *field = new QLineEdit(text, parent);
    field->setObjectName(QLatin1String(name));
    // Room for seven digits at any font size.
    field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("00000000")) + 12);
    return field;
}

QLabel *label(const char *name, const char *text, QWidget *buddy, QWidget *parent)
{
    auto *label = new QLabel(QLatin1String(text), parent);
    label->setObjectName(QLatin1String(name));
    label->setBuddy(buddy);
    return label;
}

} // namespace

SortDialog::SortDialog(const LanguageStore &language, QWidget *parent) : QDialog(parent), m_language(language)
{
    setObjectName(QStringLiteral("FrmSort"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    m_ascending = new QRadioButton(QStringLiteral("Sort ascending"), this);
    m_ascending->setObjectName(QStringLiteral("RadSortAscending"));
    m_ascending->setChecked(true);
    m_descending = new QRadioButton(QStringLiteral("Sort descending"), this);
    m_descending->setObjectName(QStringLiteral("RadSortDescending"));
    m_column = numberField("EdtSortColumn", QStringLiteral("1"), this);
    m_startRow = numberField("EdtSortRow", QStringLiteral("1"), this);
    m_endRow = numberField("EdtEndSortRow", QStringLiteral("1"), this);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("BtnOK"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("BtnCancel"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *fields = new QFormLayout;
    fields->addRow(label("LblSortColumn", "Sort by column", m_column, this), m_column);
    fields->addRow(label("LblSortRow", "Start sort at row", m_startRow, this), m_startRow);
    fields->addRow(label("LblSortEndRow", "End sort at row", m_endRow, this), m_endRow);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label("LblSortCriteria", "Sort criteria", m_ascending, this));
    layout->addWidget(m_ascending);
    layout->addWidget(m_descending);
    layout->addSpacing(6);
    layout->addLayout(fields);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    applyTexts();
}

void SortDialog::applyTexts()
{
    applyLanguageTexts(this, m_language, sortDialogTexts());
}

TableSort::Request SortDialog::request() const
{
    TableSort::Request request;
    request.ascending = m_ascending->isChecked();
    request.column = TableSort::fieldValue(m_column->text());
    request.startRow = TableSort::fieldValue(m_startRow->text());
    request.endRow = TableSort::fieldValue(m_endRow->text());
    return request;
}

std::optional<TableSort::Request> SortDialog::ask(int endRow)
{
    applyTexts();
    m_endRow->setText(QString::number(endRow));
    if (QWidget *window = parentWidget() ? parentWidget()->window() : nullptr) {
        // The main window's font, in the system's text colour.
        setFont(window->font());
        adjustSize();
        move(window->frameGeometry().center() - rect().center());
    }
    m_column->setFocus(Qt::OtherFocusReason);
    m_column->selectAll();
    if (exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return request();
}
