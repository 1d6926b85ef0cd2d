#pragma once
// Window placement rules of the toolkit the forms were designed for.

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

// Places `window` centred on the desktop when it is first shown; later
// showings keep its last position.
void centreOnDesktopAtFirstShow(QWidget* window);

// Places `window` centred over `owner` at its first showing, then moved onto
// the monitor of `activeForm` if it lies nearest another monitor.
void centreOverFormAtFirstShow(QWidget* window, QWidget* owner, QWidget* activeForm);

// Moves `window` so that its outer frame starts at `topLeft`.
void moveOuterTo(QWidget* window, const QPoint& topLeft);

}  // namespace orvelin::platform
