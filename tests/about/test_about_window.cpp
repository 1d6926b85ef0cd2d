// The About window: its texts, which double clicks react, the memo's caret,
// placement, modality and Escape.

#include "forms/Code3.h"
#include "platform/ui/application.h"
#include "platform/ui/placement.h"
#include "support/recording_prompts.h"

#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedPointer>
#include <QScrollBar>
#include <QTest>
#include <QTextCursor>
#include <QTimer>
#include <QWindow>
#include <functional>

using orvelin::platform::Icon;
using orvelin::testing::RecordingPrompts;

namespace {

const QStringList kDescription = {
    QStringLiteral("     Orvelin - программа для кодирования (шифрования) текста."),
    QStringLiteral("     Для кодирования (зашифровки), при запуске программы необходимо ввести код на основе, "
                   "которого будет происходить кодирование текста. Затем копируете в окно программы текст, "
                   "который необходимо закодировать и нажимаете кнопку кодировать."),
    QStringLiteral("     Для декодирования (расшифровки), при запуске программы вводите код на основе, "
                   "которого происходило кодирование. Затем загружаете в программу текст и нажимаете "
                   "кнопку декодировать."),
};

// Runs `inspect` once the window's modal run has started, then closes the
// window as its close box would.
void whileShownModally(TFH* window, const std::function<void()>& inspect) {
    bool inspected = false;
    QTimer::singleShot(0, window, [&] {
        inspect();
        inspected = true;
        window->close();
    });
    // Should the inspection fail half-way, still end the run.
    QTimer::singleShot(5000, window, [window] { window->close(); });
    window->exec();
    QVERIFY2(inspected, "the modal run ended before the window was looked at");
}

// Sends the press straight to the memo's viewport, as its mouse handler
// receives it; a right press through the window system would also open the
// memo's context menu, which no one is there to close.
void pressInMemo(QPlainTextEdit* memo, QEvent::Type type, Qt::MouseButton button, QPoint at) {
    QWidget* target = memo->viewport();
    QMouseEvent press(type, at, target->mapToGlobal(at), button, button, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &press);
}

void releaseInMemo(QPlainTextEdit* memo, Qt::MouseButton button, QPoint at) {
    QWidget* target = memo->viewport();
    QMouseEvent release(QEvent::MouseButtonRelease, at, target->mapToGlobal(at), button, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(target, &release);
}

// Clicks `button` through its window, as the window system would deliver the
// click, so that a modal window elsewhere can block it.
void clickThroughWindow(QPushButton* button) {
    QWindow* window = button->window()->windowHandle();
    const QPoint at = button->mapTo(button->window(), button->rect().center());
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, at);
}

int memoLength(const QPlainTextEdit* memo) { return memo->document()->characterCount() - 1; }

}  // namespace

class AboutWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void formCreateSetsTheTexts();
    void windowHasTheFormsLook();
    void textsFitTheirPlaces();
    void doubleClickOnMarginShowsCreationBoxWithoutOwner_data();
    void doubleClickOnMarginShowsCreationBoxWithoutOwner();
    void doubleClickInsideFrameShowsNothing_data();
    void doubleClickInsideFrameShowsNothing();
    void pressInMemoLeavesCaretAtEndUnselected_data();
    void pressInMemoLeavesCaretAtEndUnselected();
    void dragAfterPressStillSelects();
    void firstShowingIsCentredOverMainForm();
    void laterShowingKeepsMovedPosition();
    void isModalWithMemoFocusedAndEscapeIgnored();
    void closingReactivatesPreviousWindow();
    void savesScreenshot();

private:
    QScopedPointer<QWidget> mainForm_;    // stands in for the session code dialog
    QScopedPointer<QWidget> mainWindow_;  // stands in for the main window
    QPushButton* mainWindowButton_ = nullptr;
    QScopedPointer<TFH> about_;
};

// The same start-up order as the program's: main form, main window, About.
void AboutWindowTest::initTestCase() {
    mainForm_.reset(new QWidget);
    orvelin::platform::application()->registerForm(mainForm_.get());
    mainWindow_.reset(new QWidget);
    orvelin::platform::application()->registerForm(mainWindow_.get());
    mainWindowButton_ = new QPushButton(QStringLiteral("probe"), mainWindow_.get());
    mainWindow_->show();
}

