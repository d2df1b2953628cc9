#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages that building, running and testing need, and those named as
# arguments, when any is missing.
set -euo pipefail
packages=(
    cmake ninja-build g++ pkg-config clang libclang-rt-14-dev
    qt6-base-dev qt6-base-dev-tools libqt6test6 qt6-svg-dev
    libjpeg62-turbo-dev liblcms2-dev libxcb1-dev libglib2.0-dev libfontconfig-dev libx11-dev
    liblcms2-utils
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-ipafont-gothic fonts-noto-cjk
    xvfb xauth xdotool x11-utils imagemagick openbox
    exfatprogs exfat-fuse
    "$@"
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    sudo_cmd=""
    [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
    $sudo_cmd apt-get update -qq
    $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
