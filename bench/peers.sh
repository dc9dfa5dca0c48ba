#!/bin/sh
# SPDX-License-Identifier: MIT
# The service against two general-purpose peers on this machine, measured in the same windows:
# a lean collectd (bench/peers/collectd-lean.conf) and node-exporter (bench/peers/
# node-exporter.args, scraped once a second as a server would). Installs them with apt-get when
# missing, runs them in the foreground, hands their process ids to bench_service, which prints
# each one's CPU and memory and korvas's ratios to them in windows that each say the load, checks
# that collectd stored what it read, and ends them by id.
#
# Usage: bench/peers.sh [BUILD_DIR] [SECONDS] [RUNS] [MONITORS]
#        defaults: build/default 20 3 20; set PEERS_PORT for the exporter (default 25371)
set -eu

here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build/default}
seconds=${2:-20}
runs=${3:-3}
monitors=${4:-20}
port=${PEERS_PORT:-25371}
bench="$build/bench/bench_service"

if [ ! -x "$bench" ]; then
    echo "build $bench first (cmake --build --preset default --target bench_service)" >&2
    exit 1
fi
missing=""
[ -x /usr/sbin/collectd ] || missing="$missing collectd-core"
[ -x /usr/bin/prometheus-node-exporter ] || missing="$missing prometheus-node-exporter"
if [ -n "$missing" ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends $missing
fi

work=$(mktemp -d)
collectd_pid=""
exporter_pid=""
scraper_pid=""
cleanup() {
    for pid in $scraper_pid $exporter_pid $collectd_pid; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

sed "s|@BASEDIR@|$work|g" "$here/peers/collectd-lean.conf" > "$work/collectd.conf"
/usr/sbin/collectd -f -C "$work/collectd.conf" > "$work/collectd.log" 2>&1 &
collectd_pid=$!

# shellcheck disable=SC2046
/usr/bin/prometheus-node-exporter --web.listen-address="127.0.0.1:$port" \
    $(cat "$here/peers/node-exporter.args") > "$work/exporter.log" 2>&1 &
exporter_pid=$!
(
    while :; do
        curl -s -o /dev/null "http://127.0.0.1:$port/metrics" || true
        sleep 1
    done
) &
scraper_pid=$!

sleep 2
for pid in $collectd_pid $exporter_pid; do
    if ! kill -0 "$pid" 2>/dev/null; then
        echo "a peer did not start:" >&2
        cat "$work/collectd.log" "$work/exporter.log" >&2
        exit 1
    fi
done

echo "load before: $(cat /proc/loadavg)"
"$bench" --seconds "$seconds" --runs "$runs" --monitors "$monitors" \
    --peer "collectd-lean=$collectd_pid" --peer "node-exporter=$exporter_pid"
echo "load after: $(cat /proc/loadavg)"

# The lean peer must have stored what it read, or it was measured doing less than a deployment.
for series in cpu memory load 'disk-*' 'df-*' 'interface-*'; do
    if [ -z "$(find "$work/csv" -path "*/$series/*" -type f 2>/dev/null | head -n 1)" ]; then
        echo "collectd-lean stored no $series values in $work/csv" >&2
        exit 1
    fi
done
echo "collectd-lean stored $(find "$work/csv" -type f | wc -l) CSV series (processor summed over the cores)"
