#!/usr/bin/env bash
# Starting Orvanel: one copy per session (a second start ends at once and
# brings the first copy's open dialog forward), and an icon that appears
# even when the shell refuses it at first.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

SETTINGS='Select Path to Make As drive'
ABOUT='About Orvanel'

# Starts a second copy and prints its exit code; a copy that stays is
# ended by the timeout (124).
second_start() {
    timeout 60 wine "$E2E_EXE" >/dev/null 2>&1
    echo $?
}

foreground_title() { probe foreground | cut -f2; }
is_foreground() { [ "$(foreground_title)" == "$1" ]; }

# Puts Notepad in front, so that bringing a dialog forward can be seen.
notepad_in_front() {
    wine notepad >/dev/null 2>&1 &
    probe wait-window Notepad - 20000 && wait_until 5 is_foreground "Untitled - Notepad"
}

echo "== a second start while Orvanel runs"
e2e_start_orvanel
red=$(tray_icon_pixels red)
check_eq "the second copy ends at once with exit code 0" 0 "$(second_start)"
check_eq "one hidden window" 1 "$(probe count-class OrvanelTrayWindow)"
check "the first copy's icon is still there" test "$red" -gt 0 -a "$(tray_icon_pixels red)" -eq "$red"
check_eq "and it is the only icon in the notification area" "$red" "$(tray_area_pixels red)"

echo "== a second start brings the open settings dialog forward"
tray_menu_choose Settings
probe wait-window '#32770' "$SETTINGS" 5000
check "Notepad is in front of the dialog" notepad_in_front
check_eq "the second copy ends with exit code 0" 0 "$(second_start)"
check "the settings dialog is in front" wait_until 5 is_foreground "$SETTINGS"
e2e_shot settings-brought-forward >/dev/null
probe close Notepad -
probe wait-gone Notepad - 5000
dialog_click "$SETTINGS" Cancel
probe wait-gone '#32770' "$SETTINGS" 5000

echo "== a second start brings the open about box forward"
tray_menu_choose About...
probe wait-window '#32770' "$ABOUT" 5000
check "Notepad is in front of the box" notepad_in_front
check_eq "the second copy ends with exit code 0" 0 "$(second_start)"
check "the about box is in front" wait_until 5 is_foreground "$ABOUT"
probe close Notepad -
probe wait-gone Notepad - 5000
probe close '#32770' "$ABOUT"
probe wait-gone '#32770' "$ABOUT" 5000
check "Exit ends the program" exit_orvanel

echo "== the shell refuses the icon twice, then takes it"
probe refuse-tray 2 60000 >"$E2E_WORK/refused" &
refuser=$!
probe wait-exists Shell_TrayWnd 'orvprobe refusing tray' 10000
e2e_start_orvanel
wait "$refuser"
check_eq "the shell refused the first two attempts" 2 "$(cat "$E2E_WORK/refused")"
check "the icon appears on a later attempt" wait_until 20 tray_icon_shown
check "without a message" not probe wait-window '#32770' Orvanel 0
check "Exit ends the program" exit_orvanel

echo "== the shell refuses every attempt: the user is told; TaskbarCreated brings the icon"
probe refuse-tray 100 60000 >"$E2E_WORK/refused" &
refuser=$!
probe wait-exists Shell_TrayWnd 'orvprobe refusing tray' 10000
e2e_start_orvanel
check "a message comes after the last attempt" probe wait-window '#32770' Orvanel 40000
e2e_shot icon-missing >/dev/null
text=$(dialog_texts Orvanel)
check "it says the icon could not be added to the notification area" grep -q 'could not add its icon to the notification area' <<<"$text"
dialog_click Orvanel OK
probe close Shell_TrayWnd 'orvprobe refusing tray'
wait "$refuser"
check "no icon yet" not tray_icon_shown
probe broadcast-taskbar-created
check "TaskbarCreated brings the icon" wait_until 10 tray_icon_shown
check "Exit ends the program" exit_orvanel

e2e_finish
