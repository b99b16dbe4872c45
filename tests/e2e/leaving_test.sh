#!/usr/bin/env bash
# Leaving Orvanel by every road while the drive is mounted or being
# mounted: Exit during a slow mount, WM_CLOSE from outside (as an installer
# closes it), the end of the session, and Exit while a subst.exe hangs.
# Each road unmounts, removes the icon and ends the program.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

FOLDER='C:\Some Folder'
mkdir -p "$WINEPREFIX/drive_c/Some Folder"
store_setting Path "$FOLDER"
store_setting Drive X
# Wine's trace of Shell_NotifyIcon shows what the program last did with its icon.
E2E_WINEDEBUG=+process,+systray
NIM_DELETE=2

# Lines of the stand-in's log from line $1 on, joined with "|".
subst_log_from() { subst_log | sed -n "$1,\$p" | paste -sd '|'; }

mount_now() {
    local before
    before=$(subst_count)
    tray_menu_choose Mount
    subst_wait_count $((before + 1))
    check_eq "$1: the drive is mounted" "\\??\\$FOLDER" "$(probe dosdevice X:)"
}

# After the program has gone: the unmount ran, the drive is free and the
# last call to the shell removed the icon.
check_left() {
    check "$1 ends the program" probe wait-gone OrvanelTrayWindow - 15000
    probe wait-no-process subst.exe 30000
    check_eq "$1: one unmount" "subst.exe X: /d" "$(subst_log_from "$2")"
    check_eq "$1: no drive is left mapped" none "$(probe dosdevice X:)"
    check_eq "$1: the icon was removed (NIM_DELETE)" "$NIM_DELETE" "$(last_tray_call)"
    check "$1: no icon is left" not tray_icon_shown
}

echo "== Exit while the mount is still running"
subst_delay_ms 3000
e2e_start_orvanel
tray_menu_choose Mount
subst_wait_count 1  # the mount has started; the stand-in pauses before mapping
started=$(date +%s%3N)
tray_menu_choose Exit
check "the program ends" probe wait-gone OrvanelTrayWindow - 15000
echo "  (left $(($(date +%s%3N) - started)) ms after Exit was chosen)"
probe wait-no-process subst.exe 30000
check_eq "the mount ran first, then the unmount" "subst.exe X: \"$FOLDER\"|subst.exe X: /d" "$(subst_log_from 1)"
check_eq "no drive is left mapped" none "$(probe dosdevice X:)"
check "no icon is left" not tray_icon_shown
subst_delay_ms 0

echo "== WM_CLOSE from outside while mounted"
e2e_start_orvanel
mount_now "WM_CLOSE"
before=$(subst_count)
probe close OrvanelTrayWindow -
check_left "WM_CLOSE" $((before + 1))

echo "== the session ends for an update (ENDSESSION_CLOSEAPP) while mounted"
e2e_start_orvanel
mount_now "end of session"
before=$(subst_count)
check_eq "Orvanel lets the session end" "query=1" "$(probe end-session OrvanelTrayWindow 1)"
check_left "WM_ENDSESSION" $((before + 1))

echo "== Exit while the mount hangs"
# Far longer than the program may wait: it must end without it.
subst_delay_ms 600000
e2e_start_orvanel
tray_menu_choose Mount
subst_wait_count "$(($(subst_count) + 1))"
started=$(date +%s%3N)
tray_menu_choose Exit
check "the program ends without waiting for the hung subst.exe" probe wait-gone OrvanelTrayWindow - 30000
echo "  (left $(($(date +%s%3N) - started)) ms after Exit was chosen)"

e2e_finish
