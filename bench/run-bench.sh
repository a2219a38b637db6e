#!/usr/bin/env bash
# Builds an optimised, unsanitised copy of Kyvane and prints the benchmark
# figures. Figures are ratios against a reference measured in the same run,
# because these machines are noisy. The upload benchmark's receiver only reads
# and discards, so the two senders, not the receiver, set the pace; to measure
# against the reference server instead, run
# build-bench/bench/bench_upload build-bench/kyvane-server.
#
#   bench/run-bench.sh                                   every benchmark
#   bench/run-bench.sh upload [--runs N] [--size BYTES] [--files N] [--file-size BYTES]
#   bench/run-bench.sh files [--runs N] [--files-scale F] [--only BYTES]
#   bench/run-bench.sh capture-time [--files N]          needs ffmpeg (installed here)
#   bench/run-bench.sh scan [--files N] [--today N] [--runs N]
#   bench/run-bench.sh explorer [--runs N]
#   bench/run-bench.sh thumbnails [--rounds N]
#   bench/run-bench.sh shared-store [--runs N] [--mib N] [--sync]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
which="all"
case "${1:-}" in
upload | files | capture-time | scan | explorer | thumbnails | shared-store)
    which="$1"
    shift
    ;;
esac
"$here/kyvane.sh" deps ffmpeg
build="$here/build-bench"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKYVANE_BUILD_TESTS=OFF \
    -DKYVANE_BUILD_BENCH=ON >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target bench_upload bench_discard \
    bench_files bench_capturetime bench_scan bench_explorer bench_thumbnails bench_servershared \
    kyvane-server >/dev/null
runs() { [ "$which" = "all" ] || [ "$which" = "$1" ]; }
if runs upload; then
    QT_QPA_PLATFORM=offscreen "$build/bench/bench_upload" "$build/bench/bench_discard" "$@"
fi
if runs files; then
    # Jobs of many files against the reference server, where each file costs
    # a dialogue of its own.
    QT_QPA_PLATFORM=offscreen "$build/bench/bench_files" "$build/kyvane-server" "$@"
fi
if runs capture-time; then
    "$build/bench/bench_capturetime" "$@"
fi
if runs scan; then
    "$build/bench/bench_scan" "$@"
fi
if runs explorer; then
    QT_QPA_PLATFORM=offscreen "$build/bench/bench_explorer" "$@"
fi
if runs thumbnails; then
    QT_QPA_PLATFORM=offscreen "$build/bench/bench_thumbnails" "$@"
fi
if runs shared-store; then
    "$build/bench/bench_servershared" "$build/kyvane-server" "$@"
fi

