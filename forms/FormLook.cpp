#include "FormLook.h"

#include <QIcon>
#include <QWidget>

namespace orvelin::forms {

QFont formFont() {
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

void bringToFront(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
}

QIcon applicationIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48})
        icon.addFile(QStringLiteral(":/orvelin-%1.png").arg(size), QSize(size, size));
    return icon;
}

}  // namespace orvelin::forms
