#!/bin/sh
# Starts a Windows program under Wine without Wine's debug chatter.
#
# Wine's background services (services.exe, winedevice.exe, ...) start with the first program
# that needs them and live as long as the wineserver, holding on to that program's standard
# error (their standard output is /dev/null). Started by a test program, they would keep ctest
# (or a pipe that takes standard error) waiting long after the program has ended, so they are
# started here first with no link to this script's output.
export WINEDEBUG=-all
wineboot </dev/null >/dev/null 2>&1
exec wine "$@"
