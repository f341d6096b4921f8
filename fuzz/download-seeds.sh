#!/usr/bin/env bash
# Writes the hand seeds of the RAW and CSV reader targets into fuzz/seeds/
# from downloads of the simulated logger's presets, made with the normal
# build's command-line tool (./build.sh first). The files are cut to a few
# dozen scans so the fuzzer's inputs stay small; each cut keeps the file's
# form (header, live block, consecutive data lines, closing notes).
#   fuzz/download-seeds.sh
set -euo pipefail
cd "$(dirname "$0")/.."
cli=build/cli/datalogger-cli
[ -x "$cli" ] || { echo "build the program first (./build.sh)" >&2; exit 1; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

raw_seeds=fuzz/seeds/fuzz_raw_file
rebuild_seeds=fuzz/seeds/fuzz_raw_rebuild
table_seeds=fuzz/seeds/fuzz_download_table
rm -rf "$raw_seeds" "$rebuild_seeds" "$table_seeds"
mkdir -p "$raw_seeds" "$rebuild_seeds" "$table_seeds"

# The lines of FILE up to and including the one starting with MARK, the next
# COUNT lines, then the lines from the one starting with END on.
cut_between() {
  local file="$1" mark="$2" count="$3" end="$4"
  awk -v mark="$mark" -v count="$count" -v end="$end" '
    { line = $0; sub(/\r$/, "", line) }
    state == 0 { print; if (index(line, mark) == 1) state = 1; next }
    state == 1 && index(line, end) == 1 { state = 2 }
    state == 1 { if (count-- > 0) print; next }
    { print }' "$file"
}

for preset in finished logging; do
  out="$work/$preset"
  mkdir -p "$out"
  "$cli" --demo --preset "$preset" --image "$work/$preset.img" --quiet --yes \
         download --raw --out "$out" >/dev/null 2>&1
  base="$(ls "$out"/*.RAW)"
  base="${base%.RAW}"
  cut_between "$base.RAW" "Start of Downloaded Data" 48 "End of Downloaded Data" \
    >"$raw_seeds/$preset.RAW"
  # The rebuild: the RAW, a record separator byte and the metadata beside it.
  { cat "$raw_seeds/$preset.RAW"; printf '\x1e'; cat "$base.json"; } >"$rebuild_seeds/$preset"
  # Parts CSV: marker byte 0, then the file cut to its first scans.
  { printf '\x00'; cut_between "$base.CSV" "Start of Downloaded Data" 40 "End of Downloaded Data"; } \
    >"$table_seeds/$preset-parts.csv"
  # Tidy: marker byte 1, the rows, then the events table and the metadata,
  # each after a record separator byte.
  { printf '\x01'; head -n 41 "$base.tidy.csv"; printf '\x1e';
    cat "$base.events.csv"; printf '\x1e'; cat "$base.json"; } >"$table_seeds/$preset-tidy"
done
ls -l "$raw_seeds" "$rebuild_seeds" "$table_seeds"
