#!/usr/bin/env bash
# The packages scripts/package makes: the per-user installer, silent and
# through its pages, installing over a copy and over an older build, the
# installed program, the uninstaller with Orvanel running and mounted, and
# the portable zip's contents. Third argument: the folder of the packages.
source "$(dirname "$0")/lib.sh"
e2e_init "$1" "$2"
dist=$(readlink -f "$3")
repo=$(cd "$(dirname "$0")/../.." && pwd)
built=$(dirname "$E2E_EXE")
# Wine would copy the Start-menu shortcut into the Linux desktop's menus.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES,winemenubuilder.exe=d"

part() { sed -n "s/^#define ORVANEL_VERSION_$1 \([0-9]\+\)\s*$/\1/p" "$repo/resources/version.h"; }
major=$(part MAJOR) minor=$(part MINOR) revision=$(part REVISION)
version=$major.$minor.$revision
older=$major.$minor.$((revision - 1))
setup=$dist/Orvanel-$version-setup.exe
zip=$dist/Orvanel-$version-portable.zip
check "the packages carry the version $version in their names" test -f "$setup" -a -f "$zip"
[ -f "$setup" ] || { e2e_log "no $setup: run scripts/package first"; e2e_finish; exit 1; }

UNINSTALL='Software\Microsoft\Windows\CurrentVersion\Uninstall\Orvanel'
APPROVED='Software\Microsoft\Windows\CurrentVersion\Explorer\StartupApproved\Run'
FOLDER='C:\Some Folder'
mkdir -p "$WINEPREFIX/drive_c/Some Folder"

winenv() { wine cmd /c echo "%$1%" 2>/dev/null | tr -d '\r'; }
dir_win="$(winenv LOCALAPPDATA)\\Programs\\Orvanel"
dir=$(winepath -u "$dir_win" 2>/dev/null)
shortcut=$(winepath -u "$(winenv APPDATA)\\Microsoft\\Windows\\Start Menu\\Programs\\Orvanel.lnk" 2>/dev/null)
autostart="\"$dir_win\\Orvanel.exe\""
e2e_log "installs into $dir_win"

# A value below HKCU as reg.exe shows it (a DWORD as 0x...), or "missing".
reg_text() {
    wine reg query "HKCU\\$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 \+REG_[A-Z_]\+ \+//p" | grep . ||
        echo missing
}
run_value() { reg_text 'Software\Microsoft\Windows\CurrentVersion\Run' Orvanel; }
# Windows' Startup apps page marks a Run value it turned off: "3 03" (REG_BINARY, first byte odd).
windows_mark() { probe reg-get HKCU "$APPROVED" Orvanel | sed "s/^3 \([0-9a-f]*\).*/3 \1/"; }
turn_off_in_windows() {
    wine reg add "HKCU\\$APPROVED" /v Orvanel /t REG_BINARY /d 030000000000000000000000 /f >/dev/null 2>&1
}
# Apps & features entries named Orvanel, whatever their key.
entries() {
    wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null | tr -d '\r' |
        grep -cE '^ +DisplayName +REG_SZ +Orvanel$'
}
settings_kept() { [ "$(probe reg-get HKCU "$E2E_KEY" Path)" == "$(encoded "$FOLDER")" ]; }
uninstalled() { [ ! -e "$dir" ] && [ ! -e "$shortcut" ] && [ "$(reg_text "$UNINSTALL" DisplayName)" == missing ]; }
# The uninstaller hands over to a copy of itself and returns at once.
uninstall_silently() { wine "$dir/Uninstall.exe" /S >/dev/null 2>&1; wait_until 120 uninstalled; }
# True when the process has ended (a zombie has).
ended() { ! ps -o stat= -p "$1" | grep -qv Z; }
start_installed() { E2E_EXE="$dir_win\\Orvanel.exe"; e2e_start_orvanel; }
same_files() {
    cmp -s "$built/Orvanel.exe" "$dir/Orvanel.exe" && cmp -s "$built/Help/Orvanel.chm" "$dir/Help/Orvanel.chm" &&
        [ "$(cd "$dir" && find . -type f | sort | paste -sd' ')" == "./Help/Orvanel.chm ./Orvanel.exe ./Uninstall.exe" ]
}

