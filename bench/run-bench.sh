#!/usr/bin/env bash
# Builds an optimised, unsanitised copy of Kyvane and prints the benchmark
# figures. Figures are ratios against a reference measured in the same run,
# because these machines are noisy.
#
#   bench/run-bench.sh [OPTIONS]                 both benchmarks
#   bench/run-bench.sh upload [--runs N] [--size BYTES]
#   bench/run-bench.sh capture-time [--files N]  needs ffmpeg (installed here)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
which="all"
case "${1:-}" in
upload | capture-time)
    which="$1"
    shift
    ;;
esac
"$here/kyvane.sh" deps ffmpeg
build="$here/build-bench"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKYVANE_BUILD_TESTS=OFF \
    -DKYVANE_BUILD_BENCH=ON >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target bench_upload bench_capturetime \
    kyvane-server >/dev/null
if [ "$which" != "capture-time" ]; then
    QT_QPA_PLATFORM=offscreen "$build/bench/bench_upload" "$build/kyvane-server" "$@"
fi
if [ "$which" != "upload" ]; then
    "$build/bench/bench_capturetime" "$@"
fi
