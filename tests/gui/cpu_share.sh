#!/usr/bin/env bash
# Prints the share of one processor that a process used over a number of
# seconds, in percent with one decimal, from its user and system time.
#   cpu_share.sh PID SECONDS
set -euo pipefail
pid=$1 seconds=$2
ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
hz=$(getconf CLK_TCK)
before=$(ticks)
start=$(date +%s%N)
sleep "$seconds"
after=$(ticks)
end=$(date +%s%N)
awk -v t=$((after - before)) -v hz="$hz" -v ns=$((end - start)) 'BEGIN {printf "%.1f\n", 100 * t / hz / (ns / 1e9)}'
