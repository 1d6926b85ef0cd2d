#pragma once
// The session code dialog: asks for the code every coding command of this run
// uses, then hands over to the main window. The code stays in MaskEdit1.

#include <QWidget>
#include <optional>
#include <string>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

class TTrivor : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMinCodeLength = 6;
    static constexpr int kMaxCodeLength = 10;

    explicit TTrivor(QWidget* parent = nullptr);
    ~TTrivor() override;

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* MaskEdit1 = nullptr;
    QPushButton* Button1 = nullptr;

    // The session code as the codec takes it: MaskEdit1's text in Windows-1251.
    std::string SessionCode() const;

    void MaskEdit1Change();
    // Returns false when the character must not reach the field.
    bool MaskEdit1KeyPress(char16_t key);
    void MaskEdit1KeyUp(int key);
    void Button1Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void placeControls();
    void connectHandlers();
    bool filterFieldEvent(QEvent* event);
};

// The character a key press delivers to a text field, as a classic edit
// control sees it: Backspace 8, Enter 13, Escape 27, Ctrl+letter its control
// character, otherwise the typed text. Nothing for keys that only move or
// delete (arrows, Delete, Home, ...), for Tab and for bare modifiers.
std::optional<char16_t> characterOfKeyPress(const QKeyEvent& event);

extern TTrivor* Trivor;
