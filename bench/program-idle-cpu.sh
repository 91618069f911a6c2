#!/bin/sh
# Idle processor time of a Windows program under Wine, read from the Linux side: the program's
# own process and the prefix's wineserver (which makes the timer messages), from
# /proc/PID/stat (user + system clock ticks) over SECONDS, after SETTLE seconds.
# GetProcessTimes of another process reads about 0 under Wine, hence this script.
# Usage: bench/program-idle-cpu.sh PREFIX EXE SECONDS SETTLE [program arguments]
#   e.g. for Anlage.exe and bench_bare_window.exe (x64 build, display from WINE_TEST_DISPLAY)
set -eu
prefix=$(realpath "$1"); exe=$2; seconds=$3; settle=$4; shift 4
export WINEPREFIX="$prefix" WINEDEBUG=-all DISPLAY="${WINE_TEST_DISPLAY:-:0}"
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
# The process (of this prefix) whose command line names the program.
ofPrefix() {
    for p in $(pgrep "$@"); do
        tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$prefix" && echo "$p"
    done | tail -1
}
/usr/lib/wine/wine64 "$exe" "$@" >/dev/null 2>&1 </dev/null &
launcher=$!
sleep "$settle"
pid=$(ofPrefix -f "$(basename "$exe")")
server=$(ofPrefix -x wineserver64)
[ -n "$pid" ] && [ -n "$server" ] || { echo "$(basename "$exe") or its wineserver not found"; exit 1; }
hz=$(getconf CLK_TCK)
a0=$(ticks "$pid"); s0=$(ticks "$server"); t0=$(date +%s.%N)
sleep "$seconds"
a1=$(ticks "$pid"); s1=$(ticks "$server"); t1=$(date +%s.%N)
awk -v n="$(basename "$exe")" -v a="$((a1 - a0))" -v s="$((s1 - s0))" -v hz="$hz" -v t0="$t0" -v t1="$t1" \
    'BEGIN { t = t1 - t0; printf "%s: process %.2f s (%.2f %%), wineserver %.2f s (%.2f %%) of CPU over %.1f s\n",
             n, a / hz, 100 * a / hz / t, s / hz, 100 * s / hz / t, t }'
kill "$pid" 2>/dev/null || true
wait "$launcher" 2>/dev/null || true
