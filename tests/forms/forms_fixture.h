#pragma once
// The program's three windows, created as start-up creates them, with the
// prompts recorded instead of shown.

#include "forms/EightBitEdit.h"
#include "support/recording_prompts.h"

#include <QObject>
#include <QString>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

class QWidget;

namespace orvelin::testing {

class FormsFixture {
public:
    // The dialog ends up in front and active, with the focus in its field.
    explicit FormsFixture(std::size_t editorCapacity = EightBitEdit::kCapacity);
    ~FormsFixture();
    FormsFixture(const FormsFixture&) = delete;
    FormsFixture& operator=(const FormsFixture&) = delete;

    RecordingPrompts prompts;

    // Types into the session code field, key by key.
    void typeCode(const QString& text);
    // Types the code and clicks "Принять".
    void acceptCode(const QString& code = QStringLiteral("secret7"));
    // Puts bytes into the editor and the focus on it.
    void putText(std::string_view bytes);
    QString statusText() const;
};

// A test case whose every test function starts with fresh windows.
class FormsTestCase : public QObject {
    Q_OBJECT

private slots:
    void init() { forms_ = std::make_unique<FormsFixture>(); }
    void cleanup() { forms_.reset(); }

protected:
    std::unique_ptr<FormsFixture> forms_;
};

// One key press and release per character, carrying the character as text,
// as a keyboard delivers it; works for characters beyond Latin-1 too.
void typeText(QWidget* target, const QString& text);

// The bytes a text of Unicode characters has in Windows-1251.
std::string bytes1251(const QString& text);

// The text "Количество символов: n" of the status panel.
QString charCountText(std::size_t length);

}  // namespace orvelin::testing

// Qt Test's main, with the program's own application object, whose notify()
// shows escaped exceptions in the standard error box.
#define ORVELIN_FORMS_TEST_MAIN(TestClass)                          \
    int main(int argc, char** argv) {                               \
        orvelin::platform::Application application(argc, argv);     \
        TestClass test;                                              \
        return QTest::qExec(&test, argc, argv);                     \
    }
