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
RUN='Software\Microsoft\Windows\CurrentVersion\Run'
FOLDER='C:\Some Folder'
mkdir -p "$WINEPREFIX/drive_c/Some Folder"

winenv() { wine cmd /c echo "%$1%" 2>/dev/null | tr -d '\r'; }
dir_win="$(winenv LOCALAPPDATA)\\Programs\\Orvanel"
dir=$(winepath -u "$dir_win" 2>/dev/null)
shortcut=$(winepath -u "$(winenv APPDATA)\\Microsoft\\Windows\\Start Menu\\Programs\\Orvanel.lnk" 2>/dev/null)
e2e_log "installs into $dir_win"

# A value below HKCU as text: a string as it is, a DWORD as a number.
reg_text() {
    local -a v
    read -r -a v < <(probe reg-get HKCU "$1" "$2")
    case "${v[0]}" in
        1 | 2) printf "$(printf '\\x%s' "${v[@]:1}")" | tr -d '\0'; echo ;;
        4) echo $((16#${v[4]}${v[3]}${v[2]}${v[1]})) ;;
        *) echo "${v[0]:-missing}" ;;
    esac
}
run_value() { reg_text "$RUN" Orvanel; }
# Windows' Startup apps page marks a Run value it turned off: "3 03" (type
# REG_BINARY, first byte odd).
APPROVED='Software\Microsoft\Windows\CurrentVersion\Explorer\StartupApproved\Run'
windows_mark() { probe reg-get HKCU "$APPROVED" Orvanel | sed "s/^3 \([0-9a-f]*\).*/3 \1/"; }
turn_off_in_windows() {
    wine reg add "HKCU\\$APPROVED" /v Orvanel /t REG_BINARY /d 030000000000000000000000 /f >/dev/null 2>&1
}
# Apps & features entries named Orvanel, whatever their key.
entries() { wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null | tr -d '\r' | grep -cE '^ +DisplayName +REG_SZ +Orvanel$'; }
settings_kept() { [ "$(probe reg-get HKCU "$E2E_KEY" Path)" == "$(encoded "$FOLDER")" ]; }

uninstalled() { [ ! -e "$dir" ] && [ "$(reg_text "$UNINSTALL" DisplayName)" == missing ]; }
# The uninstaller hands over to a copy of itself and returns at once.
uninstall_silently() { wine "$dir/Uninstall.exe" /S >/dev/null 2>&1; wait_until 120 uninstalled; }
# True when the process has ended (a zombie has).
ended() { ! ps -o stat= -p "$1" | grep -qv Z; }
start_installed() { E2E_EXE="$dir_win\\Orvanel.exe"; e2e_start_orvanel; }

same_files() {
    cmp -s "$built/Orvanel.exe" "$dir/Orvanel.exe" && cmp -s "$built/Help/Orvanel.chm" "$dir/Help/Orvanel.chm" &&
        [ -f "$dir/Uninstall.exe" ] && [ "$(cd "$dir" && find . -type f | sort | paste -sd' ')" == "./Help/Orvanel.chm ./Orvanel.exe ./Uninstall.exe" ]
}

echo "== silent install without /AUTOSTART"
wine "$setup" /S >/dev/null 2>&1
check_eq "the installer ends with 0" 0 "$?"
check "Orvanel.exe, Help\\Orvanel.chm and Uninstall.exe, nothing else, in $dir_win" same_files
check "the Start-menu shortcut points at the installed program" \
    grep -aqF "$dir_win\\Orvanel.exe" "$shortcut"
check_eq "no start at sign-in" missing "$(run_value)"
for pair in "DisplayName=Orvanel" "DisplayVersion=$version" "Publisher=Kestrane" \
    "DisplayIcon=$dir_win\\Orvanel.exe,0" "InstallLocation=$dir_win" \
    "UninstallString=\"$dir_win\\Uninstall.exe\"" "QuietUninstallString=\"$dir_win\\Uninstall.exe\" /S" \
    "NoModify=1" "NoRepair=1"; do
    check_eq "Apps & features: ${pair%%=*}" "${pair#*=}" "$(reg_text "$UNINSTALL" "${pair%%=*}")"
done
size_kib=$(($(cat "$dir/Orvanel.exe" "$dir/Help/Orvanel.chm" "$dir/Uninstall.exe" | wc -c) / 1024))
estimated=$(reg_text "$UNINSTALL" EstimatedSize)
check "Apps & features: EstimatedSize is the files' size in KiB ($estimated, files $size_kib)" \
    test "$estimated" -ge "$size_kib" -a "$estimated" -le $((size_kib + 3))

echo "== silent install with /AUTOSTART=1 over it, then without"
wine "$setup" /S /AUTOSTART=1 >/dev/null 2>&1
check_eq "start at sign-in: the quoted path of the installed program" "\"$dir_win\\Orvanel.exe\"" "$(run_value)"
check_eq "one Apps & features entry" 1 "$(entries)"
wine "$setup" /S >/dev/null 2>&1
check_eq "a silent reinstall without /AUTOSTART keeps the start at sign-in" "\"$dir_win\\Orvanel.exe\"" "$(run_value)"
check_eq "still one entry" 1 "$(entries)"

