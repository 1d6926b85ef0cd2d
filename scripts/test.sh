#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the full
# suite headless; the Qt-free code again under AddressSanitizer and UBSan with
# a short bounded fuzz run; the install and the Debian package; and the Windows
# cross build of the Qt-free parts.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)
started=$SECONDS
step() { printf '== %s (%ds)\n' "$*" $((SECONDS - started)); }

step "build: configuring and building everything"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$jobs"

step "tests: the whole suite, headless"
log=build/ctest-summary.log
set +e
ctest --test-dir build --output-on-failure -j "$jobs" 2>&1 | tee "$log"
suite=${PIPESTATUS[0]}
set -e

step "sanitizers and fuzzing"
bash scripts/sanitize-and-fuzz.sh

step "install and package"
bash scripts/check-install.sh build

step "Windows cross build"
bash scripts/cross-windows.sh build-win

step "done"
# One closing line for whoever reads the end of the log.
total=$(sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\2/p' "$log" | tail -1)
failed=$(sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\1/p' "$log" | tail -1)
total=${total:-0}; failed=${failed:-0}
echo "tests: $((total - failed)) passed, $failed failed"
exit "$suite"
