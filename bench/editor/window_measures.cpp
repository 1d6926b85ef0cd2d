#include "window_measures.h"

#include "bench_support.h"
#include "forms/Code.h"
#include "forms/EightBitEdit.h"
#include "forms_fixture.h"

#include <memory>
#include <string>
#include <string_view>

namespace orvelin::bench {

namespace {

using testing::FormsFixture;

// Fresh windows with a code accepted and `text` in the editor.
std::unique_ptr<FormsFixture> windowsHolding(std::string_view text)
{
    auto windows = std::make_unique<FormsFixture>();
    windows->acceptCode(QString::fromLatin1(kSessionCode));
    windows->putText(text);
    showNow(*Uwens->SMT);
    return windows;
}

// The boxes the run showed, e.g. the long-text warning and "Готово".
std::string boxesShown(const FormsFixture& windows)
{
    std::string boxes;
    for (const auto& box : windows.prompts.messages)
        boxes += (boxes.empty() ? "boxes: " : ", ") + box.caption.toStdString();
    return boxes;
}

void measureCommand(const char* what, const Input& input, std::string_view before, void (TUwens::*command)(),
                    const std::string& expected)
{
    std::unique_ptr<FormsFixture> windows;
    // The fixture works on the global windows: the old ones go before new ones come.
    const auto prepare = [&] {
        windows.reset();
        windows = windowsHolding(before);
    };
    const Timing timing = medianMs(runsFor(input), prepare,
                                   [&] {
                                       (Uwens->*command)();
                                       showNow(*Uwens->SMT);
                                   });
    const std::string outcome = Uwens->SMT->text8() == expected ? "result right; " : "RESULT WRONG; ";
    printRow(what, input, timing, outcome + boxesShown(*windows));
}

}  // namespace

void measureMainWindow(const Input& input)
{
    measureCommand("main window: Encode (N9Click) until shown", input, input.plain, &TUwens::N9Click,
                   input.encoded);
    measureCommand("main window: Decode (N10Click) until shown", input, input.encoded, &TUwens::N10Click,
                   input.plain);
}

}  // namespace orvelin::bench
