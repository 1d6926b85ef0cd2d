#pragma once
// What the program's windows share in look and manner.

#include <QFont>
#include <QIcon>

class QWidget;

namespace orvelin::forms {

// The forms' face: a plain sans-serif at 11 pixels.
QFont formFont();

// Shows `window`, puts it in front of the program's other windows and makes
// it the active one.
void bringToFront(QWidget* window);

// The application icon in all its sizes.
QIcon applicationIcon();

}  // namespace orvelin::forms
