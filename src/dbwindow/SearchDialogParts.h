#pragma once

#include <QDialog>
#include <QLabel>
#include <QList>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

// The pieces the find and replace dialogs are built from: named controls, labels with
// their buddies, a column of buttons, and the window flags of a tool dialog.
namespace SearchDialogParts {

template <typename W, typename... Args>
inline W *named(const char *name, Args &&...args)
{
    auto *widget = new W(std::forward<Args>(args)...);
    widget->setObjectName(QLatin1String(name));
    return widget;
}

inline QLabel *labelFor(const char *name, const char *text, QWidget *buddy, QWidget *parent)
{
    auto *label = named<QLabel>(name, QLatin1String(text), parent);
    label->setBuddy(buddy);
    return label;
}

// The buttons stand in a column on the right, as in the platforms' find dialogs.
inline QVBoxLayout *buttonColumn(const QList<QPushButton *> &buttons)
{
    auto *column = new QVBoxLayout;
    for (QPushButton *button : buttons) {
        column->addWidget(button);
    }
    column->addStretch(1);
    return column;
}

inline void prepareWindow(QDialog *dialog)
{
    dialog->setModal(false);
    dialog->setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    dialog->setSizeGripEnabled(false);
}

} // namespace SearchDialogParts
