// How long the editor takes to show a coding result and to take a keystroke,
// for each way of wrapping lines, next to Qt's own editors and a memcpy of
// the same bytes; and, when built with the windows' test fixture, the main
// window's Encode and Decode. Prints a table; runs headless.

#include "bench_support.h"
#include "forms/EightBitEdit.h"
#include "platform/ui/application.h"
#ifdef ORVELIN_BENCH_MAIN_WINDOW
#include "window_measures.h"
#endif

#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace {

using namespace orvelin::bench;

// One way to set up the editor: how it wraps and whether text is shaped.
struct Variant {
    const char* name;
    QTextOption::WrapMode wrap;
    bool shaped;
};

const Variant kVariants[] = {
    {"as built (WrapAtWordBoundaryOrAnywhere, unshaped)", QTextOption::WrapAtWordBoundaryOrAnywhere, false},
    {"WrapAnywhere, unshaped", QTextOption::WrapAnywhere, false},
    {"WordWrap, unshaped", QTextOption::WordWrap, false},
    {"WrapAtWordBoundaryOrAnywhere, shaped", QTextOption::WrapAtWordBoundaryOrAnywhere, true},
};

template <class Editor>
std::unique_ptr<Editor> shownEditor()
{
    auto editor = std::make_unique<Editor>();
    editor->resize(kEditorWidth, kEditorHeight);
    editor->show();
    showNow(*editor);
    return editor;
}

std::unique_ptr<EightBitEdit> shownEditor(const Variant& variant)
{
    auto editor = shownEditor<EightBitEdit>();
    editor->setWordWrapMode(variant.wrap);
    if (variant.shaped) {
        QFont shaped;
        shaped.setStyleStrategy(QFont::PreferDefault);
        shaped.setKerning(true);
        editor->setFont(shaped);
    }
    showNow(*editor);
    return editor;
}

// Times putting a text into a fresh, shown editor until it is shown; leaves
// the last editor in `editor`.
template <class Editor>
Timing timeShowing(const Input& input, std::unique_ptr<Editor>& editor,
                   const std::function<std::unique_ptr<Editor>()>& makeEditor,
                   const std::function<void(Editor&)>& putText)
{
    const auto prepare = [&] {
        editor.reset();  // one editor's text in memory at a time
        editor = makeEditor();
    };
    return medianMs(runsFor(input), prepare,
                    [&] {
                        putText(*editor);
                        showNow(*editor);
                    });
}

// More than one line, and none wider than the editor: the text wraps at the
// editor's width instead of running off to the right.
bool wrapsAtWidth(const QAbstractScrollArea& editor, const QTextBlock& block)
{
    const QTextLayout* layout = block.layout();
    if (!layout || layout->lineCount() < 2)
        return false;
    for (int line = 0; line < layout->lineCount(); ++line) {
        if (layout->lineAt(line).naturalTextWidth() > editor.viewport()->width())
            return false;
    }
    return true;
}

void measureBaselines(const Input& input)
{
    std::string copy(input.encoded.size(), '\0');
    printRow("baseline: memcpy of the encoded bytes", input, medianMs(runsFor(input), [] {}, [&] {
                 std::memcpy(copy.data(), input.encoded.data(), input.encoded.size());
             }));

    std::unique_ptr<QPlainTextEdit> plainEdit;
    printRow("baseline: stock QPlainTextEdit::setPlainText", input,
             timeShowing<QPlainTextEdit>(input, plainEdit, shownEditor<QPlainTextEdit>,
                                         [&](QPlainTextEdit& e) { e.setPlainText(input.encodedUnicode); }));

    std::unique_ptr<QTextEdit> textEdit;
    printRow("stock QTextEdit::setPlainText", input,
             timeShowing<QTextEdit>(input, textEdit, shownEditor<QTextEdit>,
                                    [&](QTextEdit& e) { e.setPlainText(input.encodedUnicode); }));
}

// setText8 of the encoded text until shown, and at 1 MiB a keystroke typed
// into the result until shown again.
void measureVariant(const Input& input, const Variant& variant)
{
    std::unique_ptr<EightBitEdit> editor;
    const Timing set = timeShowing<EightBitEdit>(
        input, editor, [&] { return shownEditor(variant); }, [&](EightBitEdit& e) { e.setText8(input.encoded); });
    const bool wraps = wrapsAtWidth(*editor, editor->document()->firstBlock());
    printRow(std::string("setText8 encoded, ") + variant.name, input, set,
             wraps ? "wraps at width" : "DOES NOT WRAP at width");

    if (input.plainSize != kKiB * kKiB)
        return;
    printRow(std::string("keystroke into it, ") + variant.name, input,
             medianMs(3, [] {}, [&] {
                 QTest::keyClick(editor.get(), Qt::Key_A);
                 showNow(*editor);
             }));
}

void measurePlainLoad(const Input& input)
{
    std::unique_ptr<EightBitEdit> editor;
    printRow("setText8 plain text (CR LF lines), as built", input,
             timeShowing<EightBitEdit>(input, editor, shownEditor<EightBitEdit>,
                                       [&](EightBitEdit& e) { e.setText8(input.plain); }));
}

void measureText8(const Input& input)
{
    EightBitEdit editor;
    std::size_t sink = 0;
    editor.setText8(input.encoded);
    printRow("text8 of the encoded text", input,
             medianMs(runsFor(input), [] {}, [&] { sink += editor.text8().size(); }));
    editor.setText8(input.plain);
    printRow("text8 of the plain text", input,
             medianMs(runsFor(input), [] {}, [&] { sink += editor.text8().size(); }));
    printRow("length8 of the plain text", input,
             medianMs(runsFor(input), [] {}, [&] { sink += editor.length8(); }));
    if (sink == 0)
        std::puts("(nothing measured)");
}

// The headless platform says so each time a window is raised or resized;
// that would drown the table.
void dropHeadlessPlatformNotices(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.startsWith(QStringLiteral("This plugin does not support")))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(dropHeadlessPlatformNotices);
    orvelin::platform::Application application(argc, argv);

    // "--quick": only the editor as built on the large texts, for a fast
    // before-and-after look.
    const bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;

    std::printf("editor %dx%d; medians of 5 runs (3 from 1 MiB); sizes are of the plain text,\n"
                "the encoded text is 2..4 times larger and one line with no break\n\n",
                kEditorWidth, kEditorHeight);
    printHeader();
    for (const std::size_t size : {100 * kKiB, kKiB * kKiB, 4 * kKiB * kKiB}) {
        if (quick && size < kKiB * kKiB)
            continue;
        const Input input = makeInput(size);
        std::printf("plain %zu KiB -> encoded %zu KiB\n", size / kKiB, input.encoded.size() / kKiB);
        if (quick) {
            measureVariant(input, kVariants[0]);
            std::puts("");
            continue;
        }
        measureBaselines(input);
        for (const Variant& variant : kVariants)
            measureVariant(input, variant);
        measurePlainLoad(input);
        measureText8(input);
#ifdef ORVELIN_BENCH_MAIN_WINDOW
        measureMainWindow(input);
#endif
        std::puts("");
    }
    return 0;
}
