#!/usr/bin/env bash
# The install under Wine, from start to exit, against its floor and NSIS:
#   qmxsetup.exe /S with the sample payload;
#   qmxsetup.exe driven like a user, from Enter to the end of the program;
#   a plain copy of the seven expanded files into the same folders;
#   an NSIS silent install of the same files with the two desktop shortcuts,
#   its uninstaller and its uninstall entry;
#   qmxsetup.exe /S with an empty container: what the program costs under
#   Wine before it installs anything (its hidden window, its libraries).
# Each cold (a fresh wineserver first) and warm (the server kept running),
# the median of RUNS runs, in one prefix of the bench's own. Figures only.
# Beside the wall time, the processor time each run costs: the bench runs in
# a cgroup of its own (as root), so that every process of the run, the Wine
# server and the services it starts among them, counts.
#   install_bench.sh WIN32_BUILD_DIR [RUNS] [SETUP]
# SETUP, another build of the setup program, is timed in place of the one in
# the build folder (an older one may know no /S: then give RUNS of 0 and only
# its Enter-to-exit time is measured).
set -euo pipefail
build=$(cd "$1" && pwd)
runs=${2:-9}
setup=${3:-$build/qmxsetup.exe}
here=$(cd "$(dirname "$0")" && pwd)
bed=$here/../tests/wine/bed
samples=$build/sample
work=$build/bench-install
mkdir -p "$work"
export QMX_WINE_ROOT=$build/bench-wine

python3 "$here/../tests/install/make_container.py" "$build/shell/qmxsetup_bare.exe" "$work/empty_setup.exe"
makensis -V1 -DSAMPLE="$samples" -DOUT="$work/nsis_setup.exe" "$here/nsis_install.nsi"
"$bed" xvfb "$QMX_WINE_ROOT/screen"
export QMX_DISPLAY DISPLAY WINEPREFIX
QMX_DISPLAY=$(cat "$QMX_WINE_ROOT/screen/display")
DISPLAY=$QMX_DISPLAY
WINEPREFIX=$("$bed" keep bench)

# cgroup v2, or v1's cpuacct; without either the processor time is not shown.
cpu_group=""
if [ -f /sys/fs/cgroup/cgroup.controllers ]; then
    cpu_group=/sys/fs/cgroup/qmx-bench-$$
    usage_ms() { awk '$1 == "usage_usec" {print int($2 / 1000)}' "$cpu_group/cpu.stat"; }
elif [ -d /sys/fs/cgroup/cpuacct ]; then
    cpu_group=/sys/fs/cgroup/cpuacct/qmx-bench-$$
    usage_ms() { echo $(($(cat "$cpu_group/cpuacct.usage") / 1000000)); }
fi
if [ -n "$cpu_group" ] && mkdir "$cpu_group" 2>/dev/null && echo $$ >"$cpu_group/cgroup.procs" 2>/dev/null; then
    cpu_parent=$(dirname "$cpu_group")
else
    [ -n "$cpu_group" ] && rmdir "$cpu_group" 2>/dev/null
    cpu_group=""
    usage_ms() { echo 0; }
    echo "install_bench: no cgroup of its own (not root?): processor times not measured" >&2
fi
leave_cpu_group() {
    [ -n "$cpu_group" ] || return 0
    echo $$ >"$cpu_parent/cgroup.procs"
    for ((k = 0; k < 50; k++)); do rmdir "$cpu_group" 2>/dev/null && return 0; sleep 0.1; done
    echo "install_bench: $cpu_group still holds processes" >&2
}
trap 'wineserver -k 2>/dev/null || true; "$bed" xvfb-stop "$QMX_WINE_ROOT/screen"; leave_cpu_group' EXIT

drive=$WINEPREFIX/drive_c
"$bed" run cmd /c exit  # the prefix is made before anything is timed
desktop=$(winepath -u "$("$bed" run "$build/tests/install/statedump.exe" folders | tr -d '\r' |
    awk '$1 == "desktop" {sub(/^[^ ]+ /, ""); print}')" | tr -d '\r')
windows='C:\windows'
copy_pairs=()
for f in qmx.mb qmxpin.mb qmx.ime; do copy_pairs+=("Z:$samples/$f" "$windows\\system32\\$f"); done
copy_pairs+=("Z:$samples/qmx.hlp" "$windows\\Help\\qmx.hlp")
for f in click.wav error.wav zub.exe; do copy_pairs+=("Z:$samples/$f" "C:\\Program Files\\qmx\\$f"); done

# Takes away what any of the three left, so every run starts alike.
clean() {
    "$bed" run "$build/qmxsetup.exe" /U /S >/dev/null 2>&1 || true
    rm -rf "$drive/Program Files/qmx" "$drive/windows/system32/"qmx* "$drive/windows/Help/qmx.hlp" \
        "$desktop/Zubino.lnk" "$desktop/Qumo帮助.lnk"
    "$bed" run reg delete 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\QumoNSIS' /f >/dev/null 2>&1 || true
}
prepare_copy() { mkdir -p "$drive/Program Files/qmx" "$drive/windows/Help"; }

