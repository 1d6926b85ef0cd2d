#include "forms_fixture.h"

#include "forms/Code.h"
#include "forms/Code1.h"
#include "forms/Code3.h"
#include "forms/FormLook.h"
#include "platform/codepage/cp1251.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace orvelin::testing {

namespace {

Qt::Key keyOf(QChar character) {
    const char16_t c = character.toUpper().unicode();
    if ((c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u' ') return Qt::Key(c);
    return Qt::Key_unknown;
}

}  // namespace

FormsFixture::FormsFixture(std::size_t editorCapacity) {
    Trivor = new TTrivor;
    Uwens = new TUwens(nullptr, editorCapacity);
    FH = new TFH;
    orvelin::forms::bringToFront(Trivor);
    Trivor->MaskEdit1->setFocus();
    QTest::qWaitForWindowActive(Trivor);
}

FormsFixture::~FormsFixture() {
    delete FH;
    FH = nullptr;
    delete Uwens;
    delete Trivor;
}

void FormsFixture::typeCode(const QString& text) { typeText(Trivor->MaskEdit1, text); }

void FormsFixture::acceptCode(const QString& code) {
    typeCode(code);
    QTest::mouseClick(Trivor->Button1, Qt::LeftButton);
}

void FormsFixture::putText(std::string_view bytes) {
    Uwens->SMT->setText8(bytes);
    Uwens->SMT->setFocus();
}

QString FormsFixture::statusText() const { return Uwens->StatusPanel0->text(); }

void typeText(QWidget* target, const QString& text) {
    for (const QChar character : text)
        QTest::sendKeyEvent(QTest::Click, target, keyOf(character), QString(character), Qt::NoModifier);
}

std::string bytes1251(const QString& text) { return cp1251::fromUtf16(text.toStdU16String()); }

QString charCountText(std::size_t length) {
    return QStringLiteral("Количество символов: %1").arg(length);
}

}  // namespace orvelin::testing
