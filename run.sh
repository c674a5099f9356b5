#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program on a ready program folder (build/bin, which holds
# the county list; a demo log is put there on the first run). Extra arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")"
./cmake/setup.sh
home="$PWD/build/bin"
if [ ! -f "$home/log.kvr" ] && [ ! -f "$home/kvr_log.ini" ]; then
    cp data/demo.kvr "$home/log.kvr"
    printf '[Program]\r\nLog=%s\r\n\r\n[Analiza grupy]\r\nOpcja=Powiat\r\nAnaliza=1\r\n' "$home/log.kvr" > "$home/kvr_log.ini"
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "No display found (DISPLAY and WAYLAND_DISPLAY are empty), so the window cannot be shown." >&2
    echo "Run ./run.sh from a desktop session, or over SSH with X forwarding (ssh -X)." >&2
    echo "Without a display the command-line tool works on the same folder, e.g.:" >&2
    echo "  $home/kvrlog-cli --home $home summary" >&2
    echo "  $home/kvrlog-cli --home $home add --call SP9ABC --srx 012GW" >&2
    exit 1
fi
exec "$home/kvrlog" --home "$home" "$@"
