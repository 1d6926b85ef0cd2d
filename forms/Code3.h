#pragma once
// The About window: product name, version, credits, the distribution notice
// and a short description of how the program is used. Created hidden at
// start-up; the main window shows it modally with exec().

#include <QDialog>
#include <QPointer>

class QFrame;
class QLabel;
class QPlainTextEdit;

class TFH : public QDialog {
    Q_OBJECT
public:
    explicit TFH(QWidget* parent = nullptr);

    // Controls, named as the form describes them.
    QFrame* Bevel1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QFrame* Bevel2 = nullptr;
    QLabel* Label5 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;

    // Handlers.
    void FormCreate();
    void FormDblClick();
    void Memo1MouseDown();

    void setVisible(bool visible) override;

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildControls();
    void RunFormCreate();
    void PlaceAtFirstShow();

    bool shownBefore_ = false;
    QPointer<QWidget> activeBeforeShow_;
};

extern TFH* FH;
