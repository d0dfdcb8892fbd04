#!/usr/bin/env bash
# Installs everything the build and the tests need on a fresh Debian machine.
# Safe to run again: it only installs what is missing.
set -euo pipefail

need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
    rm -f /var/lib/apt/lists/lock
    NEED_UPDATE=1
fi

for p in g++-mingw-w64-i686-posix mingw-w64-i686-dev binutils-mingw-w64-i686 \
         g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev wine64 \
         cmake ninja-build googletest xvfb xauth wine wine32:i386 libwine:i386 \
         locales imagemagick xdotool fonts-wine fonts-wqy-microhei fonts-dejavu-core; do
    have "$p" || need+=("$p")
done

if [ ${#need[@]} -gt 0 ]; then
    # apt's own chatter goes to a log, shown only when the installation fails.
    log=/tmp/wheelpad-setup.log
    echo "Installing ${need[*]} (log: $log)..."
    export DEBIAN_FRONTEND=noninteractive
    { apt-get update -qq && apt-get install -y -qq --no-install-recommends "${need[@]}"; } >"$log" 2>&1 ||
        { cat "$log"; exit 1; }
fi

# Wine takes its ANSI code page (936) from the locale it runs in, which must
# exist for the shell not to warn about it.
if ! locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; then
    sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -qx 'zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >>/etc/locale.gen
    locale-gen >/dev/null
fi
