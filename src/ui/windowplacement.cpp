#include "windowplacement.h"

#include "settings/windowsettings.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {

// The frame seen last around a framed window of the program.
QMargins g_seenFrame;

QList<QRect> availableScreens() {
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.append(screen->availableGeometry());
    return screens;
}

} // namespace

QMargins frameMargins(const QWidget* window) {
    const QRect frame = window->frameGeometry();
    const QRect inside = window->geometry();
    if (window->isVisible() && frame != inside) {
        g_seenFrame = QMargins(inside.left() - frame.left(), inside.top() - frame.top(), frame.right() - inside.right(),
                               frame.bottom() - inside.bottom());
        return g_seenFrame;
    }
    return g_seenFrame;
}

QRect expectedFrame(const QWidget* window) {
    return window->geometry().marginsAdded(frameMargins(window));
}

void placeFrame(QWidget* window, const QRect& frame) {
    window->setGeometry(frame.marginsRemoved(frameMargins(window)));
}

void placeWindow(QWidget* window, const QPoint& insideTopLeft, const QSize& size) {
    const QMargins margins = frameMargins(window);
    const QRect frame = QRect(insideTopLeft, size).marginsAdded(margins);
    const QPoint frameAt = pulledOnScreen(frame, availableScreens());
    window->setGeometry(QRect(frameAt + QPoint(margins.left(), margins.top()), size));
}

void keepTitleBarOnScreen(QWidget* window) {
    const QRect frame = window->frameGeometry();
    if (!window->isVisible() || frame == window->geometry())
        return;
    frameMargins(window); // remembered for the windows not framed yet
    const QPoint at = pulledOnScreen(frame, availableScreens());
    if (at != frame.topLeft())
        window->move(at); // on a framed window, the frame's position
}