void AboutWindowTest::init() {
    mainForm_->setGeometry(900, 500, 322, 116);
    mainWindow_->setGeometry(20, 20, 770, 524);
    mainWindow_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(mainWindow_.get()));
    about_.reset(new TFH);
    FH = about_.get();
}

void AboutWindowTest::cleanup() {
    FH = nullptr;
    about_.reset();
}

void AboutWindowTest::formCreateSetsTheTexts() {
    TFH& about = *about_;
    QCOMPARE(about.windowTitle(), QStringLiteral("О программе"));
    QCOMPARE(about.Label1->text(), QStringLiteral("Orvelin"));
    QCOMPARE(about.Label2->text(), QStringLiteral("Версия: 2.1"));
    QVERIFY(about.Label3->text().startsWith(QStringLiteral("Автор: ")));
    QVERIFY(about.Label4->text().startsWith(QStringLiteral("E-mail: ")));
    const QStringList notice = about.Label5->text().split(QLatin1Char('\n'));
    QCOMPARE(notice.size(), 3);
    for (const QString& line : notice) QVERIFY(!line.trimmed().isEmpty());
    QCOMPARE(about.Memo1->toPlainText(), kDescription.join(QLatin1Char('\n')));
    QCOMPARE(about.Memo1->blockCount(), 3);
}

