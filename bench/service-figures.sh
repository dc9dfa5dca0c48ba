#!/bin/sh
# SPDX-License-Identifier: MIT
# Every figure of the service against its floor in one run, each bench printing the load of
# each of its three windows and min/median/max over them:
#   - CPU and memory at 20 monitors against a lean collectd and node-exporter scraped once a
#     second (bench/peers.sh, which installs them with apt-get when missing);
#   - GetStatusEx at 200 and 500 monitors against a byte-for-byte replay, one client and 200 at
#     the same moment (bench_status_poll);
#   - the process monitor's pass at 2,200 processes against a raw pass (bench_processes).
# Builds what it runs in the optimised preset first. Prints the time each part took.
#
# Usage: bench/service-figures.sh [BUILD_DIR]   (default build/default)
set -eu

here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build/default}

cd "$here/.."
if [ ! -d "$build" ]; then
    cmake --preset default
fi
cmake --build "$build" --target korvas bench_service bench_status_poll bench_processes

timed() {
    start=$(date +%s)
    "$@"
    echo "--- $1 took $(($(date +%s) - start)) s"
}

timed "$here/peers.sh" "$build" 20 3 20
timed "$build/bench/bench_status_poll"
timed "$build/bench/bench_processes"
