#!/bin/sh
# Runs a Windows GUI test program under Wine on a virtual display with a Japanese locale, so
# that windows can be created and the ANSI code page is 932 as on a Japanese user's machine.
#
# GUI programs get a Wine prefix of their own, whose wineserver (and with it Wine's desktop
# process) starts under this display and ends with the run. The other tests keep a persistent
# wineserver started without a display, and a desktop process bound to no display would keep
# every window from being created.
export WINEPREFIX="${QUORLIN_GUI_WINEPREFIX:-$HOME/.wine-quorlin-gui}"
export LC_ALL=ja_JP.UTF-8 WINEDEBUG=-all
exec xvfb-run -a sh -c 'wine "$@"; status=$?; wineserver -w; exit $status' gui-test "$@"
