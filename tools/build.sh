#!/usr/bin/env bash
# Configures and builds kelvarn (Release) in build/; extra arguments are ninja targets.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
export CCACHE_BASEDIR="$root"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=Release > /dev/null
ninja -C "$root/build" -j "$(nproc)" "$@"
