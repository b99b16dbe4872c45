#!/usr/bin/env bash
# The settings dialog as a user meets it: opened from the tray menu, driven
# with real clicks and keys, its lists read back from the screen's controls
# and what OK stores read back from the registry.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

T='Select Path to Make As drive'
REPO=$(cd "$(dirname "$0")/../.." && pwd)
SCREENSHOTS=$REPO/build/screenshots
mkdir -p "$SCREENSHOTS"

# --- the machine: drive D: with folders, a CD drive E:, a folder whose name
# no ANSI code page holds, and one nested deeper than subst.exe can map -----
D_ROOT=$E2E_WORK/d-drive
E_ROOT=$E2E_WORK/e-drive
SMILE='Smile 😀'
LONG_PART=$(printf 'L%.0s' $(seq 51))
LONG_PATH="D:"
mkdir -p "$D_ROOT/Data/Work/src" "$D_ROOT/Data/Work/docs" "$D_ROOT/Other" "$D_ROOT/$SMILE" "$E_ROOT"
long_unix=$D_ROOT
for _ in 1 2 3 4 5; do
    long_unix=$long_unix/$LONG_PART
    LONG_PATH="$LONG_PATH\\$LONG_PART"
done
mkdir -p "$long_unix"
ln -sfn "$D_ROOT" "$WINEPREFIX/dosdevices/d:"
ln -sfn "$E_ROOT" "$WINEPREFIX/dosdevices/e:"

# Wine learns its drives when its session starts.
restart_wine_session() {
    wineserver -k >/dev/null 2>&1
    wineserver -w >/dev/null 2>&1
    "$@"
    e2e_start_desktop
}
mark_e_as_cdrom() { wine reg add 'HKLM\Software\Wine\Drives' /v 'e:' /d cdrom /f >/dev/null 2>&1; }
restart_wine_session mark_e_as_cdrom

# --- helpers ---------------------------------------------------------------

lp() { wine "$E2E_TOOLS/listprobe.exe" "$@" 2>/dev/null | tr -d '\r'; return "${PIPESTATUS[0]}"; }

dialog_shown() { probe wait-window '#32770' "$T" "${1:-0}"; }
message_shown() { probe wait-window '#32770' Orvanel "${1:-3000}"; }
settings_open() {
    tray_menu_choose Settings
    dialog_shown 5000
}

# The drive Drive1 shows, e.g. "D:".
drive_shown() {
    lp combo "$T" 301 | awk -F'\t' 'NR == 1 {sub("sel ", ""); sel = $0} NR > 1 && $1 == sel {print $2}'
}
# Dir1's rows joined with "|", the selected one in brackets.
folder_rows() {
    lp list "$T" 304 | awk -F'\t' 'NR == 1 {sub("sel ", ""); sel = $0; next}
        {printf "%s%s", (n++ ? "|" : ""), ($1 == sel ? "[" $2 "]" : $2)} END {print ""}'
}
letter_shown() { probe children - "$T" | awk -F'\t' '$1 == 303 {print $5}'; }
focus_id() { probe foreground | sed -n 's/.*focus=//p'; }

# Double-clicks the folder row named $1.
open_row() {
    local x y
    read -r x y < <(lp list "$T" 304 | ROW=$1 awk -F'\t' 'NR > 1 && $2 == ENVIRON["ROW"] {print $3; exit}')
    [ -n "$x" ] || return 1
    xdotool mousemove "$x" "$y" click --repeat 2 --delay 80 1
    sleep 0.7
}

# Replaces the letter box's text with $1, clicking into it as a user would.
type_letter() {
    local geom ox oy x y w h i
    read -r ox oy < <(probe window-rect - "$T" | awk '{print $7, $8}')
    geom=$(probe children - "$T" | awk -F'\t' '$1 == 303 {print $3}')
    read -r x y w h <<<"$geom"
    xdotool mousemove "$((ox + x + w / 2))" "$((oy + y + h / 2))" click 1
    sleep 0.3
    probe key end
    for i in 1 2 3 4 5 6; do probe key backspace; done
    [ -z "$1" ] || probe keys "$1"
}

