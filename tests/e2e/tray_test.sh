#!/usr/bin/env bash
# The notification-area icon, its menu, mounting, unmounting and Exit, as a
# user meets them: real clicks on the icon in Wine's taskbar. Then stored
# folders at the edges: a drive's root, whose closing quote must not be
# escaped by its backslash, and a damaged value, which must never reach subst.exe.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

FOLDER='C:\Some Folder'
mkdir -p "$WINEPREFIX/drive_c/Some Folder"

# The tip shows its words only: the NUL ends it before the padding blanks,
# which would otherwise widen the box far past the words' own width.
check_tip() {
    local width text
    IFS=$'\t' read -r width text < <(tray_tip)
    check_eq "the tip reads $1" "$1" "$text"
    check "the tip box fits its words ($width px)" test "${width:-999}" -lt 120
}

echo "== first start, nothing stored"
e2e_start_orvanel
check "icon shows the unmounted picture: a red cross, no yellow connector" \
    test "$(tray_icon_pixels red)" -gt 0 -a "$(tray_icon_pixels yellow)" -eq 0
check_tip "Drive Unmounted"
tray_click_left
check "a left click opens nothing" not menu_open
tray_double_click
check "a double click opens nothing" not menu_open
tray_press_right
check "the menu opens on the right press itself" menu_open
tray_release_right
check "the menu stays open after the release" menu_open
check_eq "the menu: Mount greyed with no folder stored, Settings, About, Help and Exit usable" \
    "$MENU_NO_FOLDER" "$(menu_look)"
menu_dismiss
check "Escape closes the menu" not menu_open
check "Exit ends the program" exit_orvanel
check_eq "Exit while unmounted starts no command" 0 "$(subst_count)"

echo "== a folder stored: mount and unmount"
store_setting Path "$FOLDER"
store_setting Drive X
e2e_start_orvanel
tray_menu_open
check_eq "the menu: Mount usable with a folder stored" "$MENU_UNMOUNTED" "$(menu_look)"
menu_choose Mount
subst_wait_count 1
check_eq "mount command line" "subst.exe X: \"$FOLDER\"" "$(subst_log | sed -n 1p)"
check_eq "the drive maps to the folder" "\\??\\$FOLDER" "$(probe dosdevice X:)"
check "the icon shows the mounted picture" test "$(tray_icon_pixels yellow)" -gt 0
check_tip "Drive Mounted"
tray_menu_open
check_eq "the menu while mounted: Unmount, Settings greyed" "$MENU_MOUNTED" "$(menu_look)"
menu_choose Unmount
subst_wait_count 2
check_eq "the mapping is gone" "none" "$(probe dosdevice X:)"
check "the icon shows the unmounted picture again" test "$(tray_icon_pixels yellow)" -eq 0
tray_menu_open
check_eq "the menu after Unmount: Mount, Settings usable again" "$MENU_UNMOUNTED" "$(menu_look)"
menu_dismiss

echo "== a mount that subst refuses"
subst_fail_with "Path not found - $FOLDER"
tray_menu_choose Mount
check "subst's message is shown" probe wait-window '#32770' Orvanel 5000
check_eq "the message is subst's own" "Path not found - $FOLDER" "$(dialog_texts Orvanel)"
dialog_click Orvanel OK
check "the message box closes" probe wait-gone '#32770' Orvanel 3000
check_eq "nothing was mapped" "none" "$(probe dosdevice X:)"
check "the icon is back to unmounted" test "$(tray_icon_pixels yellow)" -eq 0
tray_menu_open
check_eq "the menu after the failure: Mount, Settings usable" "$MENU_UNMOUNTED" "$(menu_look)"
menu_dismiss
subst_succeed

echo "== the letter left mapped by an earlier run"
wine 'C:\windows\system32\subst.exe' X: "$FOLDER" >/dev/null 2>&1
before=$(subst_count)
tray_menu_choose Mount
subst_wait_count $((before + 1))
sleep 1
check "no message when the letter already maps to the folder" not probe wait-window '#32770' Orvanel 0
check "the icon shows mounted" test "$(tray_icon_pixels yellow)" -gt 0

echo "== Exit while mounted"
before=$(subst_count)
check "Exit ends the program" exit_orvanel
subst_wait_count $((before + 1))
sleep 1
check_eq "exactly one unmount was started" "subst.exe X: /d" "$(subst_log | tail -n +$((before + 1)))"
check_eq "the drive is unmapped" "none" "$(probe dosdevice X:)"
check "every subst.exe was started from the system folder" \
    grep -q 'app L"C:\\\\windows\\\\system32\\\\subst.exe"' "$E2E_PROCESS_LOG"

everything_stored() { echo "$(probe reg-get HKCU "$E2E_KEY" Path) $(probe reg-get HKCU "$E2E_KEY" Drive)"; }

echo "== a drive's root mounts and unmounts"
store_setting Path 'C:\'
store_setting Drive Q
e2e_start_orvanel
from=$(($(subst_count) + 1))
tray_menu_choose Mount
subst_wait_count "$from"
check_eq "a root's backslash is doubled before the quote" 'subst.exe Q: "C:\\"' "$(subst_log | sed -n "${from}p")"
check_eq "the drive maps to the root" '\??\C:\' "$(probe dosdevice Q:)"
check_eq "no message" "" "$(message_answer 1000)"
tray_menu_choose Unmount
subst_wait_count $((from + 1))
check_eq "the mapping is gone" none "$(probe dosdevice Q:)"
exit_orvanel

echo "== a damaged stored folder: its text holds a NUL (stored byte ff)"
mkdir -p "$WINEPREFIX/drive_c/Data Folder"
folder=$(encoded 'C:\Data Folder')
rest=$(encoded 'Old')
probe reg-set-raw HKCU "$E2E_KEY" Path "${folder% 00} ff ${rest#1 }"
store_setting Drive X
before_log=$(subst_count)
before_stored=$(everything_stored)
e2e_start_orvanel
tray_menu_choose Mount
check "a message says the stored setting is damaged" grep -qi damaged <<<"$(message_answer 5000)"
sleep 1
check_eq "nothing was started" "$before_log" "$(subst_count)"
check_eq "nothing was mapped" none "$(probe dosdevice X:)"
check_eq "nothing was written" "$before_stored" "$(everything_stored)"
exit_orvanel

e2e_finish
