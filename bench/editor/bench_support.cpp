#include "bench_support.h"

#include "bench/codec/plain_text.h"
#include "codec/codec.h"
#include "platform/codepage/cp1251.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace orvelin::bench {

namespace {

double cpuNowMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

Input makeInput(std::size_t plainSize)
{
    Input input{plainSize, plainText(plainSize), {}, {}};
    codec::encode(input.plain, kSessionCode, input.encoded);
    input.encodedUnicode = QString::fromStdU16String(cp1251::toUtf16(input.encoded));
    return input;
}

int runsFor(const Input& input)
{
    return input.plainSize >= kKiB * kKiB ? 3 : 5;
}

Timing medianMs(int runs, const std::function<void()>& prepare, const std::function<void()>& timed)
{
    std::vector<double> wall;
    std::vector<double> cpu;
    for (int run = 0; run < runs; ++run) {
        prepare();
        const double cpuStart = cpuNowMs();
        QElapsedTimer clock;
        clock.start();
        timed();
        wall.push_back(clock.nsecsElapsed() / 1e6);
        cpu.push_back(cpuNowMs() - cpuStart);
    }
    return {median(wall), median(cpu)};
}

void showNow(QAbstractScrollArea& editor)
{
    QApplication::processEvents();
    editor.viewport()->repaint();
}

void printHeader()
{
    std::printf("%-62s %9s %11s %11s\n", "what", "plain", "wall ms", "cpu ms");
}

void printRow(const std::string& what, const Input& input, Timing timing, const std::string& note)
{
    std::printf("%-62s %5zu KiB %11.2f %11.2f  %s\n", what.c_str(), input.plainSize / kKiB, timing.wallMs,
                timing.cpuMs, note.c_str());
    std::fflush(stdout);
}

}  // namespace orvelin::bench