echo "== the installed program mounts; the silent uninstall closes it"
store_setting Path "$FOLDER"
store_setting Drive X
start_installed
check "Orvanel runs from its installed folder" e2e_orvanel_running
tray_menu_choose Mount
subst_wait_count 1
check_eq "the drive is mounted" "\\??\\$FOLDER" "$(probe dosdevice X:)"
e2e_shot installed-and-mounted >/dev/null
check "the silent uninstall finishes" uninstall_silently
check "Orvanel was closed" probe wait-gone OrvanelTrayWindow - 0
subst_wait_count 2
check_eq "closing it unmounted the drive" none "$(probe dosdevice X:)"
check "no tray icon is left" not tray_icon_shown
check "the program's folder is gone" test ! -e "$dir"
check "the shortcut is gone" test ! -e "$shortcut"
check_eq "the start at sign-in is gone" missing "$(run_value)"
check_eq "no Apps & features entry" 0 "$(entries)"
check "the user's settings are kept" settings_kept
# Whatever the program left mapped, the next steps start clean.
wine 'C:\windows\system32\subst.exe' X: /d >/dev/null 2>&1

echo "== the installer's pages"
# The wizard is the only dialog on the desktop; its title changes by page.
wizard() { probe children '#32770' - | awk -F'\t' 'NR == 1 {print $5} $2 == "Button" {print $5 "/" $4}'; }
wizard_has() { wizard | grep -qxF "$1"; }
# Waits for the button captioned $1 (with its & mark) to be enabled, clicks it.
wizard_click() {
    wait_until 60 wizard_has "$1/enabled" || return 1
    local ox oy x y w h
    read -r ox oy < <(probe window-rect '#32770' - | awk '{print $7, $8}')
    read -r x y w h < <(probe children '#32770' - | awk -F'\t' -v c="$1" '$2 == "Button" && $5 == c {print $3; exit}')
    xdotool mousemove "$((ox + x + w / 2))" "$((oy + y + h / 2))" click 1
    sleep 0.5
}

wine "$setup" >/dev/null 2>&1 &
setup_pid=$!
wait_until 30 wizard_has "&Next >/enabled"
check_eq "the wizard's title names Orvanel and its version" "Orvanel $version Setup" "$(wizard | head -n1)"
e2e_shot setup-1-welcome >/dev/null
wizard_click "&Next >"
wait_until 10 wizard_has "&Install/enabled"
check "the options page's header" grep -qx "Choose options" <<<"$(probe children '#32770' - | awk -F'\t' '{print $5}')"
e2e_shot setup-2-options >/dev/null
wizard_click "&Install"
check "the last page comes" wait_until 60 wizard_has "&Finish/enabled"
e2e_shot setup-3-finish >/dev/null
wizard_click "&Finish"
wait "$setup_pid"
check_eq "the interactive setup ends with 0" 0 "$?"
check "Start Orvanel now, ticked by default, started it" probe wait-exists OrvanelTrayWindow - 20000
check_eq "Start Orvanel when I sign in, ticked by default" "\"$dir_win\\Orvanel.exe\"" "$(run_value)"
check "the interactive install put the same files in place" same_files

echo "== the uninstaller's pages"
wine "$dir/Uninstall.exe" >/dev/null 2>&1
wait_until 30 wizard_has "&Uninstall/enabled"
check_eq "the uninstaller's title names Orvanel and its version" "Orvanel $version Uninstall" "$(wizard | head -n1)"
e2e_shot uninstall-1-options >/dev/null
wizard_click "&Uninstall"
check "the uninstaller finishes" wait_until 60 wizard_has "&Close/enabled"
e2e_shot uninstall-2-done >/dev/null
wizard_click "&Close"
check "the running Orvanel was closed" probe wait-gone OrvanelTrayWindow - 0
check "everything installed is gone" uninstalled
check "the shortcut is gone" test ! -e "$shortcut"
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
check_eq "the start at sign-in is kept" "\"$dir_win\\Orvanel.exe\"" "$(run_value)"
check "the settings are kept" settings_kept

echo "== start at sign-in as Windows' Startup apps page turns it off"
wine "$setup" /S /AUTOSTART=0 >/dev/null 2>&1
check_eq "/AUTOSTART=0 removes the start at sign-in" missing "$(run_value)"
wine "$setup" /S /AUTOSTART=1 >/dev/null 2>&1
turn_off_in_windows
wine "$setup" /S >/dev/null 2>&1
check_eq "a silent reinstall keeps the Run value turned off in Windows" "\"$dir_win\\Orvanel.exe\"" "$(run_value)"
check_eq "and Windows' mark" "3 03" "$(windows_mark)"
wine "$setup" /S /AUTOSTART=1 >/dev/null 2>&1
check_eq "/AUTOSTART=1 turns it on again: Windows' mark is gone" missing "$(windows_mark)"
turn_off_in_windows

echo "== an interactive reinstall offers what is in effect, and closes the running copy"
start_installed
running=$E2E_ORVANEL_PID
wine "$setup" >/dev/null 2>&1 &
setup_pid=$!
wizard_click "&Next >"
wait_until 10 wizard_has "&Install/enabled"
e2e_shot setup-4-options-reinstall >/dev/null
wizard_click "&Install"
check "the last page comes" wait_until 60 wizard_has "&Finish/enabled"
wizard_click "&Finish"
wait "$setup_pid"
check_eq "the interactive reinstall ends with 0" 0 "$?"
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
