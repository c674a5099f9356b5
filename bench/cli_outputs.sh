#!/usr/bin/env bash
# Runs every kvrlog-cli command over the demo log, the locator log and the import fixtures and keeps each
# output (stdout, stderr, exit code, every file written, the log files afterwards) in OUT. Two builds of the
# program give two folders that `diff -r` compares: a change that must not alter what a user sees leaves none.
#
#   bench/cli_outputs.sh build/src/kvrlog-cli /tmp/outputs-after
set -u
cli=$(realpath "$1")
out=$2
src=$(cd "$(dirname "$0")/.." && pwd)
rm -rf "$out"
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One program folder per log and analysis, so the settings of one run never leak into the next.
setup() { # name log analysis(off|county|locator)
    local home=$work/$1
    mkdir -p "$home"
    cp "$2" "$home/log.kvr"
    cp "$src/data/powiaty.txt" "$home/"
    {
        echo "[Program]"
        echo "Log=$home/log.kvr"
        echo "Pasmo=80M"
        echo "Emisja=CW"
        echo "[Operator]"
        echo "Uzywany znak=SP9KVR"
        echo "Name=Jan Kowalski"
        echo "Adres1=ul. Polna 1"
        echo "Miejscowosc=Kraków"
        echo "Kod=30-001"
        echo "Znak operatora=SP9KVR"
        echo "Lokator=KO02MD"
        echo "[EDI]"
        echo "TName=Test VHF"
        echo "PAdr1=ul. Polna 1"
        echo "PAdr2=30-001 Krakow"
        echo "PExch=SP9KVR"
        echo "RPhon=123"
        echo "PSect=SINGLE"
        echo "STXEq_2M=IC-9700"
        echo "SPowe_2M=100"
        echo "SpinEdit_70CM=2"
        if [ "$3" != off ]; then
            echo "[Analiza grupy]"
            echo "Analiza=1"
            if [ "$3" = county ]; then echo "Opcja=Powiat"; else echo "Opcja=Lokator"; fi
        fi
    } >"$home/kvr_log.ini"
}

n=0
run() { # name home args...
    local name=$1 home=$work/$2
    shift 2
    n=$((n + 1))
    local tag
    tag=$(printf '%03d-%s' "$n" "$name")
    (cd "$home" && KVRLOG_LOCK_WAIT_MS=0 "$cli" --home "$home" "$@" >"$out/$tag.out" 2>"$out/$tag.err")
    echo $? >"$out/$tag.rc"
    # Paths differ between runs; the folder is named by a placeholder.
    sed -i -e "s#$work#WORK#g" -e "s#_[0-9]\{8\}_[0-9]\{6\}\.txt#_STAMP.txt#g" "$out/$tag.out" "$out/$tag.err"
}

keep() { # home file-or-folder name
    cp -r "$work/$1/$2" "$out/$3"
}

for log in demo:"$src/data/demo.kvr" locator:"$src/tests/data/edi_locator_log.kvr"; do
    name=${log%%:*}
    file=${log#*:}
    for analysis in off county locator; do
        home=$name-$analysis
        setup "$home" "$file" "$analysis"
        run "$home-summary" "$home" summary
        for band in 80M 40M 2M 70CM; do
            for mode in CW SSB FM; do
                run "$home-summary-$band-$mode" "$home" summary --band "$band" --mode "$mode"
            done
        done
        run "$home-cabrillo" "$home" export cabrillo --claimed 1234 --province SL --location EU \
            --contest-name TEST "$work/$home/out.cbr"
        keep "$home" out.cbr "$home.cbr"
        run "$home-adif" "$home" export adif --comment C --contest TEST --operator SP9KVR "$work/$home/out.adi"
        keep "$home" out.adi "$home.adi"
        run "$home-adif-sppa" "$home" export adif --sppa-comment "$work/$home/sppa.adi"
        keep "$home" sppa.adi "$home-sppa.adi"
        run "$home-adif-odx" "$home" export adif --odx-comment "$work/$home/odx.adi"
        keep "$home" odx.adi "$home-odx.adi"
        run "$home-csv" "$home" export csv "$work/$home/out.csv"
        keep "$home" out.csv "$home.csv"
        mkdir -p "$work/$home/edi"
        run "$home-edi" "$home" export edi --band all "$work/$home/edi"
        keep "$home" edi "$home-edi"
    done
done

# Imports into a copy of each log, then the log as it stands afterwards.
for fixture in "$src"/tests/data/*.adi "$src"/tests/data/*.cbr "$src"/tests/data/*.log "$src"/tests/data/*.txt; do
    base=$(basename "$fixture")
    case "$base" in
    *.adi | *.txt) format=adif ;;
    *) format=cabrillo ;;
    esac
    for log in demo:"$src/data/demo.kvr" empty:/dev/null; do
        home=import-${log%%:*}-$base
        setup "$home" "${log#*:}" off
        run "$home" "$home" import "$format" "$fixture"
        keep "$home" log.kvr "$home.kvr"
    done
done

# Contacts added, then the log and its backups.
setup add "$src/data/demo.kvr" off
setup add-locator "$src/tests/data/edi_locator_log.kvr" locator
run add-1 add add --call SP1XYZ --band 40M --mode CW --srx 033 --date 2026-03-14 --time 09:00:00
run add-dupe add add --call SP9ABC --band 80M --mode CW --srx 012 --date 2026-03-14 --time 09:01:00
run add-phone add add --call sq2aaa --band 80M --mode SSB --rst-sent 57 --srx 9 --date 2026-03-14 --time 09:02:00
run add-vhf add-locator add --call SP5ZZZ --band 2M --mode CW --srx 010JO91RU --date 2024-06-01 --time 11:00:00
keep add log.kvr add.kvr
keep add-locator log.kvr add-locator.kvr

run locator-1 demo-off locator KO02MD JO91RU
run locator-2 demo-off locator JO90AB KO02MD
run master demo-off master /usr/share/hamradio-files/MASTER.SCP "SP9A"
run morse demo-off morse --wpm 28 "CQ TEST SP9KVR"
run usage demo-off --help
echo "$n runs in $out"
