#!/usr/bin/env bash
# Installs what is missing, builds, and runs the program on a ready program folder (build/bin, which holds
# the county list; a demo log is put there on the first run).
set -euo pipefail
cd "$(dirname "$0")"
./cmake/setup.sh
home="$PWD/build/bin"
if [ ! -f "$home/log.kvr" ] && [ ! -f "$home/kvr_log.ini" ]; then
    cp data/demo.kvr "$home/log.kvr"
    printf '[Program]\r\nLog=%s\r\n\r\n[Analiza grupy]\r\nOpcja=Powiat\r\nAnaliza=1\r\n' "$home/log.kvr" > "$home/kvr_log.ini"
fi
exec "$home/kvrlog-cli" --home "$home" summary "$@"
