#include "Code1.h"

#include "Code.h"
#include "EightBitEdit.h"
#include "FormLook.h"
#include "platform/codepage/cp1251.h"
#include "platform/ui/application.h"
#include "platform/ui/placement.h"
#include "platform/ui/prompts.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolBar>

TTrivor* Trivor = nullptr;

namespace {

constexpr char16_t kBackspace = 8;
constexpr char16_t kEnter = 13;
constexpr char16_t kEscape = 27;

const QString& codeHint() {
    static const QString hint = QStringLiteral("Не менее 6 и не более 10 символов");
    return hint;
}

std::optional<char16_t> controlCharacterOf(const QKeyEvent& event) {
    switch (event.key()) {
    case Qt::Key_Backspace: return kBackspace;
    case Qt::Key_Return:
    case Qt::Key_Enter: return kEnter;
    case Qt::Key_Escape: return kEscape;
    default: break;
    }
    const Qt::KeyboardModifiers mods = event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (mods == Qt::ControlModifier && event.key() >= Qt::Key_A && event.key() <= Qt::Key_Z)
        return char16_t(event.key() - Qt::Key_A + 1);
    return std::nullopt;
}

}  // namespace

std::optional<char16_t> characterOfKeyPress(const QKeyEvent& event) {
    if (const auto control = controlCharacterOf(event)) return control;
    const QString text = event.text();
    if (text.isEmpty() || event.key() == Qt::Key_Tab || event.key() == Qt::Key_Backtab) return std::nullopt;
    const char16_t first = text.at(0).unicode();
    // Delete and friends carry a control character as text on some platforms,
    // yet a classic edit control never receives a character for them.
    if (first < 0x20 || first == 0x7f) return std::nullopt;
    return first;
}

TTrivor::TTrivor(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    // The first form registered becomes the main form: closing it ends the run.
    if (auto* app = orvelin::platform::application()) app->registerForm(this);
    setWindowTitle(QString());
    setFixedSize(322, 116);
    setFont(orvelin::forms::formFont());
    setToolTip(codeHint());
    createControls();
    placeControls();
    connectHandlers();
    orvelin::platform::centreOnDesktopAtFirstShow(this);
}

TTrivor::~TTrivor() {
    if (Trivor == this) Trivor = nullptr;
}

void TTrivor::createControls() {
    Label1 = new QLabel(QStringLiteral("Введите код на текущий сеанс"), this);
    Label2 = new QLabel(QStringLiteral("он будет использован для кодирования \\ декодирования"), this);
    MaskEdit1 = new QLineEdit(this);
    MaskEdit1->setMaxLength(kMaxCodeLength);
    MaskEdit1->setEchoMode(QLineEdit::Password);
    Button1 = new QPushButton(QStringLiteral("Принять"), this);
    Button1->setEnabled(false);
    // The dialog's hint stands for every control; none has its own.
    for (QWidget* control : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(Label2),
                             static_cast<QWidget*>(MaskEdit1), static_cast<QWidget*>(Button1)})
        control->setToolTip(codeHint());
    setTabOrder(Button1, MaskEdit1);
}

void TTrivor::placeControls() {
    Label1->move(16, 16);
    Label1->adjustSize();
    Label2->move(16, 32);
    Label2->adjustSize();
    MaskEdit1->setGeometry(24, 64, 113, 21);
    Button1->setGeometry(192, 63, 107, 25);
}

void TTrivor::connectHandlers() {
    connect(MaskEdit1, &QLineEdit::textChanged, this, &TTrivor::MaskEdit1Change);
    connect(Button1, &QPushButton::clicked, this, &TTrivor::Button1Click);
    MaskEdit1->installEventFilter(this);
}

std::string TTrivor::SessionCode() const {
    return orvelin::cp1251::fromUtf16(MaskEdit1->text().toStdU16String());
}

bool TTrivor::eventFilter(QObject* watched, QEvent* event) {
    if (watched == MaskEdit1) return filterFieldEvent(event);
    return QWidget::eventFilter(watched, event);
}

bool TTrivor::filterFieldEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto character = characterOfKeyPress(*static_cast<QKeyEvent*>(event));
        return character && !MaskEdit1KeyPress(*character);
    }
    case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat()) MaskEdit1KeyUp(key->key());
        return false;
    }
    case QEvent::InputMethod:
        // Text composed by an input method is typed text too.
        if (!static_cast<QInputMethodEvent*>(event)->commitString().isEmpty())
            return !MaskEdit1KeyPress(static_cast<QInputMethodEvent*>(event)->commitString().at(0).unicode());
        return false;
    default: return false;
    }
}

void TTrivor::MaskEdit1Change() {
    Button1->setEnabled(MaskEdit1->text().length() >= kMinCodeLength);
}

bool TTrivor::MaskEdit1KeyPress(char16_t key) {
    if (MaskEdit1->text().length() == kMaxCodeLength && key != kBackspace) {
        orvelin::platform::beep();
        return false;
    }
    return true;
}

void TTrivor::MaskEdit1KeyUp(int key) {
    if (Button1->isEnabled() && (key == Qt::Key_Return || key == Qt::Key_Enter)) Button1->click();
}

void TTrivor::Button1Click() {
    MaskEdit1->setEnabled(false);
    Button1->setEnabled(false);
    setEnabled(false);
    hide();
    Uwens->ToolBar1->setEnabled(true);
    Uwens->ClearEditorForSession();
    Uwens->SMT->setEnabled(true);
    orvelin::forms::bringToFront(Uwens);
    Uwens->SMT->setFocus();
}
