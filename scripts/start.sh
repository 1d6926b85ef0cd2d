#!/usr/bin/env bash
# Installs what is missing, builds Orvelin and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVELIN_TESTS=OFF -DORVELIN_BENCH=OFF >/dev/null
cmake --build build --target orvelin orvelin-codec
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display: run this from a desktop session, or under a virtual one: xvfb-run -a build/app/orvelin" >&2
  exit 1
fi
exec build/app/orvelin
