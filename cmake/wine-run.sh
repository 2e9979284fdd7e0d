#!/bin/sh
# Starts a Windows program under Wine without Wine's debug chatter.
WINEDEBUG=-all exec wine "$@"
