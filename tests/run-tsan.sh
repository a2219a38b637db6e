#!/usr/bin/env bash
# Builds the tests with ThreadSanitizer into build-tsan/ and runs them, so
# that data races in our code stand out. Not part of CI: it takes long, and
# what it reports needs reading rather than a pass or a fail alone.
#
#   tests/run-tsan.sh            every test
#   tests/run-tsan.sh REGEX      only the tests whose names match (CTest -R),
#                                building only them and the programs they run
#
# Debian's Qt libraries are not built with ThreadSanitizer, so it cannot see
# their locks; tests/tsan.supp leaves out races whose racing access lies in
# such a library. die_after_fork=0: the suites that start programs (servers,
# ffmpeg, the program itself) fork once threads run, and ThreadSanitizer
# would otherwise end such a child at once.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$here/build-tsan"
filter="${1:-}"
"$here/kyvane.sh" deps ffmpeg desktop-file-utils appstream systemd haproxy
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKYVANE_TSAN=ON \
    -DKYVANE_SANITIZE=OFF -DKYVANE_BUILD_BENCH=OFF >/dev/null
cd "$build"
if [ -z "$filter" ]; then
    cmake --build . --parallel "$(nproc)"
else
    # Each test's executable bears its name; the servers are what they run.
    mapfile -t targets < <(ctest -N -R "$filter" | sed -n 's/^ *Test *#[0-9]*: *//p')
    if [ ${#targets[@]} -eq 0 ]; then
        echo "no test matches $filter" >&2
        exit 2
    fi
    cmake --build . --parallel "$(nproc)" --target kyvane-server "${targets[@]}"
fi
export TSAN_OPTIONS="suppressions=$here/tests/tsan.supp die_after_fork=0 halt_on_error=0 second_deadlock_stack=1"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)" --timeout 1800 \
    ${filter:+-R "$filter"}