void AboutWindowTest::windowHasTheFormsLook() {
    TFH& about = *about_;
    QCOMPARE(about.size(), QSize(401, 321));
    QCOMPARE(about.minimumSize(), about.maximumSize());
    QVERIFY(!(about.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(about.windowFlags() & Qt::WindowCloseButtonHint);
    QCOMPARE(about.palette().color(QPalette::Window), QColor(255, 251, 240));
    QCOMPARE(about.Memo1->palette().color(QPalette::Base), QColor(255, 251, 240));
    QCOMPARE(about.font().pixelSize(), 11);
    QVERIFY(about.Label1->font().bold());

    QCOMPARE(about.Bevel1->geometry(), QRect(8, 8, 385, 305));
    QCOMPARE(about.Bevel2->geometry(), QRect(16, 88, 366, 26));
    QCOMPARE(about.Memo1->geometry(), QRect(16, 192, 369, 113));
    const QList<QPair<QLabel*, QPoint>> labels = {{about.Label1, {16, 16}}, {about.Label2, {16, 40}},
                                                  {about.Label3, {16, 64}}, {about.Label4, {16, 88}},
                                                  {about.Label5, {16, 132}}};
    for (const auto& [label, at] : labels) {
        QCOMPARE(label->pos(), at);
        QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->objectName() + " is cut"));
    }
    QCOMPARE(about.Label1->height(), 13);
    QCOMPARE(about.Label5->size(), about.Label5->sizeHint());

    QVERIFY(about.Memo1->isReadOnly());
    QCOMPARE(about.Memo1->frameShape(), QFrame::NoFrame);
    QCOMPARE(about.Memo1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(about.Memo1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(about.Memo1->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QCOMPARE(about.Memo1->viewport()->cursor().shape(), Qt::ArrowCursor);

    // The memo is the only control that takes the focus.
    for (QWidget* child : about.findChildren<QWidget*>()) {
        const bool inMemo = child == about.Memo1 || about.Memo1->isAncestorOf(child);
        if (!inMemo) QCOMPARE(child->focusPolicy(), Qt::NoFocus);
    }
}

// The memo has no scroll bars: text past its bottom could not be read.
void AboutWindowTest::textsFitTheirPlaces() {
    about_->show();
    QVERIFY(QTest::qWaitForWindowExposed(about_.get()));
    QCOMPARE(about_->Memo1->verticalScrollBar()->maximum(), 0);
    QVERIFY(about_->Label5->geometry().bottom() < about_->Memo1->y());
    for (QLabel* label : about_->findChildren<QLabel*>())
        QVERIFY2(label->geometry().right() < about_->Bevel1->geometry().right(), qPrintable(label->objectName()));
}

void AboutWindowTest::doubleClickOnMarginShowsCreationBoxWithoutOwner_data() {
    QTest::addColumn<QPoint>("at");
    QTest::newRow("top-left corner") << QPoint(2, 2);
    QTest::newRow("left margin") << QPoint(4, 150);
    QTest::newRow("right margin") << QPoint(396, 100);
    QTest::newRow("bottom margin") << QPoint(200, 317);
}

void AboutWindowTest::doubleClickOnMarginShowsCreationBoxWithoutOwner() {
    QFETCH(QPoint, at);
    RecordingPrompts prompts;
    about_->show();
    QVERIFY(QTest::qWaitForWindowExposed(about_.get()));
    QTest::mouseDClick(about_.get(), Qt::LeftButton, Qt::NoModifier, at);
    QCOMPARE(prompts.messages.size(), 1);
    const auto& box = prompts.messages.first();
    QCOMPARE(box.text, QStringLiteral("Программа Orvelin создана в июле 2009 года."));
    QCOMPARE(box.caption, QStringLiteral("Information"));
    QCOMPARE(box.icon, Icon::Information);
    QCOMPARE(box.buttons, orvelin::platform::Buttons::Ok);
    QCOMPARE(box.owner, nullptr);
    QVERIFY(box.blocksNoWindow);
}

void AboutWindowTest::doubleClickInsideFrameShowsNothing_data() {
    QTest::addColumn<QString>("childName");
    QTest::addColumn<QPoint>("at");  // in the child's coordinates
    QTest::newRow("frame edge") << "Bevel1" << QPoint(1, 150);
    QTest::newRow("inside frame, off the labels") << "Bevel1" << QPoint(370, 20);
    QTest::newRow("line bevel") << "Bevel2" << QPoint(300, 24);
    QTest::newRow("bold label") << "Label1" << QPoint(5, 6);
    QTest::newRow("version label") << "Label2" << QPoint(5, 6);
    QTest::newRow("notice label") << "Label5" << QPoint(20, 20);
    QTest::newRow("memo") << "Memo1" << QPoint(50, 30);
}

void AboutWindowTest::doubleClickInsideFrameShowsNothing() {
    QFETCH(QString, childName);
    QFETCH(QPoint, at);
    RecordingPrompts prompts;
    about_->show();
    QVERIFY(QTest::qWaitForWindowExposed(about_.get()));
    auto* child = about_->findChild<QWidget*>(childName);
    QVERIFY(child);
    QWidget* target = child == about_->Memo1 ? about_->Memo1->viewport() : child;
    QTest::mouseDClick(target, Qt::LeftButton, Qt::NoModifier, at);
    QCOMPARE(prompts.messages.size(), 0);
}

void AboutWindowTest::pressInMemoLeavesCaretAtEndUnselected_data() {
    QTest::addColumn<QEvent::Type>("type");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<bool>("selectFirst");
    QTest::newRow("left, in a word") << QEvent::MouseButtonPress << Qt::LeftButton << QPoint(60, 5) << false;
    QTest::newRow("left, over a selection") << QEvent::MouseButtonPress << Qt::LeftButton << QPoint(60, 20) << true;
    QTest::newRow("right") << QEvent::MouseButtonPress << Qt::RightButton << QPoint(60, 20) << true;
    QTest::newRow("middle") << QEvent::MouseButtonPress << Qt::MiddleButton << QPoint(30, 40) << true;
    QTest::newRow("double, selects a word first") << QEvent::MouseButtonDblClick << Qt::LeftButton << QPoint(60, 5)
                                                  << false;
}

void AboutWindowTest::pressInMemoLeavesCaretAtEndUnselected() {
    QFETCH(QEvent::Type, type);
    QFETCH(Qt::MouseButton, button);
    QFETCH(QPoint, at);
    QFETCH(bool, selectFirst);
    QPlainTextEdit* memo = about_->Memo1;
    about_->show();
    QVERIFY(QTest::qWaitForWindowExposed(about_.get()));
    if (selectFirst) {
        QTextCursor selection = memo->textCursor();
        selection.setPosition(3);
        selection.setPosition(40, QTextCursor::KeepAnchor);
        memo->setTextCursor(selection);
    }

    if (type == QEvent::MouseButtonDblClick) pressInMemo(memo, QEvent::MouseButtonPress, button, at);
    pressInMemo(memo, type, button, at);
    // Checked before the release: the caret moves as the press is handled.
    QCOMPARE(memo->textCursor().position(), memoLength(memo));
    QVERIFY(!memo->textCursor().hasSelection());
    releaseInMemo(memo, button, at);
    QCOMPARE(memo->textCursor().position(), memoLength(memo));
    QVERIFY(!memo->textCursor().hasSelection());
    QCOMPARE(memo->toPlainText(), kDescription.join(QLatin1Char('\n')));
}

void AboutWindowTest::dragAfterPressStillSelects() {
    QPlainTextEdit* memo = about_->Memo1;
    about_->show();
    QVERIFY(QTest::qWaitForWindowExposed(about_.get()));
    pressInMemo(memo, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(60, 5));
    QWidget* viewport = memo->viewport();
    const QPoint to(120, 30);
    QMouseEvent move(QEvent::MouseMove, to, viewport->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &move);
    releaseInMemo(memo, Qt::LeftButton, to);
    QVERIFY(memo->textCursor().hasSelection());

    // And the keyboard selects from the caret.
    memo->setFocus();
    QTest::keyClick(memo, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(memo, Qt::Key_Home, Qt::ShiftModifier);
    QVERIFY(memo->textCursor().hasSelection());
}

void AboutWindowTest::firstShowingIsCentredOverMainForm() {
    // The main window is the active one; the main form decides the place.
    const QRect owner = mainForm_->frameGeometry();
    whileShownModally(about_.get(), [&] {
        QCOMPARE(about_->frameGeometry().topLeft(),
                 orvelin::platform::centredOver(owner, about_->frameGeometry().size()));
    });
}

void AboutWindowTest::laterShowingKeepsMovedPosition() {
    whileShownModally(about_.get(), [&] { about_->move(37, 53); });
    QVERIFY(about_->isHidden());
    whileShownModally(about_.get(), [&] { QCOMPARE(about_->pos(), QPoint(37, 53)); });
}

void AboutWindowTest::isModalWithMemoFocusedAndEscapeIgnored() {
    int probeClicks = 0;
    connect(mainWindowButton_, &QPushButton::clicked, this, [&] { ++probeClicks; });
    whileShownModally(about_.get(), [&] {
        QCOMPARE(QApplication::activeModalWidget(), about_.get());
        QVERIFY(QTest::qWaitForWindowActive(about_.get()));
        QCOMPARE(QApplication::focusWidget(), about_->Memo1);

        clickThroughWindow(mainWindowButton_);
        QCOMPARE(probeClicks, 0);

        QTest::keyClick(about_->Memo1, Qt::Key_Escape);
        QTest::keyClick(about_.get(), Qt::Key_Escape);
        QVERIFY(about_->isVisible());
    });
    QVERIFY(about_->isHidden());
    clickThroughWindow(mainWindowButton_);
    QCOMPARE(probeClicks, 1);
}

void AboutWindowTest::closingReactivatesPreviousWindow() {
    QCOMPARE(QApplication::activeWindow(), mainWindow_.get());
    whileShownModally(about_.get(), [&] { QVERIFY(QTest::qWaitForWindowActive(about_.get())); });
    QVERIFY(QTest::qWaitForWindowActive(mainWindow_.get()));
}

void AboutWindowTest::savesScreenshot() {
    about_->show();
    QVERIFY(QTest::qWaitForWindowExposed(about_.get()));
    const QString folder = QStringLiteral(ORVELIN_SCREENSHOT_DIR);
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(about_->grab().save(folder + QStringLiteral("/about.png")));
}

int main(int argc, char** argv) {
    orvelin::platform::Application app(argc, argv);
    AboutWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_about_window.moc"
