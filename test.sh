#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test without a display.
#   ./test.sh             the normal build in ./build
#   ./test.sh --sanitize  everything with AddressSanitizer and UndefinedBehaviorSanitizer
#                         in ./build-sanitize; any report fails its test
set -euo pipefail
cd "$(dirname "$0")"
export QT_QPA_PLATFORM=offscreen
if [ "${1:-}" = "--sanitize" ]; then
  ./deps.sh
  # Set before the build too: listing the tests runs the test programs.
  export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_string_checks=1"
  export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
  export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
  cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DDATALOGGER_SANITIZE=ON >/dev/null
  cmake --build build-sanitize --parallel "$(nproc)"
  ctest --test-dir build-sanitize --output-on-failure --parallel "$(nproc)"
  exit 0
fi
./build.sh
ctest --test-dir build --output-on-failure --parallel "$(nproc)"
