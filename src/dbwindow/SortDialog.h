#pragma once

#include "editing/TableSort.h"

#include <QDialog>

class LanguageStore;
class QLineEdit;
class QRadioButton;

// "Sort data" of a table: order, column and the rows to sort, counted from 1. The fields
// keep what the user left in them from one showing to the next, except the end row,
// which each showing proposes afresh. A field that is not a number (or is 0) counts as 1.
class SortDialog final : public QDialog
{
    Q_OBJECT

public:
    explicit SortDialog(const LanguageStore &language, QWidget *parent = nullptr);

    // Shows the dialog modally with endRow in EdtEndSortRow; the request, or nothing
    // when it was cancelled.
    std::optional<TableSort::Request> ask(int endRow);
    // What the fields hold now.
    TableSort::Request request() const;

    void applyTexts();

private:
    const LanguageStore &m_language;
    QRadioButton *m_ascending = nullptr;
    QRadioButton *m_descending = nullptr;
    QLineEdit *m_column = nullptr;
    QLineEdit *m_startRow = nullptr;
    QLineEdit *m_endRow = nullptr;
};
