#include "LanguageApplier.h"

#include "platform/CodePage.h"
#include "shell/LanguageStore.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QStackedWidget>
#include <QTabWidget>

namespace {

// A page of a tab widget sits in the tab widget's stack.
QTabWidget *tabWidgetOf(QWidget *page)
{
    QWidget *stack = page->parentWidget();
    if (!qobject_cast<QStackedWidget *>(stack)) {
        return nullptr;
    }
    return qobject_cast<QTabWidget *>(stack->parentWidget());
}

void applyToAction(QAction *action, const LanguageSection &section, const QString &text)
{
    bool ok = false;
    const QByteArray key = CodePage::fromUnicode(action->objectName(), &ok);
    if (const char *shortcut = ok ? section.shortcut(key) : nullptr) {
        action->setShortcut(QKeySequence(QString::fromLatin1(shortcut), QKeySequence::PortableText));
    }
    action->setText(text);
    // Tool-bar buttons show the caption without the shortcut column.
    action->setIconText(captionOf(text));
}

void applyToObject(QObject *object, const LanguageStore &language, const LanguageSection &section)
{
    if (object->objectName().isEmpty()) {
        return;
    }
    const std::optional<QString> text = language.textForObject(section, object->objectName());
    if (!text) {
        return;
    }
    if (auto *action = qobject_cast<QAction *>(object)) {
        applyToAction(action, section, *text);
    } else if (auto *menu = qobject_cast<QMenu *>(object)) {
        menu->setTitle(*text);
    } else if (auto *label = qobject_cast<QLabel *>(object)) {
        label->setText(*text);
    } else if (auto *button = qobject_cast<QAbstractButton *>(object)) {
        button->setText(*text);
    } else if (auto *group = qobject_cast<QGroupBox *>(object)) {
        group->setTitle(*text);
    } else if (auto *page = qobject_cast<QWidget *>(object)) {
        if (QTabWidget *tabs = tabWidgetOf(page)) {
            tabs->setTabText(tabs->indexOf(page), *text);
        }
    }
}

void walk(QObject *parent, const LanguageStore &language, const LanguageSection &section)
{
    for (QObject *child : parent->children()) {
        auto *widget = qobject_cast<QWidget *>(child);
        // Dialogs and other windows owned by this one apply their own sections; pop-up
        // menus are windows too, but belong to this one.
        if (widget && widget->isWindow() && !qobject_cast<QMenu *>(widget)) {
            continue;
        }
        applyToObject(child, language, section);
        walk(child, language, section);
    }
}

} // namespace

void applyLanguageTexts(QWidget *window, const LanguageStore &language, const LanguageSection &section)
{
    if (!window) {
        return;
    }
    if (section.english("Caption")) {
        window->setWindowTitle(language.uiText(section, "Caption"));
    }
    walk(window, language, section);
}

QString captionOf(const QString &text)
{
    const qsizetype tab = text.indexOf(QLatin1Char('\t'));
    return tab < 0 ? text : text.left(tab);
}
