// Throughput of encode and decode on plain text and random bytes, beside a
// memcpy of the same size measured in the same run. Figures are MB/s of
// plain text; the summary at the end gives each as a share of memcpy.

#include "codec/codec.h"
#include "codec/kernel_choice.h"
#include "heap_meter.h"
#include "plain_text.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace orvelin::bench {
namespace {

// Seven characters: the decoder's division is not a mere shift.
const std::string kCode = "orvelin";

enum class Kind { Plain, Random };

const char* nameOf(Kind kind) { return kind == Kind::Plain ? "plain" : "random"; }

const std::string& plainInput(Kind kind, std::size_t size) {
    static std::map<std::pair<Kind, std::size_t>, std::string> made;
    std::string& text = made[{kind, size}];
    if (text.empty()) text = kind == Kind::Plain ? plainText(size) : randomText(size);
    return text;
}

const std::string& encodedInput(Kind kind, std::size_t size) {
    static std::map<std::pair<Kind, std::size_t>, std::string> made;
    std::string& text = made[{kind, size}];
    if (text.empty()) codec::encode(plainInput(kind, size), kCode, text);
    return text;
}

using Operation = codec::Outcome (*)(std::string_view, std::string_view, std::string&);

// The output string is reused between rounds, as a caller coding many texts
// would, and one untimed call first touches its pages, which would
// otherwise dominate the first round of a large size. The heap figure comes
// from one more call into a fresh string.
void measure(benchmark::State& state, Operation operation, const std::string& input,
             std::size_t plainSize) {
    std::string out;
    operation(input, kCode, out);
    for (auto _ : state) {
        if (operation(input, kCode, out) != codec::Outcome::Ok) state.SkipWithError("rejected");
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * plainSize));
    std::string fresh;
    const HeapPeak peak;
    operation(input, kCode, fresh);
    state.counters["heap/out"] = static_cast<double>(peak.bytes()) / static_cast<double>(fresh.size());
}

void encodeBenchmark(benchmark::State& state, Kind kind, std::size_t size) {
    measure(state, &codec::encode, plainInput(kind, size), size);
}

void decodeBenchmark(benchmark::State& state, Kind kind, std::size_t size) {
    measure(state, &codec::decode, encodedInput(kind, size), size);
}

void memcpyBenchmark(benchmark::State& state, std::size_t size) {
    const std::string& source = plainInput(Kind::Plain, size);
    std::vector<char> target(size);
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), size);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}

// The same on the portable loops alone, as on a processor without AVX-512.
void portableBenchmark(benchmark::State& state, bool encoding, Kind kind, std::size_t size) {
    codec::allowVectorKernels(false);
    if (encoding)
        encodeBenchmark(state, kind, size);
    else
        decodeBenchmark(state, kind, size);
    codec::allowVectorKernels(true);
}

std::string sizeName(std::size_t size) { return std::to_string(size >> 20) + "MiB"; }

void registerAll() {
    for (std::size_t size : {std::size_t{1} << 20, std::size_t{64} << 20}) {
        benchmark::RegisterBenchmark(("memcpy/" + sizeName(size)).c_str(), memcpyBenchmark, size);
        for (Kind kind : {Kind::Plain, Kind::Random}) {
            const std::string suffix = std::string("/") + nameOf(kind) + "/" + sizeName(size);
            benchmark::RegisterBenchmark(("encode" + suffix).c_str(), encodeBenchmark, kind, size);
            benchmark::RegisterBenchmark(("decode" + suffix).c_str(), decodeBenchmark, kind, size);
        }
    }
    if (!codec::vectorKernelsSupported()) return;
    const std::size_t size = std::size_t{1} << 20;
    const std::string suffix = "/plain/" + sizeName(size);
    benchmark::RegisterBenchmark(("encode-portable" + suffix).c_str(), portableBenchmark, true, Kind::Plain, size);
    benchmark::RegisterBenchmark(("decode-portable" + suffix).c_str(), portableBenchmark, false, Kind::Plain, size);
}

// The usual console table, then one line per coding run: its speed as a
// share of the memcpy of the same size.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const auto rate = run.counters.find("bytes_per_second");
            if (rate != run.counters.end()) speeds_.emplace_back(run.benchmark_name(), rate->second.value);
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        std::map<std::string, double> memcpyBySize;
        for (const auto& [name, speed] : speeds_)
            if (name.rfind("memcpy/", 0) == 0) memcpyBySize[name.substr(name.rfind('/') + 1)] = speed;
        std::printf("\n%-24s %10s %9s\n", "run", "MB/s", "x memcpy");
        for (const auto& [name, speed] : speeds_) {
            const auto base = memcpyBySize.find(name.substr(name.rfind('/') + 1));
            const double ratio = base == memcpyBySize.end() ? 0 : speed / base->second;
            std::printf("%-24s %10.0f %9.3f\n", name.c_str(), speed / 1e6, ratio);
        }
    }

private:
    std::vector<std::pair<std::string, double>> speeds_;
};

}  // namespace
}  // namespace orvelin::bench

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    orvelin::bench::registerAll();
    orvelin::bench::SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
