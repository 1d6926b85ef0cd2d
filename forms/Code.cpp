#include "Code.h"

#include "Code1.h"
#include "Code3.h"
#include "EightBitEdit.h"
#include "FormLook.h"
#include "Geist.h"
#include "platform/codepage/cp1251.h"
#include "platform/ui/application.h"
#include "platform/ui/placement.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QScopedValueRollback>
#include <QScreen>
#include <QStatusBar>
#include <QTextDocument>
#include <QToolBar>
#include <QToolButton>

TUwens* Uwens = nullptr;

namespace {

namespace prompts = orvelin::platform;

constexpr QSize kClientSize(770, 524);
constexpr int kToolBarHeight = 27;
constexpr int kStatusBarHeight = 19;
constexpr int kStatusPanelWidth = 300;
constexpr QSize kToolButtonSize(23, 22);

const QString& charCountPrefix() {
    static const QString prefix = QStringLiteral("Количество символов: ");
    return prefix;
}

// Shown until a code is accepted; kept as three lines, the editor wraps them.
QString startNotice() {
    return QStringLiteral(
        "     ВАЖНО! При использовании программы не копируйте закодированный текст с окна, что бы сохранить его в "
        "файл, и на оборот не копируйте с \r\n"
        "текстового файла закодированный текст, что бы вставить его в окно программы (т.к. в некоторых "
        "операционных системах, у текста меняется \r\n"
        "кодировка), пользуйтесь при сохранении и загрузке закодированного текста, меню: Файл->Открыть или "
        "Файл->Сохранить.");
}

// Keeps a window from taking input while a coding call runs, and gives it
// back whatever the call does, an escaping exception included. The focus goes
// back where it was, since disabling the window takes it away.
class WindowDisabledDuringCall {
public:
    explicit WindowDisabledDuringCall(QWidget* window) : window_(window), focus_(window->focusWidget()) {
        window_->setEnabled(false);
    }
    ~WindowDisabledDuringCall() {
        window_->setEnabled(true);
        if (focus_ && focus_->isEnabled()) focus_->setFocus();
    }
    WindowDisabledDuringCall(const WindowDisabledDuringCall&) = delete;
    WindowDisabledDuringCall& operator=(const WindowDisabledDuringCall&) = delete;

private:
    QWidget* window_;
    QPointer<QWidget> focus_;
};

prompts::Icon boxIconFor(orvelin::codec::Icon icon) {
    return icon == orvelin::codec::Icon::Error ? prompts::Icon::Error : prompts::Icon::Warning;
}

}  // namespace

struct TUwens::CodingCommand {
    std::size_t longTextThreshold;  // longer texts get the warning and "Готово"
    const char* longTextWarning;    // UTF-8
    std::string (*codec)(orvelin::codec::MessageOwner*, const std::string&, const std::string&, bool);
};

TUwens::TUwens(QWidget* parent, std::size_t editorCapacity) : QMainWindow(parent) {
    if (auto* app = prompts::application()) app->registerForm(this);
    setWindowTitle(QStringLiteral("Orvelin 2.1"));
    setFont(orvelin::forms::formFont());
    geist = new TImageList(TImageList::geist());
    createMenu();
    createToolBar();
    createEditor(editorCapacity);
    createStatusBar();
    connectHandlers();
    fitFrameToWindowState();
    prompts::onActivate(this, [this] { FormActivate(); });
    // The form is visible from creation, centred on the desktop.
    prompts::centreOnDesktopAtFirstShow(this);
    show();
}

TUwens::~TUwens() {
    delete geist;
    if (Uwens == this) Uwens = nullptr;
}

void TUwens::createMenu() {
    aiu1 = new QMenuBar(this);
    setMenuBar(aiu1);

    N1 = aiu1->addMenu(QStringLiteral("Файл"));
    N4 = N1->addAction(geist->icon(TImageList::OpenFolder), QStringLiteral("Открыть"));
    N4->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    N5 = N1->addAction(geist->icon(TImageList::FloppyDisk), QStringLiteral("Сохранить"));
    N5->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    N14 = N1->addAction(geist->icon(TImageList::FloppyDisk), QStringLiteral("Сохранить как..."));
    N1->addSeparator();
    N11 = N1->addAction(geist->icon(TImageList::Door), QStringLiteral("Выход"));

    Edit = aiu1->addMenu(QStringLiteral("Правка"));
    N3 = Edit->addAction(geist->icon(TImageList::TwoSheets), QStringLiteral("Копировать"));
    Past_Menu = Edit->addAction(geist->icon(TImageList::Clipboard), QStringLiteral("Вставить"));
    Edit->addSeparator();
    N9 = Edit->addAction(geist->icon(TImageList::ClosedPadlock), QStringLiteral("Кодировать"));
    N10 = Edit->addAction(geist->icon(TImageList::OpenPadlock), QStringLiteral("Декодировать"));

    N2 = aiu1->addMenu(QStringLiteral("Language"));
    N6 = N2->addAction(geist->icon(TImageList::RussianFlag), QStringLiteral("Русский"));
    // The English translation never came; the item stays, out of sight.
    English2 = N2->addAction(geist->icon(TImageList::BritishFlag), QStringLiteral("English"));
    English2->setEnabled(false);
    English2->setVisible(false);

    // A command straight on the menu bar rather than a menu.
    N7 = aiu1->addAction(QStringLiteral("О программе"));
}

