#include "Geist.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

QIcon iconFromSvg(const QString& svgResource, std::initializer_list<int> sizes) {
    QSvgRenderer renderer(svgResource);
    QIcon icon;
    if (!renderer.isValid()) return icon;
    for (const int size : sizes) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

TImageList::TImageList(QStringList svgResources) {
    for (const QString& resource : svgResources)
        icons_.append(iconFromSvg(resource, {kImageSize, 2 * kImageSize}));
}

QIcon TImageList::icon(int index) const {
    return index >= 0 && index < icons_.size() ? icons_.at(index) : QIcon();
}

TImageList TImageList::geist() {
    return TImageList({
        QStringLiteral(":/icons/floppy-disk.svg"),
        QStringLiteral(":/icons/copy.svg"),
        QStringLiteral(":/icons/paste.svg"),
        QStringLiteral(":/icons/open-folder.svg"),
        QStringLiteral(":/icons/flag-ru.svg"),
        QStringLiteral(":/icons/flag-gb.svg"),
        QStringLiteral(":/icons/padlock-closed.svg"),
        QStringLiteral(":/icons/padlock-closed-outline.svg"),
        QStringLiteral(":/icons/padlock-open.svg"),
        QStringLiteral(":/icons/padlock-open-outline.svg"),
        QStringLiteral(":/icons/door.svg"),
        QStringLiteral(":/icons/door-outline.svg"),
        QStringLiteral(":/icons/keys.svg"),
    });
}
