#!/bin/sh
# Runs a Windows GUI test program under Wine on a virtual display with a Japanese locale, so
# that windows can be created and the ANSI code page is 932 as on a Japanese user's machine.
exec xvfb-run -a env LC_ALL=ja_JP.UTF-8 WINEDEBUG=-all wine "$@"
