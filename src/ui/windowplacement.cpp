#include "windowplacement.h"

#include "settings/windowsettings.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void placeWindow(QWidget* window, const QPoint& insideTopLeft, const QSize& size) {
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.append(screen->availableGeometry());
    // The title bar above the inside must stay reachable too; before the window is shown its height is not
    // known, so a usual one is assumed.
    const QRect frame = window->frameGeometry();
    const QRect inside = window->geometry();
    const int titleBar = frame.height() > inside.height() ? inside.top() - frame.top() : 30;
    const QPoint frameAt =
        pulledOnScreen(QRect(insideTopLeft - QPoint(0, titleBar), size + QSize(0, titleBar)), screens);
    window->setGeometry(QRect(frameAt + QPoint(0, titleBar), size));
}
