#!/usr/bin/env bash
# Builds the plug-in, installs the bundle into ~/.vst3 and loads the installed bundle
# through JUCE's VST3 hosting to show what a host sees.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/tools/bootstrap.sh"
"$root/tools/build.sh" kelvarn_VST3 kelvarn_host_check

target="$HOME/.vst3/kelvarn.vst3"
mkdir -p "$HOME/.vst3"
rm -rf "$target"
cp -R "$root/build/kelvarn_artefacts/Release/VST3/kelvarn.vst3" "$target"
echo "installed $target"

"$root/build/tools/kelvarn_host_check" "$target"
