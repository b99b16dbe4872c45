#!/usr/bin/env bash
# The settings dialog opened from the tray menu, driven with real clicks and
# keys, read back from its controls and what OK stores from the registry.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

T='Select Path to Make As drive'

# The machine: drive D: with folders, a CD drive E: with a long volume name,
# a folder whose name no ANSI code page holds, and one nested deeper than
# subst.exe can map. Wine reads drives and volume names (from the file
# .windows-label in the drive's root) when its session starts.
D_ROOT=$E2E_WORK/d-drive E_ROOT=$E2E_WORK/e-drive SMILE='Smile 😀'
LONG_PART=$(printf 'L%.0s' $(seq 51))
long=$(printf "/$LONG_PART%.0s" 1 2 3 4 5)
LONG_PATH="D:${long//\//\\}"
WORK_ROWS="D:\\|Data|[Work]|docs|src"
mkdir -p "$D_ROOT/Data/Work/src" "$D_ROOT/Data/Work/docs" "$D_ROOT/Other" "$D_ROOT/$SMILE" "$D_ROOT$long" "$E_ROOT"
ln -sfn "$D_ROOT" "$WINEPREFIX/dosdevices/d:"
ln -sfn "$E_ROOT" "$WINEPREFIX/dosdevices/e:"
printf 'Backup Disc 2026' >"$E_ROOT/.windows-label"
e2e_restart_session wine reg add 'HKLM\Software\Wine\Drives' /v 'e:' /d cdrom /f

dialog_shown() { probe wait-window '#32770' "$T" "${1:-0}"; }
dialog_gone() { probe wait-gone '#32770' "$T" 3000; }
dialog_escape() { probe key escape; dialog_gone; }
settings_open() { tray_menu_choose Settings; dialog_shown 5000; }
stored() { probe reg-get HKCU "$E2E_KEY" "$1"; }
store_work_x() { store_setting Path 'D:\Data\Work'; store_setting Drive X; }
# Orvanel started again with nothing stored and then the command $@ run.
restart_clean() { exit_orvanel; probe reg-delete-tree HKCU "$MAKER_KEY"; "$@"; }

# The drive Drive1 shows, e.g. "D:".
drive_shown() {
    probe combo "$T" 301 | awk -F'\t' 'NR == 1 {sub("sel ", ""); sel = $0} NR > 1 && $1 == sel {print $2}'
}
# Dir1's rows joined with "|", the selected one in brackets.
folder_rows() {
    probe list "$T" 304 | awk -F'\t' 'NR == 1 {sub("sel ", ""); sel = $0; next}
        {printf "%s%s", (n++ ? "|" : ""), ($1 == sel ? "[" $2 "]" : $2)} END {print ""}'
}
letter_shown() { control_text "$T" 303; }
# All the dialog shows: "DRIVE LETTER ROWS".
shown() { echo "$(drive_shown) $(letter_shown) $(folder_rows)"; }
shown_is() { [ "$(shown)" == "$1" ]; }

# Double-clicks the folder row named $1.
open_row() {
    local x y
    read -r x y < <(probe list "$T" 304 | ROW=$1 awk -F'\t' 'NR > 1 && $2 == ENVIRON["ROW"] {print $3; exit}')
    [ -n "$x" ] && xdotool mousemove "$x" "$y" click --repeat 2 --delay 80 1 && sleep 0.7
}

# Replaces the letter box's text with $1, clicking into it as a user would;
# letter_ok then presses OK (or the key $2).
type_letter() {
    control_click "$T" 303
    probe key end
    for _ in 1 2 3 4 5 6; do probe key backspace; done
    [ -z "$1" ] || probe keys "$1"
}
letter_ok() {
    type_letter "$1"
    if [ -n "${2:-}" ]; then probe key "$2"; else dialog_click "$T" OK; fi
}
check_menu() { tray_menu_open; check_eq "$1" "$2" "$(menu_look)"; menu_dismiss; }

