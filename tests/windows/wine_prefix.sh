#!/usr/bin/env bash
# The Wine prefix the Windows tier shares: made once under the build tree,
# used by every test, its server stopped at the end. Nothing else is touched:
# every wine and wineserver call names this prefix.
#
#   wine_prefix.sh make PREFIX WINE WINESERVER         make the prefix unless it exists
#   wine_prefix.sh run  PREFIX WINE WINESERVER EXE ARG...  run a Windows program in it
#   wine_prefix.sh run-tests PREFIX WINE WINESERVER LOG EXE ARG...
#                                                      run a GoogleTest program in it, with a copy
#                                                      of its output in LOG; it fails unless the
#                                                      program got to the end of its run
#   wine_prefix.sh stop PREFIX WINE WINESERVER         stop the prefix's server
set -euo pipefail

action=$1 prefix=$2 wine=$3 wineserver=$4
shift 4
export WINEPREFIX=$prefix
export WINEDEBUG=-all
# No .NET or HTML engine installs, and a crash ends the program instead of
# starting the debugger.
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"

case $action in
  make)
    if [ -f "$prefix/system.reg" ]; then
      echo "reusing the Wine prefix $prefix"
      exit 0
    fi
    start=$SECONDS
    rm -rf "$prefix"
    # wineboot notes the missing 32-bit Wine on stderr; the tier runs 64-bit programs only.
    "$wine" wineboot --init 2>/dev/null
    "$wineserver" -w
    [ -f "$prefix/system.reg" ] || { echo "wineboot made no prefix in $prefix" >&2; exit 1; }
    echo "made the Wine prefix $prefix in $((SECONDS - start)) s"
    ;;
  run)
    exec "$wine" "$@"
    ;;
  run-tests)
    # Wine ends a program that overflows its stack with exit status 0, so a
    # run only counts when GoogleTest's closing line came out.
    log=$1
    shift
    "$wine" "$@" | tee "$log"
    if ! grep -Eq '^\[==========\] [0-9]+ tests? from [0-9]+ test suites? ran' "$log"; then
      echo "the program ended before its tests finished" >&2
      exit 1
    fi
    ;;
  stop)
    "$wineserver" -k 2>/dev/null || true
    ;;
  *)
    echo "usage: $0 make|run|run-tests|stop PREFIX WINE WINESERVER [LOG] [EXE ARG...]" >&2
    exit 2
    ;;
esac
