#include "widgetshortcut.h"

#include <QShortcut>
#include <QWidget>

QShortcut* widgetShortcut(QWidget* widget, const QList<QKeySequence>& keys) {
    auto* shortcut = new QShortcut(widget);
    shortcut->setKeys(keys);
    shortcut->setContext(Qt::WidgetShortcut);
    return shortcut;
}
