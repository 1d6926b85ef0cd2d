#!/usr/bin/env bash
# Whole-process speed of orvelin-codec against coreutils base64 on the same
# plain text (64 MiB by default): encode vs base64, decode vs base64 -d, each
# decoder on its own encoder's output. Builds nothing.
#
# Use: bench/cli.sh BUILD_DIR [SIZE_MIB]
#   BUILD_DIR holds cli/orvelin-codec (cmake --build BUILD_DIR --target orvelin-codec).
# Output goes through a pipe (hyperfine --output=pipe), as in a shell pipeline.
set -euo pipefail

build="${1:?usage: bench/cli.sh BUILD_DIR [SIZE_MIB]}"
size_mib="${2:-64}"
companion="$(cd "$build" && pwd)/cli/orvelin-codec"
[ -x "$companion" ] || { echo "cli.sh: no $companion; build the orvelin-codec target first" >&2; exit 2; }

if ! command -v hyperfine >/dev/null 2>&1; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "cli.sh: hyperfine is missing (apt-get install hyperfine)" >&2
    exit 2
  fi
  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq hyperfine >/dev/null
fi

work="$(mktemp -d /tmp/orvelin-cli-bench-XXXXXX)"
trap 'rm -rf "$work"' EXIT

# About one MiB of Windows-1251 text, Cyrillic and Latin words in CR LF lines, then
# repeated: the programs' speed does not depend on the text repeating.
LC_ALL=C awk 'BEGIN {
  srand(7); size = 0
  while (size < 1048576) {
    line = ""
    for (w = int(rand() * 12) + 3; w > 0; --w) {
      len = int(rand() * 9) + 1
      for (i = 0; i < len; ++i) {
        c = rand() < 0.7 ? 192 + int(rand() * 64) : 97 + int(rand() * 26)
        line = line sprintf("%c", c)
      }
      line = line (w > 1 ? " " : "")
    }
    line = line ".\r\n"
    printf "%s", line
    size += length(line)
  }
}' > "$work/chunk.txt"
for _ in $(seq "$size_mib"); do cat "$work/chunk.txt"; done > "$work/plain.txt"
rm "$work/chunk.txt"

export ORVELIN_CODE="Тест-2024"
"$companion" encode "$work/plain.txt" -o "$work/plain.orv"
base64 "$work/plain.txt" > "$work/plain.b64"
"$companion" decode "$work/plain.orv" | cmp -s - "$work/plain.txt" \
  || { echo "cli.sh: orvelin-codec does not restore the text" >&2; exit 1; }

plain_mib="$(awk -v b="$(stat -c %s "$work/plain.txt")" 'BEGIN { printf "%.2f", b / 1048576 }')"
echo "plain text: $plain_mib MiB; encoded: orvelin $(( $(stat -c %s "$work/plain.orv") >> 20 )) MiB," \
     "base64 $(( $(stat -c %s "$work/plain.b64") >> 20 )) MiB"

# bench NAME OURS THEIRS: runs both and prints, for each, the median wall
# time, its throughput and the mean CPU time (user + system; less disturbed by
# other work on the machine), then how many times faster orvelin-codec is.
bench() {
  local name="$1" ours="$2" theirs="$3" csv="$work/$1.csv"
  hyperfine -N --output=pipe --warmup 1 --runs 10 --export-csv "$csv" "$ours" "$theirs" >/dev/null 2>&1
  # CSV columns: command,mean,stddev,median,user,system,min,max
  awk -F, -v name="$name" -v mib="$plain_mib" '
    NR == 2 { wall[1] = $4; cpu[1] = $5 + $6 }
    NR == 3 { wall[2] = $4; cpu[2] = $5 + $6 }
    END {
      printf "%s: orvelin-codec %7.1f ms wall (%4.0f MiB/s), %6.1f ms CPU | %-9s %7.1f ms wall (%4.0f MiB/s), %6.1f ms CPU | speed-up: wall %.2fx, CPU %.2fx\n",
             name, wall[1] * 1000, mib / wall[1], cpu[1] * 1000, theirs, wall[2] * 1000, mib / wall[2], cpu[2] * 1000,
             wall[2] / wall[1], cpu[2] / cpu[1]
    }' theirs="$4" "$csv"
}

echo "machine load before: $(cut -d' ' -f1-3 /proc/loadavg)"
bench encode "$companion encode $work/plain.txt" "base64 $work/plain.txt" "base64"
bench decode "$companion decode $work/plain.orv" "base64 -d $work/plain.b64" "base64 -d"
echo "machine load after:  $(cut -d' ' -f1-3 /proc/loadavg)"
