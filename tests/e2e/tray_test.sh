#!/usr/bin/env bash
# The notification-area icon, its menu, mounting, unmounting and Exit, as a
# user meets them: real clicks on the icon in Wine's taskbar.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

FOLDER='C:\Some Folder'
mkdir -p "$WINEPREFIX/drive_c/Some Folder"

# The tip shows its words only: the NUL ends it before the padding blanks,
# which would otherwise widen the box far past the words' own width.
check_tip() {
    local width text
    read -r width text < <(tray_tip)
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
e2e_shot first-start-menu >/dev/null
tray_release_right
check "the menu stays open after the release" menu_open
check_eq "the menu: Mount greyed with no folder stored, Settings, About, Help and Exit usable" \
    "$MENU_NO_FOLDER" "$(menu_look)"
menu_dismiss
check "Escape closes the menu" not menu_open
check "Exit ends the program" exit_orvanel
check_eq "Exit while unmounted starts no command" 0 "$(subst_count)"
sleep 1
check "the icon is gone after Exit" not tray_icon_shown

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
e2e_shot mounted >/dev/null
tray_menu_open
e2e_shot mounted-menu >/dev/null
check_eq "the menu while mounted: Unmount, Settings greyed" "$MENU_MOUNTED" "$(menu_look)"
menu_choose Unmount
subst_wait_count 2
check_eq "unmount command line" "subst.exe X: /d" "$(subst_log | sed -n 2p)"
check_eq "the mapping is gone" "none" "$(probe dosdevice X:)"
check "the icon shows the unmounted picture again" test "$(tray_icon_pixels yellow)" -eq 0
tray_menu_open
check_eq "the menu after Unmount: Mount, Settings usable again" "$MENU_UNMOUNTED" "$(menu_look)"
menu_dismiss

echo "== the shell's notification area starts again"
probe tray-remove OrvanelTrayWindow
sleep 1
check "the icon is gone from the area" not tray_icon_shown
probe broadcast-taskbar-created
sleep 1
check "TaskbarCreated brings the icon back" test "$(tray_icon_pixels red)" -gt 0

echo "== a mount that subst refuses"
subst_fail_with "Path not found - $FOLDER"
tray_menu_choose Mount
check "subst's message is shown" probe wait-window '#32770' Orvanel 5000
e2e_shot mount-refused >/dev/null
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
check_eq "exactly one unmount was started" "$((before + 1))" "$(subst_count)"
check_eq "and it was the unmount" "subst.exe X: /d" "$(subst_log | tail -n 1)"
check_eq "the drive is unmapped" "none" "$(probe dosdevice X:)"
check "every subst.exe was started from the system folder" \
    grep -q 'app L"C:\\\\windows\\\\system32\\\\subst.exe"' "$E2E_PROCESS_LOG"

e2e_finish
