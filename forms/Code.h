#pragma once
// The main window: the editor, its menu, tool bar and status bar, and the
// coding, clipboard and file commands.

#include "EightBitEdit.h"
#include "codec/text_codec.h"
#include "platform/ui/prompts.h"

#include <QMainWindow>
#include <string>

class TImageList;
class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QStatusBar;
class QToolBar;
class QToolButton;

class TUwens : public QMainWindow, public orvelin::codec::MessageOwner {
    Q_OBJECT
public:
    // A smaller editor capacity lets tests reach the editor's limit cheaply.
    explicit TUwens(QWidget* parent = nullptr, std::size_t editorCapacity = EightBitEdit::kCapacity);
    ~TUwens() override;

    // Controls, named as the form describes them.
    QMenuBar* aiu1 = nullptr;
    QMenu* N1 = nullptr;  // "Файл"
    QAction* N4 = nullptr;
    QAction* N5 = nullptr;
    QAction* N14 = nullptr;
    QAction* N11 = nullptr;
    QMenu* Edit = nullptr;  // "Правка"
    QAction* N3 = nullptr;
    QAction* Past_Menu = nullptr;
    QAction* N9 = nullptr;
    QAction* N10 = nullptr;
    QMenu* N2 = nullptr;  // "Language"
    QAction* N6 = nullptr;
    QAction* English2 = nullptr;
    QAction* N7 = nullptr;  // "О программе"

    QToolBar* ToolBar1 = nullptr;
    QToolButton* ToolButton1 = nullptr;
    QToolButton* ToolButton2 = nullptr;
    QToolButton* ToolButton4 = nullptr;
    QToolButton* ToolButton5 = nullptr;
    QToolButton* ToolButton7 = nullptr;
    QToolButton* ToolButton8 = nullptr;

    EightBitEdit* SMT = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* StatusPanel0 = nullptr;  // the status bar's one panel
    TImageList* geist = nullptr;     // the pictures of the menu and tool bar

    orvelin::platform::FileDialog OpenDialog1{orvelin::platform::FileDialogRequest::Kind::Open};
    orvelin::platform::FileDialog SaveDialog1{orvelin::platform::FileDialogRequest::Kind::Save};

    // Fields besides the controls.
    QString CurrentFileName;
    bool LongTextRun = false;

    // Handlers.
    void N9Click();
    void ToolButton7Click();
    void N10Click();
    void ToolButton8Click();
    void N3Click();
    void ToolButton4Click();
    void Past_MenuClick();
    void ToolButton5Click();
    void SMTChange();
    void N11Click();
    void N7Click();
    void N4Click();
    void ToolButton1Click();
    void N5Click();
    void ToolButton2Click();
    void N14Click();
    void FormActivate();

    void UpdateCharCount();

    // Accept: removes the start notice without touching the character count,
    // and without leaving the notice in the undo history.
    void ClearEditorForSession();

    // File commands (CodeFiles.cpp).
    void OpenTextFile();
    void SaveToCurrentFile();
    void SaveTextAs();

    // codec::MessageOwner
    void showCodecMessage(const orvelin::codec::Rejection& rejection) override;

protected:
    void closeEvent(QCloseEvent* event) override;  // FormClose
    void changeEvent(QEvent* event) override;

private:
    struct CodingCommand;

    void createMenu();
    void createToolBar();
    void createEditor(std::size_t capacity);
    void createStatusBar();
    void connectHandlers();
    QToolButton* addToolButton(const QString& hint, int imageIndex, void (TUwens::*handler)());
    void fitFrameToWindowState();

    void FormClose();
    void EncodeCommand();
    void DecodeCommand();
    void RunCodingCommand(const CodingCommand& command);
    void LoadTextFile(const QString& path);
    void WriteTextFile(const QString& path);

    bool charCountFrozen_ = false;
    bool keepingDialogInFront_ = false;
};

extern TUwens* Uwens;
