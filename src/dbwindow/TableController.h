#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class ChildActions;
class DatabaseWindow;
class MainServices;
class SortDialog;
class TablePanel;

// The table editing of one database window: every change of the grid is stored into the
// selected table element as one change of the database; the grid's pop-up commands, sort
// data through the sort dialog, and CSV import and export.
class TableController : public QObject
{
    Q_OBJECT

public:
    TableController(DatabaseWindow &window, MainServices &main, TablePanel *panel, ChildActions &actions);

    // The grid into the selected table element (Modified now, the database modified).
    // False when no table is shown, or it is damaged.
    bool storeTable();
    // Sort data through the sort dialog; true when the table was sorted.
    bool sortData();
    // CSV import (with a progress dialog) and export of the shown table's grid.
    bool importCsv(const QString &path);
    bool exportCsv(const QString &path);
    SortDialog &sortDialog();
    // The language texts of the sort dialog, once it was made.
    void applyTexts();

private:
    void connectPopup(ChildActions &actions);
    void importCsvFromDialog();
    void exportCsvToDialog();
    QString childText(const char *key) const;
    QString mainText(const char *key) const;

    DatabaseWindow &m_window;
    MainServices &m_main;
    TablePanel *m_panel;
    QPointer<SortDialog> m_frmSort;
};
