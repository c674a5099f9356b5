#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// Puts a window back where it was closed. A window's saved "X" and "Y" are the top-left corner of its inside
// (geometry(), not the frame's pos()), and the inside is what is restored: the window manager sets the inside
// where it was asked, so a restart puts every window exactly where it was. Only a point whose title bar would lie
// off every screen is pulled onto the nearest one, with the frame the window manager gave the windows seen so far.
void placeWindow(QWidget* window, const QPoint& insideTopLeft, const QSize& size);

// The frame around a window: its own once the window manager has framed it, otherwise the one last seen around
// another window of the program (they all get the same decoration), none before any was framed.
QMargins frameMargins(const QWidget* window);
// The window's frame, also for a window not shown yet (its inside with the frame it is expected to get).
QRect expectedFrame(const QWidget* window);
// Moves and sizes a window so that its frame takes the given place.
void placeFrame(QWidget* window, const QRect& frame);
// A framed window whose title bar lies above or off its screen is moved onto it (a first start, a window
// manager that placed it so); any other window stays.
void keepTitleBarOnScreen(QWidget* window);