# The wizard, the only dialog on the desktop: its title, every text and each button as "TEXT/STATE".
wizard() { probe children '#32770' - | awk -F'\t' '{print $5} $2 == "Button" {print $5 "/" $4}'; }
wizard_has() { wizard | grep -qxF "$1"; }
# Waits for the button captioned $1 (with its & mark) to be enabled, and clicks it.
wizard_click() { wait_until 60 wizard_has "$1/enabled" && dialog_click "$(wizard | head -n1)" "$1"; }
# wizard_run NAME PROGRAM TITLE STEP...: runs PROGRAM through its pages; each
# STEP clicks a button, or with "=" first, checks that the page shows a text.
wizard_run() {
    local name=$1 step shots=0
    wine "$2" >/dev/null 2>&1 &
    local pid=$!
    wait_until 30 wizard_has "$4/enabled"
    check_eq "$name: the title names Orvanel and its version" "Orvanel $version $3" "$(wizard | head -n1)"
    for step in "${@:4}"; do
        e2e_shot "${name// /-}-$((++shots))" >/dev/null  # each page, for the eye
        if [ "${step:0:1}" == = ]; then check "$name: the page reads ${step#=}" wait_until 10 wizard_has "${step#=}"
        else check "$name: $step" wizard_click "$step"; fi
    done
    wait "$pid"
    check_eq "$name: ends with 0" 0 "$?"
}

echo "== silent install without /AUTOSTART"
wine "$setup" /S >/dev/null 2>&1
check_eq "the installer ends with 0" 0 "$?"
check "Orvanel.exe, Help\\Orvanel.chm and Uninstall.exe, nothing else, in $dir_win" same_files
check "the Start-menu shortcut points at the installed program" grep -aqF "$dir_win\\Orvanel.exe" "$shortcut"
check_eq "no start at sign-in" missing "$(run_value)"
for pair in "DisplayName=Orvanel" "DisplayVersion=$version" "Publisher=Kestrane" \
    "DisplayIcon=$dir_win\\Orvanel.exe,0" "InstallLocation=$dir_win" \
    "UninstallString=\"$dir_win\\Uninstall.exe\"" "QuietUninstallString=\"$dir_win\\Uninstall.exe\" /S" \
    "NoModify=0x1" "NoRepair=0x1"; do
    check_eq "Apps & features: ${pair%%=*}" "${pair#*=}" "$(reg_text "$UNINSTALL" "${pair%%=*}")"
done
size_kib=$(($(cat "$dir/Orvanel.exe" "$dir/Help/Orvanel.chm" "$dir/Uninstall.exe" | wc -c) / 1024))
estimated=$(($(reg_text "$UNINSTALL" EstimatedSize)))
check "Apps & features: EstimatedSize is the files' size in KiB ($estimated, files $size_kib)" \
    test "$estimated" -ge "$size_kib" -a "$estimated" -le $((size_kib + 3))

echo "== silent install with /AUTOSTART=1 over it, then without"
wine "$setup" /S /AUTOSTART=1 >/dev/null 2>&1
check_eq "start at sign-in: the quoted path of the installed program" "$autostart" "$(run_value)"
check_eq "one Apps & features entry" 1 "$(entries)"
wine "$setup" /S >/dev/null 2>&1
check_eq "a silent reinstall without /AUTOSTART keeps the start at sign-in" "$autostart" "$(run_value)"
check_eq "still one entry" 1 "$(entries)"

echo "== the installed program mounts; the silent uninstall closes it"
store_setting Path "$FOLDER"
store_setting Drive X
start_installed
tray_menu_choose Mount
subst_wait_count 1
check_eq "the installed program mounts the drive" "\\??\\$FOLDER" "$(probe dosdevice X:)"
check "the silent uninstall removes the folder, the shortcut and the entry" uninstall_silently
check "Orvanel was closed" probe wait-gone OrvanelTrayWindow - 0
subst_wait_count 2
check_eq "closing it unmounted the drive" none "$(probe dosdevice X:)"
check "no tray icon is left" not tray_icon_shown
check_eq "the start at sign-in is gone" missing "$(run_value)"
check_eq "no Apps & features entry" 0 "$(entries)"
check "the user's settings are kept" settings_kept
# Whatever the program left mapped, the next steps start clean.
wine 'C:\windows\system32\subst.exe' X: /d >/dev/null 2>&1

