#include "placement.h"

#include "event_hook.h"

#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <functional>
#include <utility>

namespace orvelin::platform {
namespace {

QRect virtualDesktop() {
    const QScreen* primary = QGuiApplication::primaryScreen();
    return primary ? primary->virtualGeometry() : QRect();
}

QList<QRect> monitorRects() {
    QList<QRect> rects;
    for (const QScreen* screen : QGuiApplication::screens()) rects.append(screen->geometry());
    return rects;
}

void placeAtFirstShow(QWidget* window, std::function<void()> place) {
    if (!window) return;
    // Already on screen: the showing the caller meant is this one.
    if (window->isVisible()) {
        place();
        return;
    }
    // Once only: later showings keep wherever the window was left.
    hookEvent(window, QEvent::Show, std::move(place), HookRuns::Once);
}

}  // namespace

void moveOuterTo(QWidget* window, const QPoint& topLeft) {
    // For a top-level window, move() places the frame's top-left corner.
    if (window) window->move(topLeft);
}

void centreOnDesktopAtFirstShow(QWidget* window) {
    placeAtFirstShow(window, [window] {
        moveOuterTo(window, centredOnDesktop(virtualDesktop(), window->frameGeometry().size()));
    });
}

void centreOverFormAtFirstShow(QWidget* window, QWidget* owner, QWidget* activeForm) {
    const QPointer<QWidget> ownerGuard(owner);
    const QPointer<QWidget> activeGuard(activeForm);
    placeAtFirstShow(window, [window, ownerGuard, activeGuard] {
        if (!ownerGuard) return;
        const QRect active = activeGuard ? activeGuard->frameGeometry() : QRect();
        moveOuterTo(window, centredOverOnActiveMonitor(ownerGuard->frameGeometry(),
                                                       window->frameGeometry().size(),
                                                       monitorRects(), active));
    });
}

}  // namespace orvelin::platform
