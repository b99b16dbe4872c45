#!/usr/bin/env bash
# Starting and leaving Orvanel. One copy per session: a second start ends at
# once and brings the first copy's open dialog forward; the icon appears even
# when the shell refuses it at first. Leaving by every road while the drive is
# mounted or being mounted (Exit during a slow mount, WM_CLOSE from outside as
# an installer closes it, the end of the session, Exit while subst.exe hangs)
# unmounts, removes the icon and ends the program. Installed where Windows
# users put it ("C:\Program Files"), start-up updates the maker-wide values
# and Help opens the help file beside the program.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

# A second copy's exit code; one that stays is ended by the timeout (124).
second_start() { timeout 60 wine "$E2E_EXE" >/dev/null 2>&1; echo $?; }
is_foreground() { [ "$(probe foreground | cut -f2)" == "$1" ]; }

echo "== a second start while Orvanel runs"
e2e_start_orvanel
red=$(tray_icon_pixels red)
check_eq "the second copy ends at once with exit code 0" 0 "$(second_start)"
check_eq "one hidden window" 1 "$(probe count OrvanelTrayWindow -)"
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

maker_value() { probe reg-get HKLM "$MAKER_KEY" "$1"; }
# The values the program set since its latest start, by name, from Wine's registry channel.
maker_writes() {
    tail -n +"$from" "$E2E_PROCESS_LOG" | grep -aoP 'NtSetValueKey \(0x[0-9a-f]+,L"\K(Email|Web Page)' | paste -sd,
}
start() { from=$(($(cat "$E2E_PROCESS_LOG" 2>/dev/null | wc -l) + 1)); e2e_start_orvanel; }
E2E_WINEDEBUG=+process,+reg

install_dir="$WINEPREFIX/drive_c/Program Files/Orvanel"
mkdir -p "$install_dir"
cp -r "$(dirname "$E2E_EXE")"/. "$install_dir/"
E2E_EXE="$install_dir/Orvanel.exe"

echo "== first start: the maker's key is created"
probe reg-delete-tree HKLM "$MAKER_KEY"
start
check_eq "Email is stored encoded" "$(encoded "$EMAIL")" "$(maker_value Email)"
check_eq "Web Page is stored encoded" "$(encoded "$HOME_PAGE")" "$(maker_value 'Web Page')"
check_eq "Email was written first, then Web Page" "Email,Web Page" "$(maker_writes)"
exit_orvanel

echo "== second start: nothing to write"
start
check_eq "no value was written" "" "$(maker_writes)"
exit_orvanel

echo "== a value that differs only in case is rewritten"
probe reg-set-encoded HKLM "$MAKER_KEY" Email 'Support@Kestrane.example'
start
check_eq "only Email was written" "Email" "$(maker_writes)"
check_eq "Email is back to the string table's text" "$(encoded "$EMAIL")" "$(maker_value Email)"
check_eq "Web Page is untouched" "$(encoded "$HOME_PAGE")" "$(maker_value 'Web Page')"

echo "== Help"
tray_menu_choose Help
check "the help viewer opens Orvanel's help file" probe wait-window - "Orvanel Help" 10000
# The help file beside the program, unquoted, by hh.exe from the Windows folder.
check "hh.exe starts from the Windows folder with the help file beside the program, unquoted" grep -aqF \
    'app L"C:\\windows\\hh.exe" cmdline L"hh.exe C:\\Program Files\\Orvanel\\Help\\Orvanel.chm"' "$E2E_PROCESS_LOG"
check "Orvanel goes on running beside the viewer" e2e_orvanel_running

e2e_finish