QToolButton* TUwens::addToolButton(const QString& hint, int imageIndex, void (TUwens::*handler)()) {
    auto* button = new QToolButton(ToolBar1);
    button->setIcon(geist->icon(imageIndex));
    button->setToolTip(hint);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);  // the editor keeps the focus
    button->setFixedSize(kToolButtonSize);
    ToolBar1->addWidget(button);
    connect(button, &QToolButton::clicked, this, handler);
    return button;
}

void TUwens::createToolBar() {
    ToolBar1 = new QToolBar(this);
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setContextMenuPolicy(Qt::PreventContextMenu);  // no way to hide it
    ToolBar1->setIconSize(QSize(TImageList::kImageSize, TImageList::kImageSize));
    ToolBar1->setFixedHeight(kToolBarHeight);
    addToolBar(Qt::TopToolBarArea, ToolBar1);

    ToolButton1 = addToolButton(QStringLiteral("Открыть"), TImageList::OpenFolder, &TUwens::ToolButton1Click);
    ToolButton2 = addToolButton(QStringLiteral("Сохранить"), TImageList::FloppyDisk, &TUwens::ToolButton2Click);
    ToolBar1->addSeparator();
    ToolButton4 = addToolButton(QStringLiteral("Копировать"), TImageList::TwoSheets, &TUwens::ToolButton4Click);
    ToolButton5 = addToolButton(QStringLiteral("Вставить"), TImageList::Clipboard, &TUwens::ToolButton5Click);
    ToolBar1->addSeparator();
    ToolButton7 = addToolButton(QStringLiteral("Кодировать"), TImageList::ClosedPadlock, &TUwens::ToolButton7Click);
    ToolButton8 = addToolButton(QStringLiteral("Декодировать"), TImageList::OpenPadlock, &TUwens::ToolButton8Click);
    // Usable only once a session code has been accepted.
    ToolBar1->setEnabled(false);
}

void TUwens::createEditor(std::size_t capacity) {
    SMT = new EightBitEdit(this, capacity);
    SMT->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    SMT->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setCentralWidget(SMT);
    SMT->setText8(orvelin::cp1251::fromUtf16(startNotice().toStdU16String()));
    SMT->document()->clearUndoRedoStacks();  // the notice is not the user's to undo
    SMT->setEnabled(false);
}

void TUwens::createStatusBar() {
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setFixedHeight(kStatusBarHeight);
    StatusPanel0 = new QLabel(charCountPrefix() + QStringLiteral("0"), StatusBar1);
    StatusPanel0->setFixedWidth(kStatusPanelWidth);
    StatusPanel0->setAlignment(Qt::AlignCenter);
    StatusPanel0->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    StatusBar1->addWidget(StatusPanel0);
    setStatusBar(StatusBar1);
}

void TUwens::connectHandlers() {
    connect(N4, &QAction::triggered, this, &TUwens::N4Click);
    connect(N5, &QAction::triggered, this, &TUwens::N5Click);
    connect(N14, &QAction::triggered, this, &TUwens::N14Click);
    connect(N11, &QAction::triggered, this, &TUwens::N11Click);
    connect(N3, &QAction::triggered, this, &TUwens::N3Click);
    connect(Past_Menu, &QAction::triggered, this, &TUwens::Past_MenuClick);
    connect(N9, &QAction::triggered, this, &TUwens::N9Click);
    connect(N10, &QAction::triggered, this, &TUwens::N10Click);
    connect(N7, &QAction::triggered, this, &TUwens::N7Click);
    connect(SMT, &QPlainTextEdit::textChanged, this, &TUwens::SMTChange);
}

// The frame keeps the designed size; maximised, the editor takes the space.
void TUwens::fitFrameToWindowState() {
    if (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        return;
    }
    // The menu bar lies outside the client area of the design.
    setFixedSize(kClientSize.width(), kClientSize.height() + aiu1->heightForWidth(kClientSize.width()));
}

