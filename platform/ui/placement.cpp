#include "placement.h"

#include <algorithm>
#include <limits>

namespace orvelin::platform {
namespace {

// Plain int division: C++ truncates toward zero, as the toolkit's div does.
int halfOfSpare(int room, int size) { return (room - size) / 2; }

QPoint raisedToZero(const QPoint& point) { return {std::max(point.x(), 0), std::max(point.y(), 0)}; }

long long overlapArea(const QRect& a, const QRect& b) {
    const QRect common = a.intersected(b);
    return common.isEmpty() ? 0 : static_cast<long long>(common.width()) * common.height();
}

// Distance between the rectangles' edges, 0 when they touch or overlap.
long long gapSquared(const QRect& a, const QRect& b) {
    const long long dx = std::max({0, b.left() - a.right(), a.left() - b.right()});
    const long long dy = std::max({0, b.top() - a.bottom(), a.top() - b.bottom()});
    return dx * dx + dy * dy;
}

}  // namespace

QPoint centredOnDesktop(const QRect& area, const QSize& outerSize) {
    // Measured from the origin whatever the desktop's left and top: that is
    // where the forms' toolkit puts a desktop-centred window.
    return raisedToZero({halfOfSpare(area.width(), outerSize.width()),
                         halfOfSpare(area.height(), outerSize.height())});
}

QPoint centredOver(const QRect& owner, const QSize& outerSize) {
    return raisedToZero({owner.left() + halfOfSpare(owner.width(), outerSize.width()),
                         owner.top() + halfOfSpare(owner.height(), outerSize.height())});
}

QPoint centredOnPrimary(const QSize& primaryScreenSize, const QSize& outerSize) {
    return {halfOfSpare(primaryScreenSize.width(), outerSize.width()),
            halfOfSpare(primaryScreenSize.height(), outerSize.height())};
}

QPoint centredOnMonitor(const QRect& monitor, const QSize& outerSize) {
    return {monitor.left() + halfOfSpare(monitor.width(), outerSize.width()),
            monitor.top() + halfOfSpare(monitor.height(), outerSize.height())};
}

int nearestMonitor(const QList<QRect>& monitors, const QRect& window) {
    int best = -1;
    long long bestOverlap = 0;
    long long bestGap = std::numeric_limits<long long>::max();
    for (int i = 0; i < monitors.size(); ++i) {
        const long long overlap = overlapArea(monitors.at(i), window);
        const long long gap = gapSquared(monitors.at(i), window);
        const bool better = overlap > bestOverlap || (overlap == 0 && bestOverlap == 0 && gap < bestGap);
        if (!better) continue;
        best = i;
        bestOverlap = overlap;
        bestGap = gap;
    }
    return best;
}

QPoint centredOverOnActiveMonitor(const QRect& owner, const QSize& outerSize,
                                  const QList<QRect>& monitors, const QRect& activeForm) {
    const QPoint over = centredOver(owner, outerSize);
    if (activeForm.isEmpty()) return over;
    const int windowMonitor = nearestMonitor(monitors, QRect(over, outerSize));
    const int formMonitor = nearestMonitor(monitors, activeForm);
    if (windowMonitor == formMonitor || formMonitor < 0) return over;
    return centredOnMonitor(monitors.at(formMonitor), outerSize);
}

}  // namespace orvelin::platform
