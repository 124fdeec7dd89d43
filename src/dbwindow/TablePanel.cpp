#include "TablePanel.h"

#include "TableGridModel.h"
#include "document/ElementData.h"
#include "platform/CodePage.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

TablePanel::TablePanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PnlTable"));
    m_model = new TableGridModel(this);
    m_stgTable = new QTableView(this);
    m_stgTable->setObjectName(QStringLiteral("StgTable"));
    m_stgTable->setModel(m_model);
    m_stgTable->setShowGrid(true);
    m_stgTable->setSelectionMode(QAbstractItemView::ContiguousSelection);
    m_stgTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_stgTable->setWordWrap(false);
    // A grid without fixed rows or columns: no headers.
    m_stgTable->horizontalHeader()->hide();
    m_stgTable->verticalHeader()->hide();
    m_stgTable->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_stgTable->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);

    m_pnlTableMode = new QWidget(this);
    m_pnlTableMode->setObjectName(QStringLiteral("PnlTableMode"));
    m_cbbColumns = makeBox("CbbTableColumns", {"1", "2", "5", "10", "15", "20"});
    m_cbbRows = makeBox("CbbTableRows", {"1", "2", "5", "10", "15", "20", "50", "100"});
    m_cbbWidth = makeBox("CbbTableWidth", {"40", "60", "80", "100", "120", "140", "160", "180", "200", ""});
    auto *bar = new QHBoxLayout(m_pnlTableMode);
    bar->setContentsMargins(4, 2, 4, 2);
    const std::pair<const char *, QComboBox *> boxes[] = {
        {"LblTableColumns", m_cbbColumns}, {"LblTableRows", m_cbbRows}, {"LblTableWidth", m_cbbWidth}};
    const char *texts[] = {"Columns", "Rows", "Width"};
    for (int i = 0; i < 3; ++i) {
        auto *label = new QLabel(QLatin1String(texts[i]), m_pnlTableMode);
        label->setObjectName(QLatin1String(boxes[i].first));
        label->setBuddy(boxes[i].second);
        bar->addWidget(label);
        bar->addWidget(boxes[i].second);
        bar->addSpacing(12);
    }
    bar->addStretch(1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_stgTable, 1);
    layout->addWidget(m_pnlTableMode);
    LoadTable(ElementData(), true);
}

QComboBox *TablePanel::makeBox(const char *name, const QStringList &items)
{
    auto *box = new QComboBox(m_pnlTableMode);
    box->setObjectName(QLatin1String(name));
    box->setEditable(true);
    box->addItems(items);
    box->setMinimumContentsLength(4);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    // Changing the grid comes with table editing.
    box->setEnabled(false);
    return box;
}

bool TablePanel::LoadTable(const ElementData &record, bool scrollToTop)
{
    const bool read = m_model->load(record);
    const TableElement::GridSettings &settings = m_model->grid().barTexts();
    m_cbbColumns->setCurrentText(CodePage::toUnicode(settings.columns));
    m_cbbRows->setCurrentText(CodePage::toUnicode(settings.rows));
    m_cbbWidth->setCurrentText(CodePage::toUnicode(settings.width));
    m_stgTable->horizontalHeader()->setDefaultSectionSize(m_model->grid().defaultWidth());
    if (scrollToTop) {
        m_stgTable->scrollToTop();
        m_stgTable->horizontalScrollBar()->setValue(0);
    }
    return read;
}

void TablePanel::updateRowHeight(int fontHeight)
{
    m_stgTable->verticalHeader()->setMinimumSectionSize(1);
    m_stgTable->verticalHeader()->setDefaultSectionSize(std::max(20, fontHeight + 10));
}