# OK (or the key $4) with the letter $1 must bring a message matching $2 and
# leave the dialog open with the focus on control $3.
refused() {
    letter_ok "$1" "${4:-}"
    check "OK with \"$1\" is refused: $2" grep -q "$2" <<<"$(message_answer)"
    check "the dialog stays open after \"$1\"" dialog_shown
    check_eq "the focus goes to control $3 after \"$1\"" "$3" "$(focus_id)"
}

check_message_at() {
    letter_ok xy
    probe wait-window '#32770' Orvanel 3000
    check_readable "at $1 DPI" '#32770' Orvanel - "message-$1"
    message_answer >/dev/null
}

taskbar_strip() { screen_crop "840x16+60+$((E2E_DESKTOP_H - 18))" "$E2E_WORK/taskbar-$1.png"; }

echo "== first use, nothing stored"
e2e_start_orvanel
taskbar_strip before
check "Settings opens the dialog" settings_open
check "drive C, the letter Z, Dir1 on drive C" grep -q '^C: Z \[\?C:\\' <<<"$(shown)"
check_eq "the focus starts on Drive1" 301 "$(focus_id)"
order=""
for _ in 1 2 3 4 5; do probe key tab; order+="$(focus_id) "; done
check_eq "tab order: Dir1, OK, Cancel, letter box, Drive1" "304 1 2 303 301 " "$order"
taskbar_strip after
check_eq "no taskbar button for the dialog" 0 \
    "$(compare -metric AE "$E2E_WORK/taskbar-before.png" "$E2E_WORK/taskbar-after.png" null: 2>&1)"

echo "== Cancel, Escape and the close box write nothing"
probe key down  # Drive1 has the focus again
check_eq "the arrow key moves Drive1 to D" "D:" "$(drive_shown)"
type_letter q
dialog_click "$T" Cancel
check "Cancel closes the dialog" dialog_gone
settings_open
check_eq "reopened after Cancel: drive C and Z again" "C: Z" "$(drive_shown) $(letter_shown)"
check "Escape closes the dialog" dialog_escape
settings_open
probe close '#32770' "$T"
check "the close box closes the dialog" dialog_gone
check_eq "nothing was stored" "missing missing" "$(stored Drive) $(stored Path)"
check_menu "Mount is still greyed" "$MENU_NO_FOLDER"

echo "== choosing a folder and a letter"
settings_open
probe key down
check_eq "drive D chosen, Dir1 at its current folder, the letter left alone" \
    "D: Z [D:\\]|Data|$LONG_PART|Other|$SMILE" "$(shown)"
check "double-click opens Data" open_row Data
check_eq "Dir1 opened Data" "D:\\|[Data]|Work" "$(folder_rows)"
probe key down
probe key enter
check_eq "Enter opens Work and does not press OK" "$WORK_ROWS" "$(folder_rows)"
letter_ok y
check "OK closes the dialog" dialog_gone
check_eq "no message after a good save" "" "$(message_answer 0)"
check_eq "Drive holds y encoded, Path the folder" "1 86 00 $(encoded 'D:\Data\Work')" "$(stored Drive) $(stored Path)"
tray_menu_open
check_eq "Mount is enabled after the save" "$MENU_UNMOUNTED" "$(menu_look)"
menu_choose Mount
subst_wait_count 1
check_eq "Mount maps the chosen folder" "subst.exe y: \"D:\\Data\\Work\"" "$(subst_log | tail -n 1)"
check_eq "the drive maps to the folder" "\\??\\D:\\Data\\Work" "$(probe dosdevice Y:)"
tray_menu_choose Unmount  # Settings is greyed while mounted
subst_wait_count 2

echo "== stored values open the lists there"
store_work_x
settings_open
check_eq "Drive1 on D, the letter X, Dir1 open at \\Data\\Work" "D: X $WORK_ROWS" "$(shown)"
check "drive E is listed with its volume name" grep -q $'\tE: \\[Backup Disc 2026\\]$' <<<"$(probe combo "$T" 301)"
check_readable "at 96 DPI" - "$T" "202 243" settings-96
# Windows sends WM_DPICHANGED when the dialog moves to a screen of another
# scale; the probe sends it from inside the program, as Wine has one scale.
check_eq "each control's font is replaced while the old one still exists" \
    "fonts set 6, replaced while still held 0" "$(probe dpi-change - "$T" 144)"
