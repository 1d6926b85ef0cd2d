#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the full
# suite headless, the codec again under AddressSanitizer and UBSan, and a
# short bounded fuzz run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

if [ -x scripts/sanitize-and-fuzz.sh ] || [ -f scripts/sanitize-and-fuzz.sh ]; then
  bash scripts/sanitize-and-fuzz.sh
fi