echo "== the installer's and the uninstaller's pages"
wizard_run "the interactive setup" "$setup" Setup "&Next >" "=Choose options" "&Install" "&Finish"
check "Start Orvanel now, ticked by default, started it" probe wait-exists OrvanelTrayWindow - 20000
check_eq "Start Orvanel when I sign in, ticked by default" "$autostart" "$(run_value)"
check "the interactive install put the same files in place" same_files
wizard_run "the uninstaller" "$dir/Uninstall.exe" Uninstall "&Uninstall" "&Close"
check "the running Orvanel was closed" probe wait-gone OrvanelTrayWindow - 0
check "everything installed is gone" uninstalled
check_eq "the start at sign-in is gone" missing "$(run_value)"
check "the settings are kept (the box to remove them is not ticked)" settings_kept

echo "== installing over an older build"
older_setup=$E2E_WORK/Orvanel-$older-setup.exe
makensis -V1 -NOCD -DVERSION_MAJOR="$major" -DVERSION_MINOR="$minor" -DVERSION_REVISION=$((revision - 1)) \
    -DPROGRAM_DIR="$built" -DART_DIR="$repo/build/package" -DOUTFILE="$older_setup" \
    "$repo/installer/Orvanel.nsi" >&2
wine "$older_setup" /S /AUTOSTART=1 >/dev/null 2>&1
check_eq "the older build is installed" "$older" "$(reg_text "$UNINSTALL" DisplayVersion)"
start_installed
wine "$setup" /S >/dev/null 2>&1
check_eq "the current installer ends with 0" 0 "$?"
check "it closed the running older copy" probe wait-gone OrvanelTrayWindow - 0
check_eq "one Apps & features entry" 1 "$(entries)"
check_eq "its version is $version" "$version" "$(reg_text "$UNINSTALL" DisplayVersion)"
check "the files are the current ones" same_files
check_eq "the start at sign-in is kept" "$autostart" "$(run_value)"
check "the settings are kept" settings_kept

echo "== start at sign-in as Windows' Startup apps page turns it off"
wine "$setup" /S /AUTOSTART=0 >/dev/null 2>&1
check_eq "/AUTOSTART=0 removes the start at sign-in" missing "$(run_value)"
wine "$setup" /S /AUTOSTART=1 >/dev/null 2>&1
turn_off_in_windows
wine "$setup" /S >/dev/null 2>&1
check_eq "a silent reinstall keeps the Run value turned off in Windows" "$autostart" "$(run_value)"
check_eq "and Windows' mark" "3 03" "$(windows_mark)"
wine "$setup" /S /AUTOSTART=1 >/dev/null 2>&1
check_eq "/AUTOSTART=1 turns it on again: Windows' mark is gone" missing "$(windows_mark)"
turn_off_in_windows

echo "== an interactive reinstall offers what is in effect, and closes the running copy"
start_installed
running=$E2E_ORVANEL_PID
wizard_run "the interactive reinstall" "$setup" Setup "&Next >" "&Install" "&Finish"
check_eq "the box came unticked, as Windows had it off; left so, the Run value goes" missing "$(run_value)"
check_eq "and Windows' mark with it" missing "$(windows_mark)"
check_eq "still one entry" 1 "$(entries)"
check "the running copy was closed" ended "$running"
check "and the last page started it again" probe wait-exists OrvanelTrayWindow - 20000
uninstall_silently

echo "== the portable zip"
check_eq "Orvanel.exe, Help\\Orvanel.chm and a read-me" "Help/Orvanel.chm Orvanel.exe ReadMe.txt" \
    "$(unzip -Z1 "$zip" | grep -v '/$' | sort | paste -sd' ')"
check "the program is the one built" cmp -s <(unzip -p "$zip" Orvanel.exe) "$built/Orvanel.exe"
check "the help file is the one built" cmp -s <(unzip -p "$zip" Help/Orvanel.chm) "$built/Help/Orvanel.chm"
check_eq "every line of the read-me ends in CR LF" 0 "$(unzip -p "$zip" ReadMe.txt | grep -cv $'\r$')"
check "the read-me names the version" grep -q "Orvanel $version" <(unzip -p "$zip" ReadMe.txt)

e2e_finish
