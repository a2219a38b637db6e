#!/usr/bin/env bash
# Builds an optimised, unsanitised copy of Kyvane and prints the benchmark
# figures. Figures are ratios against a reference measured in the same run,
# because these machines are noisy.
#
#   bench/run-bench.sh [upload|explorer] [ARGS...]   one benchmark with its ARGS
#   bench/run-bench.sh                               both
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
which="${1:-all}"
case "$which" in
upload | explorer) shift ;;
*) which=all ;;
esac
"$here/kyvane.sh" deps
build="$here/build-bench"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKYVANE_BUILD_TESTS=OFF \
    -DKYVANE_BUILD_BENCH=ON >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target bench_upload bench_explorer kyvane-server \
    >/dev/null
if [ "$which" != explorer ]; then
    QT_QPA_PLATFORM=offscreen "$build/bench/bench_upload" "$build/kyvane-server" "$@"
fi
if [ "$which" != upload ]; then
    QT_QPA_PLATFORM=offscreen "$build/bench/bench_explorer" "$@"
fi
