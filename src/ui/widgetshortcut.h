#pragma once

#include <QKeySequence>
#include <QList>

class QShortcut;
class QWidget;

// A key bound to one widget: it acts only while that widget has the focus, and the widget never sees the key.
QShortcut* widgetShortcut(QWidget* widget, const QList<QKeySequence>& keys);
