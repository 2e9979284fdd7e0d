#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian machine (run as root), and the Debian
# packages named as arguments (what a script needs beyond that). Quick when everything is there.
set -euo pipefail

# xauth: xvfb-run needs it for the dialog's GUI tests (only recommended by xvfb).
# g++-mingw-w64-x86-64-posix and wine64 build and run the 64-bit ExEdit2 effect; g++ and
# libsimde-dev build its AVX-512 kernel's check for processors without AVX-512.
packages=(g++-mingw-w64-i686 mingw-w64-i686-dev g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
          g++ libsimde-dev wine wine32:i386 wine64 xvfb xauth locales
          fonts-ipafont-gothic cmake ninja-build googletest "$@")

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  apt-get update -q
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# A Japanese locale for the dialog's code page 932 behaviour.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP.utf8$'; then
  sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi

# Wine's prefixes, made once: ~/.wine (or $WINEPREFIX) for the 32-bit programs, ~/.wine64 for
# the 64-bit ones (cmake/wine64-run.sh). A running wineserver keeps later program starts fast.
export WINEDEBUG=-all
wine32_prefix=${WINEPREFIX:-$HOME/.wine}
wine64_prefix=$HOME/.wine64
if [ ! -f "$wine32_prefix/system.reg" ]; then
  echo "setup: creating the Wine prefix $wine32_prefix"
  wineboot -i >/dev/null 2>&1 || true
fi
if [ ! -f "$wine64_prefix/system.reg" ]; then
  echo "setup: creating the 64-bit Wine prefix $wine64_prefix"
  WINEPREFIX=$wine64_prefix /usr/lib/wine/wine64 wineboot -i </dev/null >/dev/null 2>&1 || true
  WINEPREFIX=$wine64_prefix timeout 30 wineserver -w || true
fi
# A server that Wine started by itself (Debian's wrapper passes -p0) ends with the last program,
# and each later program then waits about half a second for a new server and its services. While
# such a server runs no persistent one can start, so it is left to end first (its programs are
# done; the wait gives up after 10 s).
server='^/usr/lib/wine/wineserver'
if pgrep -f "$server" >/dev/null && ! pgrep -f "$server.* -p\$" >/dev/null; then
  timeout 10 wineserver -w || true
fi
# One lasting server per prefix. It keeps none of the caller's files open: started under
# `flock`, it would hold the shared CPU lock for as long as it runs, and no exclusive (benchmark)
# lock could be taken.
for prefix in "$wine32_prefix" "$wine64_prefix"; do
  (for fd in /proc/self/fd/*; do
    n=${fd##*/}
    [ "$n" -gt 2 ] && eval "exec $n>&-"
  done
  WINEPREFIX=$prefix exec wineserver -p) >/dev/null 2>&1 || true
done
