#pragma once

#include "TableGridModel.h"

#include <QPoint>
#include <QWidget>

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QTableView;
struct ElementData;

// The table editor (PnlTable): the grid StgTable over a TableGridModel and the bar
// PnlTableMode with the column, row and width boxes. Cells are edited in place, the
// editor opening on the current cell and taking every key (Tab moves between cells);
// rows and columns are moved by dragging their numbers and resized at their edges.
//
// Every change the user makes (a key typed into a cell, a box, a moved row or column,
// a command of the pop-up menu) lands in the grid at once and is reported by
// gridChanged(), on which the window stores the table into its element: the element
// never lags behind what the grid shows.
class TablePanel final : public QWidget
{
    Q_OBJECT

public:
    explicit TablePanel(QWidget *parent = nullptr);

    TableGridModel *model() const { return m_model; }
    QTableView *grid() const { return m_stgTable; }
    QWidget *bar() const { return m_pnlTableMode; }
    QList<QComboBox *> boxes() const;
    // The pop-up menu of the grid (PopTable); the window fills it.
    void setPopupMenu(QMenu *menu) { m_popup = menu; }
    // Shows the pop-up menu at a point of the grid's viewport.
    void showPopup(const QPoint &pos);

    // loadTable: fills the grid from a table element's record (without a stream: a new
    // table, shown with the current size). With scrollToTop the grid starts at its first
    // row (another table than the last one). Reports no change.
    //
    // A stream that cannot be read makes the table damaged: the grid shows empty and takes
    // no change, and LblTableDamaged says why, so the stored bytes stay as they are. Only
    // "Clear all" (clearAll) ends that, on the user's purpose.
    bool loadTable(const ElementData &record, bool scrollToTop);
    bool isDamaged() const { return m_damaged; }

    // The default row height: the font height + 10, at least 20.
    void updateRowHeight(int fontHeight);

    // The top-left cell (column, row) of the selection, the current cell without one,
    // (0, 0) without either.
    QPoint selectionTopLeft() const;

    // The pop-up commands, at the selection's top-left cell.
    void clearAll();
    void clearRow();
    void clearColumn();
    void insertRow();
    void insertColumn();
    void removeRow();
    void removeColumn();

    // Any other change of the grid (a replace): runs operation and, when it reports a
    // change, shows it, keeping the current cell and the scroll position, and reports it.
    bool changeGrid(TableGridModel::Shape shape, const std::function<bool(TableGrid &)> &operation);
    // The grid becomes grid (an import), shown from its first cell, and the change reported.
    void replaceGrid(TableGrid grid);

    // Scrolls so that row is the top row (column the first column) shown, and selects the cell.
    void showFound(int column, int row, bool columnFirst);

signals:
    // The user changed the grid: the window stores the table.
    void gridChanged();
    // An in-place cell editor was made: the window puts the code-page rule on it.
    void cellEditorCreated(QLineEdit *editor);
    // The table shown became damaged, or no longer is.
    void damagedChanged(bool damaged);

private:
    QComboBox *makeBox(const char *name, const QStringList &items);
    void onBoxEdited(QComboBox *box, const QString &text);
    void onSectionMoved(Qt::Orientation orientation, int from, int to);
    void showBarTexts();
    void applyWidth();
    bool apply(TableGridModel::Shape shape, const std::function<bool(TableGrid &)> &operation, bool keepCurrent);
    void setDamaged(bool damaged);

    TableGridModel *m_model = nullptr;
    QTableView *m_stgTable = nullptr;
    QWidget *m_pnlTableMode = nullptr;
    QComboBox *m_cbbColumns = nullptr;
    QComboBox *m_cbbRows = nullptr;
    QComboBox *m_cbbWidth = nullptr;
    QWidget *m_pnlDamaged = nullptr;
    QMenu *m_popup = nullptr;
    // Set while the panel itself writes into the boxes or puts a moved section back.
    bool m_quiet = false;
    bool m_damaged = false;
};
