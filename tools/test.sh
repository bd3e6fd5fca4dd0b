#!/usr/bin/env bash
# Builds kelvarn with its tests and runs the whole suite under CTest.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/tools/bootstrap.sh"
"$root/tools/build.sh"
"$root/tools/with-display.sh" ctest --test-dir "$root/build" --output-on-failure -j "$(nproc)"
