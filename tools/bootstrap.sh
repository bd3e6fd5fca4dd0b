#!/usr/bin/env bash
# Installs everything kelvarn needs to build and test on Debian 12, and brings JUCE 8.
#
# JUCE 8 comes from Debian 13's source package "juce", fetched through a private apt
# configuration (the system's sources are left alone), unpacked with its Debian patches
# into a cache outside the work tree. Running this again is quick and changes nothing.
set -euo pipefail

JUCE_DEB_VERSION="8.0.6+ds-2"
JUCE_SUITE="trixie"
CACHE_ROOT="${KELVARN_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/kelvarn}"
JUCE_DIR="$CACHE_ROOT/juce-$JUCE_DEB_VERSION"

PACKAGES=(
  build-essential cmake ninja-build pkg-config ccache dpkg-dev xz-utils
  libasound2-dev libfontconfig-dev libfreetype-dev libjpeg-dev libpng-dev zlib1g-dev
  libx11-dev libxcomposite-dev libxcursor-dev libxext-dev libxinerama-dev libxrandr-dev
  libxrender-dev libflac-dev libvorbis-dev libogg-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth x11-utils openbox xdotool fonts-dejavu-core
  lsp-plugins-lv2
)

die() { echo "bootstrap: $*" >&2; exit 1; }

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

install_packages() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "bootstrap: installing ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" \
    || die "could not install Debian packages: ${missing[*]}"
}

# The archive address of the system's own Debian sources (deb822 or one-line format).
debian_archive_uri() {
  local uri=""
  if compgen -G "/etc/apt/sources.list.d/*.sources" >/dev/null; then
    uri=$(awk '/^URIs:/ { for (i = 2; i <= NF; i++) print $i }' /etc/apt/sources.list.d/*.sources \
          | grep -v -- '-security' | grep -i 'debian' | head -n 1 || true)
  fi
  if [ -z "$uri" ] && [ -f /etc/apt/sources.list ]; then
    uri=$(awk '$1 == "deb" { for (i = 2; i <= NF; i++) if ($i ~ /^[a-z]+:\/\//) { print $i; break } }' \
          /etc/apt/sources.list | grep -v -- '-security' | head -n 1 || true)
  fi
  [ -n "$uri" ] || die "no Debian archive found in the system's apt sources"
  echo "$uri"
}

fetch_juce() {
  [ -f "$JUCE_DIR/.kelvarn-ready" ] && return 0
  local work="$CACHE_ROOT/apt" uri
  uri=$(debian_archive_uri)
  rm -rf "$work" "$JUCE_DIR"
  mkdir -p "$work/lists/partial" "$work/cache/archives/partial" "$work/src"
  echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $uri $JUCE_SUITE main" \
    > "$work/sources.list"
  local opts=(-o "Dir::Etc::SourceList=$work/sources.list" -o "Dir::Etc::SourceParts=/dev/null"
              -o "Dir::State::Lists=$work/lists" -o "Dir::Cache=$work/cache"
              -o "APT::Sandbox::User=root")
  echo "bootstrap: fetching JUCE $JUCE_DEB_VERSION (Debian source package, $JUCE_SUITE)"
  apt-get "${opts[@]}" -qq update || die "could not read the $JUCE_SUITE source index from $uri"
  (cd "$work/src" && apt-get "${opts[@]}" -qq source "juce=$JUCE_DEB_VERSION" >/dev/null) \
    || die "Debian's source package juce=$JUCE_DEB_VERSION cannot be had from $uri ($JUCE_SUITE);
bootstrap: the archive may have moved on: set JUCE_DEB_VERSION in tools/bootstrap.sh to a version
bootstrap: that 'apt-cache showsrc juce' lists there, and test with it"
  local unpacked
  unpacked=$(find "$work/src" -mindepth 1 -maxdepth 1 -type d -name 'juce-*' | head -n 1)
  [ -f "$unpacked/CMakeLists.txt" ] && [ -f "$unpacked/modules/juce_core/juce_core.h" ] \
    || die "the unpacked JUCE source looks incomplete ($unpacked)"
  mv "$unpacked" "$JUCE_DIR"
  touch "$JUCE_DIR/.kelvarn-ready"
  rm -rf "$work"
}

install_packages
mkdir -p "$CACHE_ROOT"
fetch_juce
echo "bootstrap: ready (JUCE in $JUCE_DIR)"
