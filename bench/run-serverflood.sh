#!/usr/bin/env bash
# Builds an optimised, unsanitised kyvane-server and prints its peak memory
# under a client that floods it with lines and never reads the replies, as a
# ratio to its peak after one login.
#
#   bench/run-serverflood.sh [MIB]    (MiB offered per flood, default 200)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$here/build-bench"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKYVANE_BUILD_TESTS=OFF \
    -DKYVANE_BUILD_BENCH=ON >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target bench_serverflood kyvane-server >/dev/null
"$build/bench/bench_serverflood" "$build/kyvane-server" "$@"
