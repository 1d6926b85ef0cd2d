// Feeds every file of a corpus directory to one fuzz target, so that the
// seed corpus and any found crash inputs run as ordinary tests with any
// compiler: fuzz_replay <decode|round_trip> <file or directory>...

#include "fuzz/fuzz_targets.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Target = void (*)(const std::uint8_t*, std::size_t);

std::vector<fs::path> inputFiles(const fs::path& path) {
    if (!fs::is_directory(path)) return {path};
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(path))
        if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

bool replay(Target target, const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", file.string().c_str());
        return false;
    }
    // An exactly sized copy: a read past the end is a read past the buffer.
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::vector<std::uint8_t> data(bytes.begin(), bytes.end());
    target(data.data(), data.size());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <decode|round_trip> <file or directory>...\n", argv[0]);
        return 2;
    }
    Target target = nullptr;
    if (std::strcmp(argv[1], "decode") == 0) target = &orvelin::fuzz::decodeTarget;
    if (std::strcmp(argv[1], "round_trip") == 0) target = &orvelin::fuzz::roundTripTarget;
    if (target == nullptr) {
        std::fprintf(stderr, "unknown target %s\n", argv[1]);
        return 2;
    }
    std::size_t count = 0;
    for (int i = 2; i < argc; ++i) {
        for (const fs::path& file : inputFiles(argv[i])) {
            if (!replay(target, file)) return 1;
            ++count;
        }
    }
    std::printf("%s: %zu inputs replayed\n", argv[1], count);
    return count > 0 ? 0 : 1;
}
