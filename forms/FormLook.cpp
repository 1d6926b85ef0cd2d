#include "FormLook.h"

#include <QIcon>
#include <QWidget>

namespace orvelin::forms {

QFont formFont() {
    QFont font;
    // Faces about as wide as the one the forms were laid out with come first:
    // a wider face would push the dialog's texts past its fixed edges.
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                      QStringLiteral("DejaVu Sans Condensed")});
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
