#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program with the simulated
# logger plugged in. Arguments go on to the program (see --help).
set -euo pipefail
cd "$(dirname "$0")"
./build.sh --target datalogger
exec ./build/app/datalogger --demo "$@"