void TUwens::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) fitFrameToWindowState();
}

// --- Coding -----------------------------------------------------------------

void TUwens::N9Click() { EncodeCommand(); }
void TUwens::ToolButton7Click() { EncodeCommand(); }
void TUwens::N10Click() { DecodeCommand(); }
void TUwens::ToolButton8Click() { DecodeCommand(); }

void TUwens::EncodeCommand() {
    static const CodingCommand encode{
        50000, "Кодирование текста длиной более 50 тысяч символов может занять некоторое время!",
        &orvelin::codec::EncodeText};
    RunCodingCommand(encode);
}

void TUwens::DecodeCommand() {
    static const CodingCommand decode{
        100000, "Декодирование текста длиной более 100 тысяч символов может занять некоторое время!",
        &orvelin::codec::DecodeText};
    RunCodingCommand(decode);
}

void TUwens::RunCodingCommand(const CodingCommand& command) {
    if (SMT->length8() == 0 || LongTextRun) return;
    try {
        if (SMT->length8() > command.longTextThreshold) {
            LongTextRun = true;
            prompts::showMessage(QString::fromUtf8(command.longTextWarning), QStringLiteral("Предупреждение"),
                                 prompts::Icon::Information, prompts::Buttons::Ok, this);
        }
        WindowDisabledDuringCall disabled(this);
        const std::string text = SMT->text8();
        const std::string result = command.codec(this, text, Trivor->SessionCode(), true);
        if (result != text) SMT->setText8(result);
    } catch (...) {
        // A failed call must not leave every later coding command switched off.
        LongTextRun = false;
        throw;
    }
    if (LongTextRun) {
        LongTextRun = false;
        prompts::showMessage(QStringLiteral("Готово"), QStringLiteral("Information"), prompts::Icon::Information,
                             prompts::Buttons::Ok, this);
    }
}

void TUwens::showCodecMessage(const orvelin::codec::Rejection& rejection) {
    prompts::showMessage(QString::fromUtf8(rejection.text), QString::fromUtf8(rejection.caption),
                         boxIconFor(rejection.icon), prompts::Buttons::Ok, this);
}

// --- Clipboard and the character count ---------------------------------------

void TUwens::N3Click() { ToolButton4Click(); }

void TUwens::ToolButton4Click() {
    // With nothing selected the clipboard keeps what it holds.
    if (SMT->textCursor().hasSelection()) SMT->copy();
}

void TUwens::Past_MenuClick() { ToolButton5Click(); }
void TUwens::ToolButton5Click() { SMT->paste(); }

void TUwens::SMTChange() {
    if (!charCountFrozen_) UpdateCharCount();
}

void TUwens::UpdateCharCount() {
    StatusPanel0->setText(charCountPrefix() + QString::number(SMT->length8()));
}

void TUwens::ClearEditorForSession() {
    QScopedValueRollback<bool> frozen(charCountFrozen_, true);
    SMT->clear();
}

// --- Files, About, Exit -------------------------------------------------------

void TUwens::N4Click() { OpenTextFile(); }
void TUwens::ToolButton1Click() { OpenTextFile(); }

void TUwens::N5Click() {
    if (CurrentFileName.isEmpty())
        SaveTextAs();
    else
        SaveToCurrentFile();
}

void TUwens::ToolButton2Click() { N5Click(); }
void TUwens::N14Click() { SaveTextAs(); }

void TUwens::N7Click() { FH->exec(); }

void TUwens::N11Click() { close(); }

void TUwens::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

// The dialog is the main form: closing it ends the run.
void TUwens::FormClose() {
    if (Trivor) Trivor->close();
    hide();
}

// --- Keeping the session code dialog in front ---------------------------------

void TUwens::FormActivate() {
    // The dialog's own hiding below re-activates this window; that nested run
    // must find nothing to do.
    if (keepingDialogInFront_ || !Trivor || !Trivor->isVisible()) return;
    QScopedValueRollback<bool> busy(keepingDialogInFront_, true);
    const QSize dialogSize = Trivor->frameGeometry().size();
    // Put it in front; activating it would be undone by the hiding that follows.
    Trivor->raise();
    Trivor->hide();
    const QSize primarySize = QGuiApplication::primaryScreen()->geometry().size();
    orvelin::platform::moveOuterTo(Trivor, orvelin::platform::centredOnPrimary(primarySize, dialogSize));
    orvelin::forms::bringToFront(Trivor);
    Trivor->MaskEdit1->setFocus();
}
