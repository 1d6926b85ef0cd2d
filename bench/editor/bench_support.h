#pragma once
// What the editor's benchmark measures with: its inputs, a timer taking
// medians of wall clock and processor time, and the printed table.

#include <QString>
#include <cstddef>
#include <functional>
#include <string>

class QAbstractScrollArea;

namespace orvelin::bench {

constexpr int kEditorWidth = 770;
constexpr int kEditorHeight = 478;  // the main window's client area less tool bar and status bar
constexpr std::size_t kKiB = 1024;
constexpr const char* kSessionCode = "orvelin7";

struct Input {
    std::size_t plainSize;
    std::string plain;  // prose with CR LF lines
    std::string encoded;  // one line with no break
    QString encodedUnicode;
};

Input makeInput(std::size_t plainSize);
int runsFor(const Input& input);

// Wall clock and this process's processor time: the machine is shared, and
// the processor time shows what the work itself cost.
struct Timing {
    double wallMs;
    double cpuMs;
};

// The medians of `runs` timings of `timed`, each after an untimed `prepare`.
Timing medianMs(int runs, const std::function<void()>& prepare, const std::function<void()>& timed);

// Laid out and painted: what the user waits for before seeing the text.
void showNow(QAbstractScrollArea& editor);

void printHeader();
void printRow(const std::string& what, const Input& input, Timing timing, const std::string& note = {});

}  // namespace orvelin::bench
