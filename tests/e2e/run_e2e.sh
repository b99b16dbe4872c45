#!/usr/bin/env bash
# Gives the end-to-end program what it needs under Wine and runs it: two
# sessions side by side, each with its own Xvfb, a throwaway prefix with the
# stand-in subst.exe, a data drive and a virtual desktop with a taskbar; one
# also runs the glue's tests, then their dialogs' again at 144 DPI.
#   run_e2e.sh ORVANEL.EXE E2E_TESTS.EXE WIN_TESTS.EXE [DIST_DIR]
# ORVANEL_E2E_FILTER runs only the tests it names, in one session.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
source "$repo/scripts/wine-prefix.sh"
exe=$(readlink -f "$1") e2e=$(readlink -f "$2") glue=$(readlink -f "$3") dist=${4:-}
work=$(mktemp -d /tmp/orvanel-e2e.XXXXXX)
trap 'rm -rf "$work"' EXIT
export WINEDEBUG=-all
# Wine would copy the installer's Start-menu shortcut into the Linux menus.
export WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"
export ORVANEL_EXE=$(winepath -w "$exe" 2>/dev/null)
# The settings dialog's data drive: one of Wine's drive links, as its DefineDosDevice's can't be browsed.
export ORVANEL_E2E_DRIVE='D=C:\e2e-data'
version=$(sed -n 's/^#define ORVANEL_VERSION_\(MAJOR\|MINOR\|REVISION\) \([0-9]\+\)\s*$/\2/p' "$repo/resources/version.h" | paste -sd.)
setup=$dist/Orvanel-$version-setup.exe
[ -n "$dist" ] && [ -f "$setup" ] && export ORVANEL_SETUP=$(winepath -w "$setup" 2>/dev/null)

# A GoogleTest program in the prefix's virtual desktop, bounded so that a program left running cannot hold the run open.
# The verdict is the report's overall count (the desktop passes no exit code on); 2: none, the Wine server died under it first.
run() {
    local report=$work/report-$RANDOM.json limit=${ORVANEL_E2E_TIMEOUT:-400}
    (sleep "$limit" && touch "$report.late" && end_prefix) >/dev/null 2>&1 &
    local bound=$!
    wine explorer /desktop=Orvanel,1024x768 "$(winepath -w "$1")" "${@:2}" --gtest_output="json:$(winepath -w "$report")" 2>&1 |
        tr -d '\r' | grep --line-buffered -v '^wine: Read access denied' | tee "$report.out"
    kill "$bound" 2>/dev/null
    [ ! -f "$report.late" ] || { echo "FAIL: $(basename "$1") still running after $limit s, ended"; return 1; }
    [ -f "$report" ] || [ ! -f "$WINEPREFIX.died" ] || grep -q '^\[  FAILED  \]' "$report.out" ||
        { echo "the Wine server died under $(basename "$1")$(awk '/^\[ RUN/ {t = " in " $NF} END {print t}' "$report.out")"; return 2; }
    [ -f "$report" ] || echo "FAIL: $(basename "$1") wrote no report (DISPLAY=$DISPLAY)"
    [ "$(grep -m1 -o '"failures": [0-9]*' "$report" 2>/dev/null)" == '"failures": 0' ] &&
        [ "$(grep -m1 -o '"errors": [0-9]*' "$report")" == '"errors": 0' ]
}

# session NAME FILTER [glue]: the tests FILTER names in a session of their
# own; with "glue", then the glue's tests, and its dialog tests at 144 DPI.
session() {
    local rc=0
    export WINEPREFIX=$work/$1
    start_xvfb
    watch_server "$WINEPREFIX.died"
    prepare_prefix "$WINEPREFIX" "$(dirname "$e2e")" 1024 768
    mkdir -p "$WINEPREFIX/drive_c/e2e-data"
    ln -sfn ../drive_c/e2e-data "$WINEPREFIX/dosdevices/d:"
    wineserver -k; wineserver -w
    run "$e2e" --gtest_filter="$2" || rc=$?
    if [ "${3:-}" == glue ]; then
        run "$glue" || rc=$((rc | $?))
        wineserver -k; wineserver -w
        wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
        run "$glue" --gtest_filter='Dialogs.*' || rc=$((rc | $?))
    fi
    end_prefix  # nothing of it outlives its folder
    kill "$WATCH_PID" "$XVFB_PID" 2>/dev/null
    return $rc
}

# session_with_rerun NAME FILTER [glue]: a session, run once more in a new prefix (saying so, its output dropped) when only its Wine server failed.
session_with_rerun() {
    session "$@" >"$work/$1.log" 2>&1 && { cat "$work/$1.log"; return; }
    [ $? -eq 2 ] || { cat "$work/$1.log"; return 1; }
    echo "$(grep -m1 '^the Wine server died' "$work/$1.log"); session $1 run again"
    session "$1-again" "${@:2}"
}

failed=0
if [ -n "${ORVANEL_E2E_FILTER:-}" ]; then
    session one "$ORVANEL_E2E_FILTER" || failed=1
else
    # The minute a missing folder is waited for runs beside everything else.
    session_with_rerun a 'MountAtStart.AFolderThatNever*:Installer.*' >"$work/a.out" 2>&1 &
    first=$!
    session_with_rerun b '*-MountAtStart.AFolderThatNever*:Installer.*' glue >"$work/b.out" 2>&1 &
    second=$!
    for pid in "$first" "$second"; do wait "$pid" || failed=1; done
    cat "$work/a.out" "$work/b.out"
fi

# The portable zip: the program and its help file as built, a read-me for Windows.
zip=$dist/Orvanel-$version-portable.zip
if [ -z "${ORVANEL_E2E_FILTER:-}" ] && [ -f "$zip" ]; then
    readme=$(unzip -p "$zip" ReadMe.txt)
    if [ "$(unzip -Z1 "$zip" | grep -v '/$' | sort | paste -sd' ')" == "Help/Orvanel.chm Orvanel.exe ReadMe.txt" ] &&
        cmp -s <(unzip -p "$zip" Orvanel.exe) "$exe" && cmp -s <(unzip -p "$zip" Help/Orvanel.chm) "$(dirname "$exe")/Help/Orvanel.chm" &&
        [ "$(grep -cv $'\r$' <<<"$readme")" -eq 0 ] && grep -q "Orvanel $version" <<<"$readme"; then
        echo "the zip: 1 passed, 0 failed"
    else
        echo "FAIL: the zip: not the program, its help file and a CR LF read-me naming the version"
        echo "the zip: 0 passed, 1 failed"
        failed=1
    fi
fi
exit $failed
