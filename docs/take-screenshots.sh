#!/usr/bin/env bash
# Takes the screenshots shown in the README (docs/home.png, docs/queue.png):
# builds the screenshot program and runs it under a virtual X server, on a
# program folder of its own.
#
#   docs/take-screenshots.sh
#
# To look at every screen, run the program itself with a second argument:
#   xvfb-run -a build-docs/tests/ui/screenshots/kyvane_screenshots /tmp/shots extra
#
# Run as root (or with sudo available) so missing packages can be installed.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(dirname "$here")"
build="$root/build-docs"

packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-svg-dev libqt6svg6 fonts-roboto
          fonts-noto-cjk xvfb xauth)

install_missing() {
    local missing=()
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return
    fi
    echo "Installing: ${missing[*]}"
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        sudo=(sudo)
    fi
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
}

install_missing "${packages[@]}"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKYVANE_BUILD_TESTS=ON \
    -DKYVANE_BUILD_BENCH=OFF > /dev/null
cmake --build "$build" --target kyvane_screenshots --parallel "$(nproc)"

xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$build/tests/ui/screenshots/kyvane_screenshots" "$here"
