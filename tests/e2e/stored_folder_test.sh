#!/usr/bin/env bash
# Stored folders at the edges: a drive's root, whose closing quote must not
# be escaped by its backslash, and a damaged stored value, which must never
# reach subst.exe.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

stored() { probe reg-get HKCU "$E2E_KEY" "$1"; }
everything_stored() { echo "$(probe reg-values HKCU "$E2E_KEY" | paste -sd ,) $(stored Path) $(stored Drive)"; }

echo "== a drive's root mounts and unmounts"
store_setting Path 'C:\'
store_setting Drive Q
e2e_start_orvanel
tray_menu_choose Mount
subst_wait_count 1
check_eq "the folder's backslash is doubled before the closing quote" 'subst.exe Q: "C:\\"' "$(subst_log | sed -n 1p)"
check_eq "the drive maps to the root" '\??\C:\' "$(probe dosdevice Q:)"
check_eq "no message" "" "$(message_answer 1000)"
check "the icon shows mounted" test "$(tray_icon_pixels yellow)" -gt 0
tray_menu_choose Unmount
subst_wait_count 2
check_eq "the unmount command line" 'subst.exe Q: /d' "$(subst_log | sed -n 2p)"
check_eq "the mapping is gone" none "$(probe dosdevice Q:)"
check_eq "still no message" "" "$(message_answer 1000)"
check "Exit ends the program" exit_orvanel

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
text=$(message_answer 5000)
e2e_log "message: $text"
check "a message says the stored setting is damaged" grep -qi damaged <<<"$text"
sleep 1
check_eq "nothing was started" "$before_log" "$(subst_count)"
check_eq "nothing was mapped" none "$(probe dosdevice X:)"
check_eq "nothing was written" "$before_stored" "$(everything_stored)"
tray_menu_open
check_eq "the menu still offers Mount" "$MENU_UNMOUNTED" "$(menu_look)"
menu_dismiss
check "Exit ends the program" exit_orvanel

e2e_finish
