#!/bin/sh
# Starts a 64-bit Windows program under wine64 without Wine's debug chatter, in the 64-bit
# prefix ~/.wine64 (the 32-bit programs keep ~/.wine). The background services are started
# first with no link to this script's output, for the reason given in wine-run.sh.
export WINEDEBUG=-all
export WINEPREFIX="$HOME/.wine64"
wine64=/usr/lib/wine/wine64
"$wine64" wineboot </dev/null >/dev/null 2>&1
exec "$wine64" "$@"
