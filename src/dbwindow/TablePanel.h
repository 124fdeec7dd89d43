#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QTableView;
class TableGridModel;
struct ElementData;

// The table editor (PnlTable): the grid StgTable over a TableGridModel and the bar
// PnlTableMode with the column, row and width boxes. For now it shows a table element's
// stored grid read-only; the boxes show the stored settings and are disabled until the
// grid can be edited.
class TablePanel final : public QWidget
{
    Q_OBJECT

public:
    explicit TablePanel(QWidget *parent = nullptr);

    TableGridModel *model() const { return m_model; }
    QTableView *grid() const { return m_stgTable; }
    QWidget *bar() const { return m_pnlTableMode; }

    // LoadTable: fills the grid from a table element's record (without a stream: a new
    // table, shown with the current size). With scrollToTop the grid starts at its first
    // row (another table than the last one).
    bool LoadTable(const ElementData &record, bool scrollToTop);

    // The default row height: the font height + 10, at least 20.
    void updateRowHeight(int fontHeight);

private:
    QComboBox *makeBox(const char *name, const QStringList &items);

    TableGridModel *m_model = nullptr;
    QTableView *m_stgTable = nullptr;
    QWidget *m_pnlTableMode = nullptr;
    QComboBox *m_cbbColumns = nullptr;
    QComboBox *m_cbbRows = nullptr;
    QComboBox *m_cbbWidth = nullptr;
};
