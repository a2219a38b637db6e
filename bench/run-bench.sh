#!/usr/bin/env bash
# Builds an optimised, unsanitised copy of Kyvane and prints the benchmark
# figures. Figures are ratios against a reference measured in the same run,
# because these machines are noisy. The receiver only reads and discards, so
# the two senders, not the receiver, set the pace; to measure against the
# reference server instead, run build-bench/bench/bench_upload
# build-bench/kyvane-server. Options go to bench_upload (--runs N, --size BYTES).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$here/kyvane.sh" deps
build="$here/build-bench"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKYVANE_BUILD_TESTS=OFF \
    -DKYVANE_BUILD_BENCH=ON >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target bench_upload bench_discard >/dev/null
QT_QPA_PLATFORM=offscreen "$build/bench/bench_upload" "$build/bench/bench_discard" "$@"
