#pragma once

#include <QPoint>
#include <QSize>

class QWidget;

// Puts a window back where it was closed. A window's saved "X" and "Y" are the top-left corner of its inside
// (geometry(), not the frame's pos()): the window manager sets the inside where it was asked on every start,
// mapped or not, so the same point is saved and restored and a window never creeps by its title bar's height
// from one run to the next. A point that lies off every screen is pulled onto the nearest one.
void placeWindow(QWidget* window, const QPoint& insideTopLeft, const QSize& size);
