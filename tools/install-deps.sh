#!/usr/bin/env bash
# Installs what the build and the tests need, and only what is missing.
set -euo pipefail

packages=(
    cmake ninja-build make g++ python3
    g++-mingw-w64-i686 binutils-mingw-w64-i686 g++-multilib
    wine wine32:i386 wine64 xvfb xdotool x11-utils imagemagick fonts-wqy-microhei fonts-wine
    googletest locales liblnk-utils libgif-dev zlib1g-dev libgif-dev:i386 zlib1g-dev:i386 gzip xxd openssl osslsigncode
    clang libclang-rt-14-dev libbenchmark-dev nsis
)

if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
    updated=no
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ] || [ "${updated:-}" = no ]; then
    apt-get update -qq
fi
if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# The tests' Wine prefixes run with ANSI code pages 936, 950 and 1252.
for locale in zh_CN zh_TW en_US; do
    if ! locale -a 2>/dev/null | grep -qix "$locale.utf8"; then
        localedef -i "$locale" -f UTF-8 "$locale.UTF-8"
    fi
done
