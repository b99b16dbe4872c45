#!/usr/bin/env bash
# Start-up's update of the maker-wide values, and the Help command, with the
# program installed where Windows users put it: under "C:\Program Files".
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

maker_value() { probe reg-get HKLM "$MAKER_KEY" "$1"; }
# The maker's key's value names in the order they were created, or "missing".
maker_names() { probe reg-values HKLM "$MAKER_KEY" | paste -sd,; }
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
check_eq "no maker's key before the start" "missing" "$(maker_names)"
start
check_eq "Email is stored encoded" "$(encoded "$EMAIL")" "$(maker_value Email)"
check_eq "Web Page is stored encoded" "$(encoded "$HOME_PAGE")" "$(maker_value 'Web Page')"
check_eq "Email was written first, then Web Page" "Email,Web Page" "$(maker_writes)"
check_eq "and the key keeps them in that order" "Email,Web Page" "$(maker_names)"
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
