#include "Code3.h"

TFH* FH = nullptr;

TFH::TFH(QWidget* parent) : QDialog(parent) {}
