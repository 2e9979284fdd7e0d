#!/bin/sh
# Runs a Windows GUI test program under Wine on a virtual display with a Japanese locale, so
# that windows can be created and the ANSI code page is 932 as on a Japanese user's machine.
#
# Every run gets a new Wine prefix of its own, whose wineserver (and with it Wine's desktop
# process) starts under this display and ends with the run. The other tests keep a persistent
# wineserver started without a display, whose desktop process could create no window, and a
# prefix kept from run to run can carry the state of a run that was killed.
prefix=$(mktemp -d "${TMPDIR:-/tmp}/quorlin-gui-wine.XXXXXX") || exit 1
trap 'rm -rf "$prefix"' EXIT
export WINEPREFIX="$prefix" LC_ALL=ja_JP.UTF-8 WINEDEBUG=-all
#
# Wine's windows are made unmanaged: with no window manager on the display, Wine otherwise
# waits 2 s for one to acknowledge every modal window that closes.
xvfb-run -a sh -c '
  wine reg add "HKCU\Software\Wine\X11 Driver" /v Managed /d N /f >/dev/null 2>&1
  wine "$@"; status=$?; wineserver -w; exit $status' gui-test "$@"