elapsed_ms() {  # elapsed_ms COMMAND...: the wall time and the processor time of one run
    local start end cpu_start
    cpu_start=$(usage_ms)
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1 || echo "install_bench: $* failed" >&2
    end=$(date +%s%N)
    echo "$(((end - start) / 1000000)) $(($(usage_ms) - cpu_start))"
}

# Starts the program, waits for its window, presses Enter and times from
# the key to the end of the program.
enter_to_exit_ms() {
    "$bed" run "$setup" &
    local pid=$! start end
    "$bed" run "$build/tests/gui/winprobe.exe" window 60 >/dev/null
    xdotool mousemove 500 300
    start=$(date +%s%N)
    xdotool key Return
    while kill -0 "$pid" 2>/dev/null && [ $(($(date +%s%N) - start)) -lt 60000000000 ]; do sleep 0.01; done
    end=$(date +%s%N)
    if kill -0 "$pid" 2>/dev/null; then
        echo "install_bench: the install did not end within a minute" >&2
        kill "$pid"
    fi
    wait "$pid" || echo "install_bench: the install ended with an error" >&2
    echo $(((end - start) / 1000000))
}

# With nothing to install the program ends with exit code 1.
exit_code_one() {
    local code=0
    "$@" || code=$?
    [ "$code" = 1 ]
}

median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : int((v[NR / 2] + v[NR / 2 + 1]) / 2)}'; }

# timed cold|warm PREPARE COMMAND...: one run's wall and processor ms, after
# the cleaning, the preparation and, cold, a fresh server.
timed() {
    local mode=$1 prepare=$2
    shift 2
    clean
    $prepare
    if [ "$mode" = cold ]; then
        wineserver -k 2>/dev/null || true
        wineserver -w
    else
        wineserver -p 2>/dev/null || true
    fi
    elapsed_ms "$@"
}

wineserver -p 2>/dev/null || true  # the server stays between the runs
enter_times=()
for ((k = 0; k < ${runs:-1} || k < 1; k++)); do
    clean
    enter_times+=("$(enter_to_exit_ms)")
done
echo "$setup driven by Enter, warm, median of ${#enter_times[@]}: $(printf '%s\n' "${enter_times[@]}" | median) ms from Enter to exit"
[ "$runs" -gt 0 ] || exit 0

# The four take turns within each round, so that the machine's drift over the
# minutes of the benchmark weighs on all of them alike.
declare -A times cpus figure cpu
record() {  # record KEY WALL_MS CPU_MS
    times[$1]+=" $2"
    cpus[$1]+=" $3"
}
for mode in cold warm; do
    for ((k = 0; k < runs; k++)); do
        record $mode.setup $(timed $mode true "$bed" run "$setup" /S)
        record $mode.copy $(timed $mode prepare_copy "$bed" run "$build/bench/plain_copy.exe" "${copy_pairs[@]}")
        record $mode.nsis $(timed $mode true "$bed" run "$work/nsis_setup.exe" /S)
        record $mode.empty $(timed $mode true exit_code_one "$bed" run "$work/empty_setup.exe" /S)
    done
done
clean
for key in "${!times[@]}"; do
    figure[$key]=$(printf '%s\n' ${times[$key]} | median)
    cpu[$key]=$(printf '%s\n' ${cpus[$key]} | median)
done

ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }
echo "install of the sample payload under Wine, median of $runs runs, start to exit:"
printf '%-6s %14s %12s %12s %14s %14s %14s\n' "" "qmxsetup /S" "plain copy" "NSIS /S" "setup / copy" "setup / NSIS" \
    "empty /S"
for mode in cold warm; do
    printf '%-6s %11s ms %9s ms %9s ms %14s %14s %11s ms\n' "$mode" "${figure[$mode.setup]}" "${figure[$mode.copy]}" \
        "${figure[$mode.nsis]}" "$(ratio "${figure[$mode.setup]}" "${figure[$mode.copy]}")" \
        "$(ratio "${figure[$mode.setup]}" "${figure[$mode.nsis]}")" "${figure[$mode.empty]}"
done
echo "goal: setup / copy at most 1.5, setup / NSIS below 1"
[ -n "$cpu_group" ] || exit 0
echo "processor time of the same runs (every process of the run and the Wine server), median:"
for mode in cold warm; do
    printf '%-6s %11s ms %9s ms %9s ms %14s %14s %11s ms\n' "$mode" "${cpu[$mode.setup]}" "${cpu[$mode.copy]}" \
        "${cpu[$mode.nsis]}" "$(ratio "${cpu[$mode.setup]}" "${cpu[$mode.copy]}")" \
        "$(ratio "${cpu[$mode.setup]}" "${cpu[$mode.nsis]}")" "${cpu[$mode.empty]}"
done
