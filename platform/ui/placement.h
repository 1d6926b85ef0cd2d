#pragma once
// Window placement rules of the toolkit the forms were designed for.

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace orvelin::platform {

// Centred in `area` (the whole virtual desktop): div truncates toward zero and
// a negative result is raised to 0.
QPoint centredOnDesktop(const QRect& area, const QSize& outerSize);

// Centred over `owner` (outer geometry), negatives raised to 0.
QPoint centredOver(const QRect& owner, const QSize& outerSize);

// Centred on the primary screen: no raising of negative values.
QPoint centredOnPrimary(const QSize& primaryScreenSize, const QSize& outerSize);

// Centred on `monitor`, measured from its own top-left; no raising.
QPoint centredOnMonitor(const QRect& monitor, const QSize& outerSize);

// Index of the monitor nearest to `window`: the one it overlaps most, or,
// overlapping none, the closest one. -1 when there are no monitors.
int nearestMonitor(const QList<QRect>& monitors, const QRect& window);

// Where a window centred over `owner` goes: centredOver, unless that place lies
// nearest another monitor than `activeForm`, which then takes it to the centre
// of the active form's monitor. An empty `activeForm` skips that step.
QPoint centredOverOnActiveMonitor(const QRect& owner, const QSize& outerSize,
                                  const QList<QRect>& monitors, const QRect& activeForm);

// Places `window` centred on the desktop when it is first shown; later
// showings keep its last position.
void centreOnDesktopAtFirstShow(QWidget* window);

// Places `window` centred over `owner` at its first showing, then moved onto
// the monitor of `activeForm` if it lies nearest another monitor.
void centreOverFormAtFirstShow(QWidget* window, QWidget* owner, QWidget* activeForm);

// Moves `window` so that its outer frame starts at `topLeft`.
void moveOuterTo(QWidget* window, const QPoint& topLeft);

}  // namespace orvelin::platform
