#include "windowplacement.h"

#include "settings/windowsettings.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

void placeWindow(QWidget* window, const QPoint& frameTopLeft, const QSize& size) {
    window->resize(size);
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.append(screen->availableGeometry());
    const QSize frame = window->frameGeometry().size().expandedTo(size);
    const QPoint at = pulledOnScreen(QRect(frameTopLeft, frame), screens);
    // A window that already has its native window may not know its frame yet; asking for the frame's position
    // lets the window manager put the frame, not the inside, at the point. Before that, move() means the frame.
    if (QWindow* handle = window->windowHandle())
        handle->setFramePosition(at);
    else
        window->move(at);
}
