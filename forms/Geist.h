#pragma once
// The image list `geist`: the sixteen-pixel pictures of the main window's menu
// and tool bar, drawn from the SVG files compiled into the program.

#include <QIcon>
#include <QStringList>

class TImageList {
public:
    // Indices into `geist`, in the order the menu and tool bar refer to them.
    enum Image {
        FloppyDisk = 0,
        TwoSheets = 1,
        Clipboard = 2,
        OpenFolder = 3,
        RussianFlag = 4,
        BritishFlag = 5,
        ClosedPadlock = 6,
        ClosedPadlockOutline = 7,
        OpenPadlock = 8,
        OpenPadlockOutline = 9,
        Door = 10,
        DoorOutline = 11,
        BunchOfKeys = 12,
    };

    static constexpr int kImageSize = 16;

    explicit TImageList(QStringList svgResources);

    int Count() const { return int(icons_.size()); }
    // An empty icon for an index out of range.
    QIcon icon(int index) const;

    // The thirteen pictures of the main window.
    static TImageList geist();

private:
    QList<QIcon> icons_;
};

// Renders an SVG resource at each of `sizes` (square, in pixels).
QIcon iconFromSvg(const QString& svgResource, std::initializer_list<int> sizes);
