#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need,
# only those that are missing, so a second run is quick.
set -euo pipefail

packages=(
    cmake g++ make pkg-config
    juce-modules-source libexpat1-dev
    libgtest-dev libbenchmark-dev
    libasound2-dev libfreetype-dev libfontconfig1-dev
    libx11-dev libxrandr-dev libxinerama-dev libxcursor-dev libxext-dev
    xvfb xauth openbox xdotool wmctrl x11-utils imagemagick
    curl ca-certificates
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing missing packages: ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    export DEBIAN_FRONTEND=noninteractive
    "${sudo_cmd[@]}" apt-get update -qq
    "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

here="$(cd "$(dirname "$0")" && pwd)"
if [ -x "$here/fetch-fonts.sh" ]; then
    "$here/fetch-fonts.sh"
fi
