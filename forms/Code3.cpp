#include "Code3.h"

#include "forms/FormLook.h"
#include "platform/ui/application.h"
#include "platform/ui/error_box.h"
#include "platform/ui/placement.h"
#include "platform/ui/prompts.h"

#include <QApplication>
#include <QColor>
#include <QFont>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <exception>
#include <functional>
#include <utility>

TFH* FH = nullptr;

namespace {

const QColor kCream(255, 251, 240);
constexpr int kLabelHeight = 13;

// A frame that draws only a lowered line along its bottom edge.
class BottomLineBevel : public QFrame {
public:
    using QFrame::QFrame;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const int bottom = height() - 1;
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawLine(0, bottom - 1, width() - 1, bottom - 1);
        painter.setPen(palette().color(QPalette::Light));
        painter.drawLine(0, bottom, width() - 1, bottom);
    }
};

// The description memo. It reports each press only after handling it itself,
// so the report's handler gets the last word on the caret and selection.
class PressReportingMemo : public QPlainTextEdit {
public:
    PressReportingMemo(QWidget* parent, std::function<void()> afterPress)
        : QPlainTextEdit(parent), afterPress_(std::move(afterPress)) {}

protected:
    void mousePressEvent(QMouseEvent* event) override {
        QPlainTextEdit::mousePressEvent(event);
        afterPress_();
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        QPlainTextEdit::mouseDoubleClickEvent(event);
        afterPress_();
    }

private:
    std::function<void()> afterPress_;
};

QLabel* makeLabel(QWidget* parent, const char* name, int x, int y) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->move(x, y);
    return label;
}

// Labels size themselves to their text, as the form's labels do.
void fitSingleLine(QLabel* label) { label->resize(label->sizeHint().width(), kLabelHeight); }

}  // namespace

TFH::TFH(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FH"));
    if (auto* app = orvelin::platform::application()) app->registerForm(this);
    BuildControls();
    RunFormCreate();
}

void TFH::BuildControls() {
    setWindowTitle(QStringLiteral("О программе"));
    // A dialog frame: no resizing, no minimise or maximise, only the close box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(401, 321);

    const QFont font = orvelin::forms::formFont();
    setFont(font);

    QPalette cream = palette();
    cream.setColor(QPalette::Window, kCream);
    cream.setColor(QPalette::Base, kCream);
    setPalette(cream);
    setAutoFillBackground(true);

    // Created first so that it lies beneath everything drawn inside it.
    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Bevel1->setLineWidth(1);
    Bevel1->setGeometry(8, 8, 385, 305);

    Bevel2 = new BottomLineBevel(this);
    Bevel2->setObjectName(QStringLiteral("Bevel2"));
    Bevel2->setGeometry(16, 88, 366, 26);

    Label1 = makeLabel(this, "Label1", 16, 16);
    QFont bold = font;
    bold.setBold(true);
    Label1->setFont(bold);
    Label2 = makeLabel(this, "Label2", 16, 40);
    Label3 = makeLabel(this, "Label3", 16, 64);
    Label4 = makeLabel(this, "Label4", 16, 88);
    Label5 = makeLabel(this, "Label5", 16, 132);

    auto* memo = new PressReportingMemo(this, [this] { Memo1MouseDown(); });
    Memo1 = memo;
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(16, 192, 369, 113);
    Memo1->setReadOnly(true);
    // Read-only, yet the keyboard moves the caret and selects, as in any read-only edit box.
    Memo1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Memo1->setFrameStyle(QFrame::NoFrame);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo1->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    Memo1->viewport()->setCursor(Qt::ArrowCursor);
    Memo1->document()->setDocumentMargin(1);
    // The one control that takes the focus, so it holds it whenever the window is up.
    Memo1->setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(Memo1);
}

// A failure while the texts are set is reported at once and start-up goes on
// with the window as far as it got.
void TFH::RunFormCreate() {
    try {
        FormCreate();
    } catch (const std::exception& failure) {
        orvelin::platform::showStandardErrorBoxFor(&failure);
    } catch (...) {
        orvelin::platform::showStandardErrorBoxFor(nullptr);
    }
}

void TFH::FormCreate() {
    Label1->setText(QStringLiteral("Orvelin"));
    fitSingleLine(Label1);
    Label2->setText(QStringLiteral("Версия: 2.1"));
    fitSingleLine(Label2);
    Label3->setText(QStringLiteral("Автор: команда Orvelin"));
    fitSingleLine(Label3);
    Label4->setText(QStringLiteral("E-mail: orvelin@example.org"));
    fitSingleLine(Label4);
    Label5->setText(QStringLiteral("Программа распространяется бесплатно.\n"
                                   "Разрешается свободно использовать и\n"
                                   "передавать её другим в неизменном виде."));
    Label5->adjustSize();

    Memo1->clear();
    Memo1->appendPlainText(QStringLiteral("     Orvelin - программа для кодирования (шифрования) текста."));
    Memo1->appendPlainText(QStringLiteral(
        "     Для кодирования (зашифровки), при запуске программы необходимо ввести код на основе, "
        "которого будет происходить кодирование текста. Затем копируете в окно программы текст, "
        "который необходимо закодировать и нажимаете кнопку кодировать."));
    Memo1->appendPlainText(QStringLiteral(
        "     Для декодирования (расшифровки), при запуске программы вводите код на основе, "
        "которого происходило кодирование. Затем загружаете в программу текст и нажимаете "
        "кнопку декодировать."));
}

void TFH::FormDblClick() {
    // No owner, and blocking nothing: the About window stays usable while the box is up.
    orvelin::platform::MessageBoxRequest box;
    box.text = QStringLiteral("Программа Orvelin создана в июле 2009 года.");
    box.caption = QStringLiteral("Information");
    box.icon = orvelin::platform::Icon::Information;
    box.blocksNoWindow = true;
    orvelin::platform::prompts().messageBox(box);
}

void TFH::Memo1MouseDown() {
    QTextCursor atEnd = Memo1->textCursor();
    atEnd.movePosition(QTextCursor::End);
    Memo1->setTextCursor(atEnd);
}

void TFH::mouseDoubleClickEvent(QMouseEvent* event) {
    // Only the window's own background reacts: the margin around Bevel1.
    // Presses that labels and frames let through arrive here too, so look at
    // what lies under the pointer rather than at who sent the event.
    if (childAt(event->position().toPoint()) == nullptr) {
        event->accept();
        FormDblClick();
        return;
    }
    QDialog::mouseDoubleClickEvent(event);
}

void TFH::keyPressEvent(QKeyEvent* event) {
    // The window has no Cancel button, so Escape must not close it.
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFH::setVisible(bool visible) {
    if (visible == isVisible()) {
        QDialog::setVisible(visible);
        return;
    }
    if (visible) {
        activeBeforeShow_ = QApplication::activeWindow();
        PlaceAtFirstShow();
        QDialog::setVisible(true);
        return;
    }
    QDialog::setVisible(false);
    // Hand the activation back to the window the user came from.
    if (activeBeforeShow_ && activeBeforeShow_ != this && activeBeforeShow_->isVisible())
        activeBeforeShow_->activateWindow();
    activeBeforeShow_.clear();
}

void TFH::PlaceAtFirstShow() {
    if (shownBefore_) return;
    shownBefore_ = true;
    auto* app = orvelin::platform::application();
    QWidget* mainForm = app ? app->mainForm() : nullptr;
    if (mainForm == nullptr || mainForm == this) return;
    orvelin::platform::centreOverFormAtFirstShow(this, mainForm, QApplication::activeWindow());
}
