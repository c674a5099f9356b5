#!/bin/bash
# Keying accuracy of the real program, measured from outside: kvrlog runs under Xvfb as an ordinary user, F1 keys
# buffer 1 (10 x "PARIS ") at 40 WPM on a pseudo-terminal's DTR, and keying_shim timestamps every line change.
# With --cwdaemon Debian's cwdaemon keys the same text the same way, for comparison.
#
#   bench/keying_in_program.sh [--build DIR] [--runs N] [--busy] [--cwdaemon] [--uid UID]
#                              [--set 'Key=Value']... [--keep]
#
#   --busy       one process spins on the CPU all the time (the other core busy)
#   --cwdaemon   after the program's runs, the same number of runs through cwdaemon
#   --set        an extra line for the keyer's section of kvr_log.ini (experiments: 'Podsłuch=0',
#                'Wielowątkowość=0')
#   --uid        the ordinary user to run as (65534, nobody, by default); needs root to switch to it
#   --keep       keep the working folder (the recordings and the program folder)
#
# Prints the figures of each run and of all runs together (keying_analysis: |measured - nominal| of key-downs and
# gaps). Needs Xvfb, openbox, xdotool and socat.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
build="$here/build"
runs=3
busy=0
cwdaemon=0
uid=65534
keep=0
extra=()
while [ $# -gt 0 ]; do
    case "$1" in
    --build) build=$(cd "$2" && pwd); shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --busy) busy=1; shift ;;
    --cwdaemon) cwdaemon=1; shift ;;
    --uid) uid=$2; shift 2 ;;
    --set) extra+=("$2"); shift 2 ;;
    --keep) keep=1; shift ;;
    -h | --help) sed -n '2,17p' "$0"; exit 0 ;;
    *) echo "unknown option $1" >&2; exit 2 ;;
    esac
done

shim="$build/bench/keying_shim.so"
analysis="$build/bench/keying_analysis"
for f in "$shim" "$analysis" "$build/bin/kvrlog"; do
    [ -e "$f" ] || { echo "missing $f: cmake --build $build --target kvrlog keying_shim keying_analysis" >&2; exit 2; }
done
for tool in Xvfb openbox xdotool socat setpriv; do
    command -v "$tool" >/dev/null || { echo "missing $tool" >&2; exit 2; }
done

work=$(mktemp -d /tmp/keying.XXXXXX)
chmod 755 "$work"
pids=()
ttylink=""
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    wait 2>/dev/null || true
    [ -n "$ttylink" ] && rm -f "$ttylink"
    [ "$keep" = 1 ] && echo "kept $work" || rm -rf "$work"
}
trap cleanup EXIT

as_user() {
    if [ "$(id -u)" = 0 ] && [ "$uid" != 0 ]; then
        exec setpriv --reuid="$uid" --regid="$uid" --clear-groups -- "$@"
    else
        exec "$@"
    fi
}

# The ordinary user gets its own copy of the program's folder of executables (the build may be unreadable to it),
# under a name of its own, out of the way of anything that stops programs by name on a shared machine.
cp -r "$build/bin" "$work/bin"
mv "$work/bin/kvrlog" "$work/bin/keyed-program"
mkdir -p "$work/home" "$work/runtime" "$work/rec"
chmod 700 "$work/runtime"
[ "$(id -u)" = 0 ] && chown -R "$uid:$uid" "$work/home" "$work/runtime" "$work/rec"

socat pty,raw,echo=0,link="$work/keyport" pty,raw,echo=0,link="$work/otherend" 2>/dev/null &
pids+=($!)
for _ in $(seq 50); do [ -e "$work/keyport" ] && break; sleep 0.1; done
port=$(readlink -f "$work/keyport")
[ "$(id -u)" = 0 ] && chown "$uid" "$port"

display=""
for n in $(seq 70 99); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=":$n"; break; fi
done
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp -ac >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
DISPLAY=$display openbox >/dev/null 2>&1 &
pids+=($!)

busy_pid=""
if [ "$busy" = 1 ]; then
    (as_user sh -c 'while :; do :; done') &
    busy_pid=$!
    pids+=("$busy_pid")
fi

text=$(printf 'PARIS %.0s' $(seq 10))
# 10 x PARIS is 500 dot lengths of 30 ms; the margin covers the start and the program's start-up.
keying_seconds=17