check_readable "after a change to 144 DPI" - "$T" - settings-96-to-144
dialog_escape
settings_open
tray_menu_open
check "no menu opens while the dialog is open" not menu_open
check_eq "the icon brings the one dialog forward" 1 "$(probe count - "$T")"
check_eq "which has the focus again" "#32770	$T	focus=301" "$(probe foreground)"
probe key up
check "choosing drive C moves Dir1 there and leaves the letter alone" grep -q '^C: X \[\?C:\\' <<<"$(shown)"
probe key down

echo "== a drive that is not ready keeps the previous one"
rm -rf "$E_ROOT"
before=$(shown)
probe key down
check_eq "a message names drive E" "Drive E: is not ready." "$(message_answer)"
wait_until 3 shown_is "$before"  # Dir1 is read back while it is filled again
check_eq "Drive1 is back on D, Dir1 has not moved" "$before" "$(shown)"
dialog_escape

echo "== refused letters and folders"
before="$(stored Drive) $(stored Path)"
settings_open
for bad in '' xy 1 'X:'; do refused "$bad" 'A to Z' 303; done
check_message_at 96
probe keys w
check_eq "the refused text was selected: typing replaces it" "w" "$(letter_shown)"
refused c 'Drive C: is already in use' 303 enter
wine 'C:\windows\system32\subst.exe' Q: 'C:\windows' >/dev/null 2>&1
refused Q 'Drive Q: is already in use' 303
open_row 'D:\'
check "open the folder whose name has no ANSI form" open_row "$SMILE"
refused m 'characters' 304
check_eq "nothing written after the refusals" "$before" "$(stored Drive) $(stored Path)"
dialog_escape
store_setting Path "$LONG_PATH"
settings_open
check "Dir1 opens the deep folder" grep -q "\[$LONG_PART\]" <<<"$(folder_rows)"
refused m '259' 304
check_eq "the long path was not written over" "$(encoded "$LONG_PATH")" "$(stored Path)"
dialog_escape
wine 'C:\windows\system32\subst.exe' W: 'D:\Data\Work' >/dev/null 2>&1
store_setting Path 'D:\Data\Work'
settings_open
letter_ok W
check "a letter already mapped to the chosen folder is accepted" dialog_gone
check_eq "W was stored" "$(encoded W)" "$(stored Drive)"

echo "== stored folder or drive that are gone"
store_setting Path 'D:\Data\Work\Gone\Deeper'
settings_open
check_eq "a missing folder opens at its nearest existing parent" "$WORK_ROWS" "$(folder_rows)"
dialog_escape
store_setting Path 'K:\Nowhere'
tray_menu_choose Settings
check_eq "a missing drive gives a message naming it" "Drive K: does not exist." "$(message_answer 5000)"
check "the dialog opens all the same" dialog_shown 3000
check_eq "on drive C" "C:" "$(drive_shown)"
dialog_escape

echo "== a write that fails"
# Below a volatile key no lasting key can be created: both writes fail.
restart_clean probe reg-create-volatile HKCU "$MAKER_KEY"
e2e_start_orvanel
settings_open
letter_ok y
check_eq "a failed save is reported with the fixed text" "Unable to save your settings" "$(message_answer)"
check "the dialog closes after the report" dialog_gone
check_eq "nothing could be stored" missing "$(stored Drive)"
check_menu "Mount stays greyed" "$MENU_NO_FOLDER"

echo "== at 150% (144 DPI)"
restart_clean e2e_use_dpi 144
store_work_x
e2e_start_orvanel
check "the dialog opens at 144 DPI" settings_open
check_readable "at 144 DPI" - "$T" "303 365" settings-144
check_eq "the lists are filled as at 96 DPI" "D: X $WORK_ROWS" "$(shown)"
check_message_at 144
probe key escape

e2e_finish
