#!/usr/bin/env bash
# Gives the end-to-end program what it needs under Wine and runs it: three
# sessions side by side, each with its own Xvfb, a throwaway prefix with the
# stand-in subst.exe, and a virtual desktop with a taskbar. One of them also
# runs the glue's tests; another then starts a new session at 144 DPI, where
# the tests of every scale and the glue's dialog tests run again.
# Screenshots land in build/e2e-artifacts.
#   run_e2e.sh ORVANEL.EXE E2E_TESTS.EXE WIN_TESTS.EXE [DIST_DIR]
# ORVANEL_E2E_FILTER runs only the tests it names (GoogleTest's filter), in
# one session; ORVANEL_SOAK_CYCLES sets the soak's length.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
source "$repo/scripts/wine-prefix.sh"
exe=$(readlink -f "$1") e2e=$(readlink -f "$2") glue=$(readlink -f "$3") dist=${4:-}
artifacts=${ORVANEL_E2E_ARTIFACTS:-$repo/build/e2e-artifacts}
rm -rf "$artifacts" && mkdir -p "$artifacts"
work=$(mktemp -d /tmp/orvanel-e2e.XXXXXX)
trap 'rm -rf "$work"' EXIT
export WINEDEBUG=-all
# Wine would copy the installer's Start-menu shortcut into the Linux menus.
export WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"
export ORVANEL_EXE=$(winepath -w "$exe" 2>/dev/null) ORVANEL_E2E_ARTIFACTS=$(winepath -w "$artifacts" 2>/dev/null)
# Two drives for the settings dialog's tests, named to the program: Wine's
# DefineDosDevice makes none a program can browse, so they are Wine's own
# drive links, which a session reads when it starts.
export ORVANEL_E2E_DRIVES='D=C:\e2e-data;E=C:\e2e-not-ready'

# The packages scripts/package made, and an older build of the installer.
part() { sed -n "s/^#define ORVANEL_VERSION_$1 \([0-9]\+\)\s*$/\1/p" "$repo/resources/version.h"; }
version=$(part MAJOR).$(part MINOR).$(part REVISION)
if [ -n "$dist" ] && [ -f "$dist/Orvanel-$version-setup.exe" ]; then
    export ORVANEL_SETUP=$(winepath -w "$dist/Orvanel-$version-setup.exe" 2>/dev/null)
    makensis -V1 -NOCD -DVERSION_MAJOR="$(part MAJOR)" -DVERSION_MINOR="$(part MINOR)" \
        -DVERSION_REVISION=$(($(part REVISION) - 1)) -DPROGRAM_DIR="$(dirname "$exe")" \
        -DART_DIR="$repo/build/package" -DOUTFILE="$work/older-setup.exe" "$repo/installer/Orvanel.nsi" >&2 &&
        export ORVANEL_OLDER_SETUP=$(winepath -w "$work/older-setup.exe" 2>/dev/null)
fi

# A GoogleTest program in the prefix's one virtual desktop. The desktop does
# not pass its program's exit code on, so the verdict is read from the
# program's own report.
run() {
    local report=$work/report-$RANDOM.json
    wine explorer /desktop=Orvanel,1024x768 "$(winepath -w "$1")" "${@:2}" --gtest_output="json:$(winepath -w "$report")" \
        2>&1 | tr -d '\r' | grep --line-buffered -v '^wine: Read access denied'
    grep -q '"failures": 0,' "$report" 2>/dev/null && grep -q '"errors": 0,' "$report"
}

# session NAME FILTER [glue|scales]: the tests FILTER names in a session of
# their own; with "glue", then the glue's tests; with "scales", then the
# tests of every scale and the glue's dialog tests at 144 DPI.
session() {
    local rc=0
    export WINEPREFIX=$work/$1
    start_xvfb
    prepare_prefix "$WINEPREFIX" "$(dirname "$e2e")" 1024 768
    # Wine gives its C: drive no volume name; a user's disk has one.
    printf 'Backup Disc 2026' >"$WINEPREFIX/drive_c/.windows-label"
    mkdir -p "$WINEPREFIX/drive_c/e2e-data" "$WINEPREFIX/drive_c/e2e-not-ready"
    ln -sfn ../drive_c/e2e-data "$WINEPREFIX/dosdevices/d:"
    ln -sfn ../drive_c/e2e-not-ready "$WINEPREFIX/dosdevices/e:"
    wineserver -k; wineserver -w
    run "$e2e" --gtest_filter="$2" || rc=1
    [ "${3:-}" != glue ] || run "$glue" || rc=1
    if [ "${3:-}" == scales ]; then
        wineserver -k; wineserver -w
        wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
        run "$e2e" --gtest_filter='*AtEveryScale*' || rc=1
        run "$glue" --gtest_filter='Dialogs.*' || rc=1
    fi
    wineserver -k; wineserver -w
    kill "$XVFB_PID" 2>/dev/null
    return $rc
}

failed=0
if [ -n "${ORVANEL_E2E_FILTER:-}" ]; then
    session one "$ORVANEL_E2E_FILTER" || failed=1
else
    # Balanced so that all three end at about the same time.
    session a 'Tray.*:Settings.*:About.*' scales >"$work/a.log" 2>&1 &
    first=$!
    session b 'MountAtStart.*:Library.*:Start.EveryRoad*' glue >"$work/b.log" 2>&1 &
    second=$!
    session c 'Start.*:Installer.*:Soak.*-Start.EveryRoad*' >"$work/c.log" 2>&1 &
    third=$!
    for pid in "$first" "$second" "$third"; do wait "$pid" || failed=1; done
    cat "$work/a.log" "$work/b.log" "$work/c.log"
fi

# The portable zip: the program and its help file as built, a read-me for Windows.
zip=$dist/Orvanel-$version-portable.zip
if [ -z "${ORVANEL_E2E_FILTER:-}" ] && [ -f "$zip" ]; then
    passed=0
    check() { if "${@:2}"; then passed=$((passed + 1)); else echo "FAIL: the zip: $1"; failed=1; fi; }
    check "Orvanel.exe, Help\\Orvanel.chm and a read-me" test "$(unzip -Z1 "$zip" | grep -v '/$' | sort | paste -sd' ')" \
        == "Help/Orvanel.chm Orvanel.exe ReadMe.txt"
    check "the program as built" cmp -s <(unzip -p "$zip" Orvanel.exe) "$exe"
    check "the help file as built" cmp -s <(unzip -p "$zip" Help/Orvanel.chm) "$(dirname "$exe")/Help/Orvanel.chm"
    check "the read-me's lines end in CR LF" test "$(unzip -p "$zip" ReadMe.txt | grep -cv $'\r$')" -eq 0
    check "the read-me names the version" grep -q "Orvanel $version" <(unzip -p "$zip" ReadMe.txt)
    echo "the zip: $passed passed, $((5 - passed)) failed"
fi
for shot in "$artifacts"/*.bmp; do [ -f "$shot" ] && convert "$shot" "${shot%.bmp}.png" && rm "$shot"; done
exit $failed
