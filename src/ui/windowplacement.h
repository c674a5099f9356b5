#pragma once

#include <QPoint>
#include <QSize>

class QWidget;

// Puts a window back where it was closed: its frame's top-left corner at the saved point (x() and y() are
// the frame's), pulled onto the nearest screen when that point lies off every screen. The same point is
// saved and restored, so a window never creeps by its title bar's height from one run to the next.
void placeWindow(QWidget* window, const QPoint& frameTopLeft, const QSize& size);
