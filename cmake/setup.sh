#!/usr/bin/env bash
# Shared by run.sh and test.sh: installs the Debian packages the project needs (only the missing ones),
# then configures and builds into build/. appstream and desktop-file-utils check the installed desktop files in
# the tests; dpkg-dev and file build the Debian package (the target "package"); dbus-daemon runs the private bus
# of the RealtimeKit client's test.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

packages=(cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools libqt6serialport6-dev qt6-multimedia-dev qt6-charts-dev
          libgl-dev clang-format qt6-translations-l10n libhamlib-dev libhamlib-utils
          appstream desktop-file-utils dpkg-dev file dbus-daemon cwdaemon)
if [ -f cmake/extra-packages.txt ]; then
    while read -r pkg || [ -n "$pkg" ]; do
        [ -n "$pkg" ] && [[ "$pkg" != \#* ]] && packages+=("$pkg")
    done < cmake/extra-packages.txt
fi
missing=()
for pkg in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi

# KVR_WERROR=ON (CI sets it) makes every warning in our code an error.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKVR_WERROR="${KVR_WERROR:-OFF}" >/dev/null
cmake --build build --parallel "$(nproc)"
