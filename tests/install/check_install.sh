#!/usr/bin/env bash
# Installs the build into a fresh prefix and runs the installed kvrlog-cli as a user whose home is empty:
# the program folder must become ~/.local/share/kvrlog with the county list, and nothing may be written into
# the installation. Also: a portable copy keeps its own folder, and the manual page documents every command.
# Usage: check_install.sh BUILD_DIR SOURCE_DIR [CMAKE]
set -euo pipefail
build=$1
source=$2
cmake=${3:-cmake}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

prefix=$work/prefix
"$cmake" --install "$build" --prefix "$prefix" >/dev/null
for file in bin/kvrlog bin/kvrlog-cli share/kvrlog/powiaty.txt share/kvrlog/KVR_Log.html share/kvrlog/demo.kvr \
    share/applications/kvrlog.desktop share/icons/hicolor/scalable/apps/kvrlog.svg \
    share/metainfo/io.github.kvrlog.kvrlog.metainfo.xml share/man/man1/kvrlog.1.gz share/man/man1/kvrlog-cli.1.gz; do
    [ -e "$prefix/$file" ] || fail "not installed: $file"
done
# Every shipped contest definition, as it is in the source tree.
for contest in "$source"/data/contests/*.ini; do
    cmp -s "$contest" "$prefix/share/kvrlog/contests/$(basename "$contest")" ||
        fail "not installed as shipped: share/kvrlog/contests/$(basename "$contest")"
done
installed=$(cd "$prefix" && find . | sort)

home=$work/home
mkdir "$home"
data=$home/.local/share/kvrlog
cli() {
    env -u KVRLOG_HOME -u XDG_DATA_HOME HOME="$home" "$@"
}

cli "$prefix/bin/kvrlog-cli" summary >"$work/out" 2>"$work/err" || fail "summary: exit $? $(cat "$work/err")"
[ -d "$data" ] || fail "$data was not made"
cmp -s "$data/powiaty.txt" "$source/data/powiaty.txt" || fail "the county list was not copied into $data"
head -n 1 "$work/out" | grep -q "^Log $data/log.kvr .*QSO: *0 " || fail "summary caption: $(head -n 1 "$work/out")"
grep -qx "qsos=0" "$work/out" || fail "summary counts: $(cat "$work/out")"
grep -q "w folderze:" "$work/err" && grep -qF "$data" "$work/err" || fail "the first start did not name the folder"

# The next start says nothing; the folder works for logging.
cli "$prefix/bin/kvrlog-cli" add --call SP9XYZ --srx 017GW >/dev/null 2>"$work/err" || fail "add: $(cat "$work/err")"
[ ! -s "$work/err" ] || fail "a later start spoke again: $(cat "$work/err")"
cli "$prefix/bin/kvrlog-cli" summary >"$work/out" 2>/dev/null || fail "second summary"
grep -qx "qsos=1" "$work/out" || fail "the contact is not in $data/log.kvr"
[ "$(cd "$prefix" && find . | sort)" = "$installed" ] || fail "the installation was written to"

# A portable copy: the executable's folder holds the county list, so it stays the program folder.
portable=$work/portable
mkdir "$portable"
cp "$prefix/bin/kvrlog-cli" "$source/data/powiaty.txt" "$portable/"
cli "$portable/kvrlog-cli" summary >"$work/out" 2>"$work/err" || fail "portable summary: $(cat "$work/err")"
head -n 1 "$work/out" | grep -q "^Log $portable/log.kvr " || fail "portable caption: $(head -n 1 "$work/out")"

# Every command of the command-line tool has its section in the manual page.
page=$source/packaging/kvrlog-cli.1
commands=$("$prefix/bin/kvrlog-cli" --help | sed -n 's/^  \([a-z][a-z-]*\) .*/\1/p')
[ -n "$commands" ] || fail "no commands in kvrlog-cli --help"
for command in $commands; do
    grep -q "^\.SS \"$command " "$page" || fail "kvrlog-cli.1 does not document \"$command\""
done
if command -v groff >/dev/null; then
    for man in "$source/packaging/kvrlog.1" "$page"; do
        warnings=$(groff -man -ww -z "$man" 2>&1)
        [ -z "$warnings" ] || fail "$man: $warnings"
    done
fi
echo "installed to $prefix; program folder $data"