run_program() {
    local n=$1 rec="$work/rec/program-$1.txt"
    # The program folder holds the data files the program reads beside its settings.
    rm -rf "${work:?}/home"/*
    find "$build/bin" -mindepth 1 -maxdepth 1 ! -name 'kvrlog*' -exec cp -r {} "$work/home/" \;
    {
        echo "[Klucz CW]"
        echo "Port=$port"
        echo "Kluczowanie=DTR"
        echo "Predkosc=40"
        for line in "${extra[@]}"; do echo "$line"; done
        echo "[Bufory]"
        echo "Bufor1-tekst=$text"
    } >"$work/home/kvr_log.ini"
    [ "$(id -u)" = 0 ] && chown -R "$uid:$uid" "$work/home"
    (as_user env -i DISPLAY="$display" HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" PATH=/usr/bin:/bin \
        LD_PRELOAD="$shim" KEYING_SHIM_OUT="$rec" "$work/bin/keyed-program" --home "$work/home" \
        >"$work/rec/program-$n.log" 2>&1) &
    local pid=$!
    local window=""
    for _ in $(seq 100); do
        window=$(DISPLAY=$display xdotool search --onlyvisible --name '^KVR_Log$' 2>/dev/null | head -1 || true)
        [ -n "$window" ] && break
        sleep 0.2
    done
    if [ -z "$window" ]; then
        echo "run $n: no window appeared" >&2
        kill "$pid" 2>/dev/null || true
        return 1
    fi
    # Let the window settle, then make sure it has the keyboard before F1.
    sleep 6
    # The transmission runs on a thread of its own; F1 again while none has appeared (a key lost at start-up).
    local kpid
    kpid=$(pgrep -f "^$work/bin/keyed-program" | head -1)
    local started=0
    for _ in 1 2 3 4 5; do
        DISPLAY=$display xdotool windowactivate --sync "$window" key F1 >/dev/null 2>&1 || true
        sleep 1
        if grep -qx QThread /proc/"$kpid"/task/*/comm 2>/dev/null; then started=1; break; fi
    done
    [ "$started" = 1 ] || echo "run $n: F1 started no transmission (process $kpid)" >&2
    sleep "$((keying_seconds - 1))"
    DISPLAY=$display xdotool windowactivate --sync "$window" key alt+F4 >/dev/null 2>&1 || true
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    # A question on closing (or none answered): the shim writes its record on SIGTERM too.
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    printf 'kvrlog   run %d: ' "$n"
    "$analysis" "$rec" | paste -sd' ' | sed 's/  */ /g'
}

run_cwdaemon() {
    local n=$1 rec="$work/rec/cwdaemon-$n.txt" udp=$((17000 + RANDOM % 2000))
    # cwdaemon names a port by its name under /dev.
    ttylink="/dev/ttyKVR$$"
    ln -sf "$port" "$ttylink"
    (as_user env -i PATH=/usr/bin:/bin LD_PRELOAD="$shim" KEYING_SHIM_OUT="$rec" \
        /usr/sbin/cwdaemon -n -d "${ttylink#/dev/}" -x n -s 40 -p "$udp" -y n >"$work/rec/cwdaemon-$n.log" 2>&1) &
    local pid=$!
    sleep 1
    printf '%s' "$text" | socat - "udp:127.0.0.1:$udp"
    sleep "$keying_seconds"
    printf '\0335' | socat - "udp:127.0.0.1:$udp"
    for _ in $(seq 30); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    rm -f "$ttylink"
    ttylink=""
    printf 'cwdaemon run %d: ' "$n"
    "$analysis" "$rec" | paste -sd' ' | sed 's/  */ /g'
}

echo "load: $([ "$busy" = 1 ] && echo 'one spinning process' || echo 'no extra load'); $(cut -d' ' -f1-3 /proc/loadavg) load average; user $uid; settings: ${extra[*]:-defaults}"
for n in $(seq "$runs"); do run_program "$n" || true; done
echo "kvrlog, all runs:"
"$analysis" "$work"/rec/program-*.txt || true
if [ "$cwdaemon" = 1 ]; then
    for n in $(seq "$runs"); do run_cwdaemon "$n" || true; done
    echo "cwdaemon, all runs:"
    "$analysis" "$work"/rec/cwdaemon-*.txt || true
fi
