#pragma once
// The About window.

#include <QDialog>

class TFH : public QDialog {
    Q_OBJECT
public:
    explicit TFH(QWidget* parent = nullptr);
};

extern TFH* FH;
