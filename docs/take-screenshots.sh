#!/usr/bin/env bash
# Takes the screenshots shown in the README (docs/home.png, docs/queue.png,
# docs/job-details.png, docs/settings.png, docs/server-editor.png,
# docs/message.png, docs/explorer.png, docs/home-zh-Hant.png,
# docs/home-zh-Hans.png):
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

"$root/kyvane.sh" deps xvfb xauth
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKYVANE_BUILD_TESTS=ON \
    -DKYVANE_BUILD_BENCH=OFF > /dev/null
cmake --build "$build" --target kyvane_screenshots --parallel "$(nproc)"

xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$build/tests/ui/screenshots/kyvane_screenshots" "$here"
