#!/usr/bin/env bash
# Starting and leaving Orvanel. One copy per session: a second start ends at
# once and brings the first copy's open dialog forward; the icon appears even
# when the shell refuses it at first. Leaving by every road while the drive is
# mounted or being mounted (Exit during a slow mount, WM_CLOSE from outside as
# an installer closes it, the end of the session, Exit while subst.exe hangs)
# unmounts, removes the icon and ends the program.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

# A second copy's exit code; one that stays is ended by the timeout (124).
second_start() { timeout 60 wine "$E2E_EXE" >/dev/null 2>&1; echo $?; }
is_foreground() { [ "$(probe foreground | cut -f2)" == "$1" ]; }

echo "== a second start while Orvanel runs"
e2e_start_orvanel
red=$(tray_icon_pixels red)
check_eq "the second copy ends at once with exit code 0" 0 "$(second_start)"
check_eq "one hidden window" 1 "$(probe count-class OrvanelTrayWindow)"
check "the first copy's icon is still there" test "$red" -gt 0 -a "$(tray_icon_pixels red)" -eq "$red"
check_eq "and it is the only icon in the notification area" "$red" "$(tray_area_pixels red)"

for item in Settings About...; do
    title='Select Path to Make As drive'
    [ "$item" == Settings ] || title='About Orvanel'
    echo "== a second start brings the open \"$title\" forward"
    tray_menu_choose "$item"
    probe wait-window '#32770' "$title" 5000
    wine notepad >/dev/null 2>&1 &
    check "Notepad comes in front of it" wait_until 20 is_foreground "Untitled - Notepad"
    check_eq "the second copy ends with exit code 0" 0 "$(second_start)"
    check "\"$title\" is in front" wait_until 5 is_foreground "$title"
    probe close Notepad -
    probe wait-gone Notepad - 5000
    probe close '#32770' "$title"
    probe wait-gone '#32770' "$title" 5000
done
exit_orvanel

# The shell refuses the first $1 icons added, then goes; Orvanel starts meanwhile.
refusing_shell() {
    probe refuse-tray "$1" 60000 >"$E2E_WORK/refused" &
    refuser=$!
    probe wait-exists Shell_TrayWnd 'orvprobe refusing tray' 10000
    e2e_start_orvanel
}

echo "== the shell refuses the icon twice, then takes it"
refusing_shell 2
wait "$refuser"
check_eq "the shell refused the first two attempts" 2 "$(cat "$E2E_WORK/refused")"
check "the icon appears on a later attempt" wait_until 20 tray_icon_shown
check "without a message" not probe wait-window '#32770' Orvanel 0
exit_orvanel

echo "== the shell refuses every attempt: the user is told; TaskbarCreated brings the icon"
refusing_shell 100
check "a message comes after the last attempt" probe wait-window '#32770' Orvanel 40000
check "it says the icon could not be added to the notification area" \
    grep -q 'could not add its icon to the notification area' <<<"$(dialog_texts Orvanel)"
dialog_click Orvanel OK
probe close Shell_TrayWnd 'orvprobe refusing tray'
wait "$refuser"
check "no icon yet" not tray_icon_shown
probe broadcast-taskbar-created
check "TaskbarCreated brings the icon" wait_until 10 tray_icon_shown
check "Exit ends the program" exit_orvanel

FOLDER='C:\Some Folder'
mkdir -p "$WINEPREFIX/drive_c/Some Folder"
store_setting Path "$FOLDER"
store_setting Drive X
# Wine's trace of Shell_NotifyIcon shows what the program last did with its icon.
E2E_WINEDEBUG=+process,+systray

mount_now() {
    e2e_start_orvanel
    from=$(($(subst_count) + 1))
    tray_menu_choose Mount
    subst_wait_count "$from"
    [ -z "${1:-}" ] || check_eq "$1: the drive is mounted" "\\??\\$FOLDER" "$(probe dosdevice X:)"
}

# After road $1: the program ended, the stand-in's log from line $from reads
# $2 (lines joined with "|"), the drive is free and the last call removed the icon.
check_left() {
    check "$1 ends the program" probe wait-gone OrvanelTrayWindow - 15000
    probe wait-no-process subst.exe 30000
    check_eq "$1: the commands" "$2" "$(subst_log | sed -n "$from,\$p" | paste -sd '|')"
    check_eq "$1: no drive is left mapped" none "$(probe dosdevice X:)"
    check_eq "$1: the icon was removed (NIM_DELETE)" 2 "$(last_tray_call)"
    check "$1: no icon is left" not tray_icon_shown
}

echo "== Exit while the mount is still running"
subst_delay_ms 3000  # the stand-in pauses before mapping
mount_now
tray_menu_choose Exit
check_left "Exit during the mount" "subst.exe X: \"$FOLDER\"|subst.exe X: /d"
subst_delay_ms 0

echo "== WM_CLOSE from outside while mounted"
mount_now WM_CLOSE
probe close OrvanelTrayWindow -
check_left WM_CLOSE "subst.exe X: \"$FOLDER\"|subst.exe X: /d"

echo "== the session ends for an update (ENDSESSION_CLOSEAPP) while mounted"
mount_now "end of session"
check_eq "Orvanel lets the session end" "query=1" "$(probe end-session OrvanelTrayWindow 1)"
check_left WM_ENDSESSION "subst.exe X: \"$FOLDER\"|subst.exe X: /d"

echo "== Exit while the mount hangs"
subst_delay_ms 600000  # far longer than the program may wait
mount_now
tray_menu_choose Exit
check "the program ends without waiting for the hung subst.exe" probe wait-gone OrvanelTrayWindow - 30000

e2e_finish