click_button() { dialog_click "$T" "$1"; }

# The registry's bytes for TEXT stored encoded: "1" (REG_SZ), 255 - c for
# each character, the terminator.
encoded() {
    local text=$1 out="1" i c
    for ((i = 0; i < ${#text}; i++)); do
        printf -v c '%d' "'${text:i:1}"
        out+=$(printf ' %02x' $((255 - c)))
    done
    echo "$out 00"
}
stored() { probe reg-get HKCU "$E2E_KEY" "$1"; }

# "left top width height" of a control relative to the client area.
control_rect() { dialog_control_rect "$T" "$1"; }

check_layout() {
    local dpi=$1 client=$2
    shift 2
    check_eq "client area at $dpi DPI" "$client" "$(probe window-rect - "$T" | awk '{print $9, $10}')"
    local entry id want
    for entry in "$@"; do
        id=${entry%%=*}
        want=${entry#*=}
        local got
        got=$(control_rect "$id")
        if within_one_pixel "$want" "$got"; then
            check "control $id at $want ($dpi DPI)" true
        else
            check "control $id at $want ($dpi DPI)" false
            printf '      actual: %s\n' "$got"
        fi
    done
}

# From a screenshot, along one row (h Y X0 X1) or one column (v X Y0 Y1):
# the first and last pixel whose colour differs from the one at the start,
# which lies on the dialog's face. Prints their x (or y).
edges_along() {
    local shot=$1 dir=$2 at=$3 from=$4 to=$5 geometry
    if [ "$dir" == h ]; then geometry="$((to - from + 1))x1+$from+$at"; else geometry="1x$((to - from + 1))+$at+$from"; fi
    convert "$shot" -crop "$geometry" +repage txt:- |
        awk -v from="$from" -v dir="$dir" '/^[0-9]/ {
            split($1, xy, "[,:]"); i = (dir == "h" ? xy[1] : xy[2]); hex = $3
            if (face == "") face = hex
            if (hex != face) { if (first == "") first = i + from; last = i + from }
        } END {print first, last}'
}

# Saves the dialog, with a margin, as the named screenshot.
save_dialog_shot() {
    local x y w h full=$E2E_WORK/full.png
    read -r x y w h < <(probe window-rect - "$T" | awk '{print $2, $3, $4, $5}')
    import -display "$DISPLAY" -window root "$full" 2>/dev/null
    x=$((x > 10 ? x - 10 : 0))
    y=$((y > 10 ? y - 10 : 0))
    convert "$full" -crop "$((w + 20))x$((h + 20))+$x+$y" +repage "$1"
}

taskbar_strip() {
    import -display "$DISPLAY" -window root -crop "840x16+60+$((E2E_DESKTOP_H - 18))" +repage "$1" 2>/dev/null
}

# --- first use ---------------------------------------------------------------

echo "== first use, nothing stored"
e2e_start_orvanel
taskbar_strip "$E2E_WORK/taskbar-before.png"
check "Settings opens the dialog" settings_open
check_eq "Drive1 shows drive C" "C:" "$(drive_shown)"
check_eq "the letter box shows Z" "Z" "$(letter_shown)"
check "Dir1 is on drive C" grep -q '^\[\?C:\\' <<<"$(folder_rows)"
check_eq "the focus starts on Drive1" 301 "$(focus_id)"
order=""
for _ in 1 2 3 4 5; do
    probe key tab
    order+="$(focus_id) "
done
check_eq "tab order: Dir1, OK, Cancel, letter box, Drive1" "304 1 2 303 301 " "$order"
check_eq "fixed border, no minimise or maximise box, no icon, owned by the hidden tray window" \
    "sizable=0 minimizebox=0 maximizebox=0 sysmenu=1 modalframe=1 appwindow=0 toolwindow=0 owner=OrvanelTrayWindow owner_visible=0" \
    "$(lp style "$T")"
taskbar_strip "$E2E_WORK/taskbar-after.png"
check_eq "no taskbar button for the dialog" 0 \
    "$(compare -metric AE "$E2E_WORK/taskbar-before.png" "$E2E_WORK/taskbar-after.png" null: 2>&1)"
e2e_shot first-use >/dev/null

echo "== Cancel, Escape and the close box write nothing"
probe key down  # Drive1 has the focus again: on to drive D
check_eq "the arrow key moves Drive1 to D" "D:" "$(drive_shown)"
type_letter q
click_button Cancel
check "Cancel closes the dialog" probe wait-gone '#32770' "$T" 3000
check_eq "Cancel stored no letter" missing "$(stored Drive)"
check_eq "Cancel stored no folder" missing "$(stored Path)"
settings_open
check_eq "reopened after Cancel: drive C again" "C:" "$(drive_shown)"
check_eq "reopened after Cancel: Z again" "Z" "$(letter_shown)"
probe key escape
check "Escape closes the dialog" probe wait-gone '#32770' "$T" 3000
settings_open
probe close '#32770' "$T"
check "the close box closes the dialog" probe wait-gone '#32770' "$T" 3000
check_eq "nothing was stored" "missing missing" "$(stored Drive) $(stored Path)"
tray_press_right
tray_release_right
check_eq "Mount is still greyed" greyed "$(menu_item_state Mount)"
menu_dismiss

echo "== choosing a folder and a letter"
settings_open
probe key down
check_eq "drive D chosen" "D:" "$(drive_shown)"
check_eq "Dir1 at D's current folder" "[D:\\]|Data|$LONG_PART|Other|$SMILE" "$(folder_rows)"
check "double-click opens Data" open_row Data
check_eq "Dir1 opened Data" "D:\\|[Data]|Work" "$(folder_rows)"
probe key down
probe key enter
check_eq "Enter opens Work and does not press OK" "D:\\|Data|[Work]|docs|src" "$(folder_rows)"
check "the dialog is still open after Enter" dialog_shown
type_letter y
click_button OK
check "OK closes the dialog" probe wait-gone '#32770' "$T" 3000
check "no message after a good save" not message_shown 0
check_eq "Drive holds the encoded y" "$(encoded y)" "$(stored Drive)"
check_eq "Drive is 0x86 0x00" "1 86 00" "$(stored Drive)"
check_eq "Path holds the encoded folder" "$(encoded 'D:\Data\Work')" "$(stored Path)"
tray_press_right
tray_release_right
check_eq "Mount is enabled after the save" enabled "$(menu_item_state Mount)"
menu_choose Mount
subst_wait_count 1
check_eq "Mount maps the chosen folder" "subst.exe y: \"D:\\Data\\Work\"" "$(subst_log | tail -n 1)"
check_eq "the drive maps to the folder" "\\??\\D:\\Data\\Work" "$(probe dosdevice Y:)"
tray_menu_choose Unmount
subst_wait_count 2
check_eq "and Unmount takes it away" "none" "$(probe dosdevice Y:)"

echo "== stored values open the lists there"
store_setting Path 'D:\Data\Work'
store_setting Drive X
settings_open
check_eq "Drive1 shows D" "D:" "$(drive_shown)"
check_eq "Dir1 is open at \\Data\\Work" "D:\\|Data|[Work]|docs|src" "$(folder_rows)"
check_eq "the letter box shows X" "X" "$(letter_shown)"
check_layout 96 "202 243" \
    "301=8 8 57 21" "302=72 10 89 17" "303=160 8 33 19" "304=8 40 185 156" "1=8 200 97 33" "2=104 200 89 33"
shot=$(e2e_shot dialog-96)
read -r cx cy < <(probe window-rect - "$T" | awk '{print $7, $8}')
# The screen itself: where the controls' frames begin and end.
check_eq "screenshot: Dir1's left and right edges" "$((cx + 8)) $((cx + 8 + 185 - 1))" \
    "$(edges_along "$shot" h $((cy + 190)) $((cx + 2)) $((cx + 199)))"
check_eq "screenshot: Dir1's top and bottom edges" "$((cy + 40)) $((cy + 40 + 156 - 1))" \
    "$(edges_along "$shot" v $((cx + 100)) $((cy + 30)) $((cy + 198)))"
check_eq "screenshot: the letter box's top and bottom edges" "$((cy + 8)) $((cy + 8 + 19 - 1))" \
    "$(edges_along "$shot" v $((cx + 185)) $((cy + 1)) $((cy + 36)))"
check_eq "screenshot: OK's left edge and Cancel's right edge" "$((cx + 8)) $((cx + 104 + 89 - 1))" \
    "$(edges_along "$shot" h $((cy + 216)) $((cx + 2)) $((cx + 199)))"
check_eq "screenshot: the buttons' top and bottom edges" "$((cy + 200)) $((cy + 200 + 33 - 1))" \
    "$(edges_along "$shot" v $((cx + 20)) $((cy + 198)) $((cy + 240)))"
save_dialog_shot "$SCREENSHOTS/settings-100.png"
tray_press_right
tray_release_right
check "no menu opens while the dialog is open" not menu_open
check_eq "the icon brings the one dialog forward" 1 "$(lp count "$T")"
check_eq "which has the focus again" "#32770	$T	focus=301" "$(probe foreground)"
probe key up
check_eq "choosing drive C moves Dir1 there" "C:" "$(drive_shown)"
check "Dir1 left D for C" grep -q '^\[\?C:\\' <<<"$(folder_rows)"
check_eq "and leaves the letter alone" "X" "$(letter_shown)"
# The same with the mouse: open the list and click drive D.
read -r ox oy < <(probe window-rect - "$T" | awk '{print $7, $8}')
xdotool mousemove $((ox + 30)) $((oy + 18)) click 1
sleep 0.5
read -r lx ly lw lh < <(probe window-rect ComboLBox - | awk '{print $2, $3, $4, $5}')
row_h=$(((lh - 2) / $(lp combo "$T" 301 | tail -n +2 | wc -l)))
xdotool mousemove $((lx + lw / 2)) $((ly + 1 + row_h + row_h / 2)) click 1
sleep 0.7
check_eq "a click in the open drive list chooses D" "D:" "$(drive_shown)"
check_eq "Dir1 at D's current folder" "[D:\\]" "$(folder_rows | cut -d'|' -f1)"
check_eq "the letter is still X" "X" "$(letter_shown)"

echo "== a drive that is not ready keeps the previous one"
rmdir "$E_ROOT"
probe key down
check "a message for drive E" message_shown
check_eq "it names the drive" "Drive E: is not ready." "$(dialog_texts Orvanel)"
dialog_click Orvanel OK
check_eq "Drive1 is back on D" "D:" "$(drive_shown)"
check_eq "Dir1 has not moved" "[D:\\]" "$(folder_rows | cut -d'|' -f1)"
probe key escape
probe wait-gone '#32770' "$T" 3000

echo "== refused letters and folders"
before_drive=$(stored Drive)
before_path=$(stored Path)
settings_open
for bad in '' xy 1 'X:'; do
    type_letter "$bad"
    click_button OK
    check "\"$bad\" is refused with a message" message_shown
    check "the message says what is expected" grep -q 'A to Z' <<<"$(dialog_texts Orvanel)"
    dialog_click Orvanel OK
    check "the dialog stays open after \"$bad\"" dialog_shown
    check_eq "the focus is back in the letter box" 303 "$(focus_id)"
done
probe keys w  # the refused text was selected: typing replaces it
check_eq "the refused text was selected" "w" "$(letter_shown)"
type_letter c
probe key enter
check "a disk's letter is refused" message_shown
check "the message names C:" grep -q 'Drive C: is already in use' <<<"$(dialog_texts Orvanel)"
dialog_click Orvanel OK
check "the dialog stays open" dialog_shown
wine 'C:\windows\system32\subst.exe' Q: 'C:\windows' >/dev/null 2>&1
type_letter Q
click_button OK
check "a letter mapped to another folder is refused" message_shown
check "the message names Q:" grep -q 'Drive Q: is already in use' <<<"$(dialog_texts Orvanel)"
dialog_click Orvanel OK
check_eq "nothing written after refusals (Drive)" "$before_drive" "$(stored Drive)"
check_eq "nothing written after refusals (Path)" "$before_path" "$(stored Path)"
open_row 'D:\'
check "open the folder whose name has no ANSI form" open_row "$SMILE"
type_letter m
click_button OK
check "that folder is refused" message_shown
check "the message speaks of its characters" grep -q 'characters' <<<"$(dialog_texts Orvanel)"
dialog_click Orvanel OK
check_eq "the focus goes to Dir1" 304 "$(focus_id)"
check_eq "still nothing written" "$before_drive $before_path" "$(stored Drive) $(stored Path)"
probe key escape
probe wait-gone '#32770' "$T" 3000

store_setting Path "$LONG_PATH"
settings_open
check "Dir1 opens the deep folder" grep -q "\[$LONG_PART\]" <<<"$(folder_rows)"
type_letter m
click_button OK
check "a path longer than subst.exe maps is refused" message_shown
check "the message gives the limit" grep -q '259' <<<"$(dialog_texts Orvanel)"
dialog_click Orvanel OK
check_eq "the long path was not written over" "$(encoded "$LONG_PATH")" "$(stored Path)"
probe key escape
probe wait-gone '#32770' "$T" 3000

wine 'C:\windows\system32\subst.exe' W: 'D:\Data\Work' >/dev/null 2>&1
store_setting Path 'D:\Data\Work'
settings_open
type_letter W
click_button OK
check "a letter already mapped to the chosen folder is accepted" probe wait-gone '#32770' "$T" 3000
check_eq "W was stored" "$(encoded W)" "$(stored Drive)"

echo "== stored folder or drive that are gone"
store_setting Path 'D:\Data\Work\Gone\Deeper'
settings_open
check_eq "a missing folder opens at its nearest existing parent" "D:\\|Data|[Work]|docs|src" "$(folder_rows)"
probe key escape
probe wait-gone '#32770' "$T" 3000
store_setting Path 'K:\Nowhere'
tray_menu_choose Settings
check "a missing drive gives a message" message_shown 5000
check_eq "it names the drive" "Drive K: does not exist." "$(dialog_texts Orvanel)"
dialog_click Orvanel OK
check "the dialog opens all the same" dialog_shown 3000
check_eq "on drive C" "C:" "$(drive_shown)"
probe key escape
probe wait-gone '#32770' "$T" 3000

echo "== a write that fails"
tray_menu_choose Exit
probe wait-gone OrvanelTrayWindow - 5000
probe reg-delete-tree HKCU 'SOFTWARE\Kestrane'
# Below a volatile key no lasting key can be created: both writes fail.
lp hkcu-volatile-key 'SOFTWARE\Kestrane'
e2e_start_orvanel
settings_open
type_letter y
click_button OK
check "a failed save is reported" message_shown
check_eq "with the fixed text" "Unable to save your settings" "$(dialog_texts Orvanel)"
dialog_click Orvanel OK
check "the dialog closes after the report" probe wait-gone '#32770' "$T" 3000
check_eq "nothing could be stored" missing "$(stored Drive)"
tray_press_right
tray_release_right
check_eq "Mount stays greyed" greyed "$(menu_item_state Mount)"
menu_dismiss

echo "== at 150% (144 DPI)"
tray_menu_choose Exit
probe wait-gone OrvanelTrayWindow - 5000
probe reg-delete-tree HKCU 'SOFTWARE\Kestrane'
set_dpi_144() { wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1; }
restart_wine_session set_dpi_144
store_setting Path 'D:\Data\Work'
store_setting Drive X
e2e_start_orvanel
# The menu's items are larger at this scale: choose Settings by keyboard.
tray_press_right
tray_release_right
probe key down
probe key down
probe key enter
check "the dialog opens at 144 DPI" dialog_shown 5000
check_layout 144 "303 365" \
    "301=12 12 86 32" "302=108 15 134 26" "303=240 12 50 29" "304=12 60 278 234" "1=12 300 146 50" "2=156 300 134 50"
check_eq "the lists are filled as at 96 DPI" "D:\\|Data|[Work]|docs|src" "$(folder_rows)"
e2e_shot dialog-144 >/dev/null
save_dialog_shot "$SCREENSHOTS/settings-150.png"
probe key escape

e2e_finish
