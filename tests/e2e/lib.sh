# The end-to-end harness, sourced by each *_test.sh; e2e_init "$@" (Orvanel.exe,
# the folder of the test tools) gives the script its own Xvfb, throwaway prefix
# and virtual desktop with a taskbar, and stops all of it when the script ends.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine-prefix.sh"

E2E_DESKTOP_W=1024 E2E_DESKTOP_H=768
E2E_PASSED=0 E2E_FAILED=0
E2E_KEY='SOFTWARE\Kestrane\Orvanel'
# The maker's key and the addresses of the program's string table.
MAKER_KEY='SOFTWARE\Kestrane'
HOME_PAGE='https://www.kestrane.example/orvanel/'
EMAIL='support@kestrane.example'

e2e_log() { printf '  %s\n' "$*" >&2; }

e2e_init() {
    E2E_EXE=$(readlink -f "$1")
    E2E_TOOLS=$(readlink -f "$2")
    E2E_NAME=$(basename "$0" .sh)
    E2E_ARTIFACTS=${ORVANEL_E2E_ARTIFACTS:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/build/e2e-artifacts}
    E2E_ARTIFACTS+=/$E2E_NAME
    rm -rf "$E2E_ARTIFACTS" && mkdir -p "$E2E_ARTIFACTS"
    E2E_WORK=$(mktemp -d /tmp/orvanel-e2e.XXXXXX)
    export WINEPREFIX=$E2E_WORK/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    trap e2e_cleanup EXIT
    start_xvfb
    E2E_XVFB_PID=$XVFB_PID
    e2e_log "Xvfb on $DISPLAY, prefix $WINEPREFIX"
    prepare_prefix "$WINEPREFIX" "$E2E_TOOLS" "$E2E_DESKTOP_W" "$E2E_DESKTOP_H"
    e2e_start_desktop
}

e2e_start_desktop() {
    wine explorer "/desktop=Orvanel,${E2E_DESKTOP_W}x${E2E_DESKTOP_H}" \
        "$(winepath -w "$E2E_TOOLS/orvprobe.exe")" idle >/dev/null 2>&1 &
    probe wait-exists Shell_TrayWnd - 20000 || e2e_log "no taskbar appeared"
}

e2e_cleanup() {
    local rc=$?
    if [ "$E2E_FAILED" -gt 0 ] || [ "$rc" -ne 0 ]; then e2e_shot "at-exit" || true; fi
    wineserver -k >/dev/null 2>&1; wineserver -w >/dev/null 2>&1
    kill "$E2E_XVFB_PID" >/dev/null 2>&1 && wait "$E2E_XVFB_PID" 2>/dev/null
    rm -rf "$E2E_WORK"
}

probe() { wine "$E2E_TOOLS/orvprobe.exe" "$@" 2>/dev/null | tr -d '\r'; return "${PIPESTATUS[0]}"; }

# Starts Orvanel as a user would, with Wine's process channel (E2E_WINEDEBUG
# adds channels) logging what it starts in E2E_PROCESS_LOG; waits for its window.
e2e_start_orvanel() {
    E2E_PROCESS_LOG=$E2E_WORK/process.log
    WINEDEBUG=${E2E_WINEDEBUG:-+process} wine "$E2E_EXE" 2>>"$E2E_PROCESS_LOG" >/dev/null &
    E2E_ORVANEL_PID=$!
    probe wait-exists OrvanelTrayWindow - 20000 || e2e_log "Orvanel's window did not appear"
    sleep 1
}

e2e_orvanel_running() { probe wait-exists OrvanelTrayWindow - 0; }

# The last request to the notification area (0 NIM_ADD, 2 NIM_DELETE); needs +systray.
last_tray_call() { grep -ao 'Shell_NotifyIconW dwMessage = [0-9]*' "$E2E_PROCESS_LOG" | tail -n 1 | awk '{print $NF}'; }

# Wine learns its drives and the display's DPI when its session starts:
# runs the command, then starts the session (and the desktop) again.
e2e_restart_session() { wineserver -k >/dev/null 2>&1; wineserver -w >/dev/null 2>&1; "$@" >/dev/null 2>&1; e2e_start_desktop; }
# The display's DPI (144 is a scale of 150%) from a new session on; Orvanel must not be running.
e2e_use_dpi() { e2e_restart_session wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f; }

exit_orvanel() { tray_menu_choose Exit && probe wait-gone OrvanelTrayWindow - 5000; }

# Saves the screen area WxH+X+Y as the file $2.
screen_crop() { import -display "$DISPLAY" -window root -crop "$1" +repage "$2" 2>/dev/null; }

e2e_shot() { local f=$E2E_ARTIFACTS/$1.png; screen_crop "${E2E_DESKTOP_W}x${E2E_DESKTOP_H}+0+0" "$f" && echo "$f"; }

# --- the notification-area icon and its menu ---------------------------------

E2E_TRAY_X=$((E2E_DESKTOP_W - 10)) E2E_TRAY_Y=$((E2E_DESKTOP_H - 11))

tray_press_right() { xdotool mousemove "$E2E_TRAY_X" "$E2E_TRAY_Y" mousedown 3; sleep 0.8; }
tray_release_right() { xdotool mouseup 3; sleep 0.3; }
tray_menu_open() { tray_press_right; tray_release_right; }
tray_click_left() { xdotool mousemove "$E2E_TRAY_X" "$E2E_TRAY_Y" click 1; sleep 0.8; }
tray_double_click() { xdotool mousemove "$E2E_TRAY_X" "$E2E_TRAY_Y" click --repeat 2 --delay 80 1; sleep 0.8; }

menu_open() { probe wait-window '#32768' - 0; }

# The menu as menu_look prints it: each item's text, ":STATE" unless enabled.
MENU_NO_FOLDER='Mount:greyed - Settings - About... Help - Exit'
MENU_UNMOUNTED='Mount - Settings - About... Help - Exit'
MENU_MOUNTED='Unmount - Settings:greyed - About... Help - Exit'
menu_look() {
    probe menu | awk -F'\t' '{printf "%s%s", (NR > 1 ? " " : ""), ($3 ~ /^(enabled|separator)$/ ? $2 : $2 ":" $3)}
        END {print ""}'
}

# Clicks the item of the open menu whose text is $1 (e.g. "About...").
menu_choose() { click_at "$(probe menu | awk -F'\t' -v text="$1" '$2 == text {print $4; exit}')"; }

tray_menu_choose() { tray_menu_open && menu_choose "$1"; }

# Without a window manager a click outside hands the foreground to Wine's
# desktop before the menu sees it, so the menu is closed with Escape.
menu_dismiss() { probe key escape; sleep 0.5; }

# Pixels of a colour in the icon (24 px) or the notification area (240 px):
# yellow marks the mounted picture's connector, red the unmounted one's cross.
tray_icon_pixels() { tray_pixels "$1" 24; }
tray_area_pixels() { tray_pixels "$1" 240; }
tray_icon_shown() { [ $(($(tray_icon_pixels red) + $(tray_icon_pixels yellow))) -gt 0 ]; }
tray_pixels() {
    local shot=$E2E_WORK/tray.png fx='r>0.7 && g<0.35 && b<0.35'
    [ "$1" == yellow ] && fx='r>0.7 && g>0.6 && b<0.4'
    screen_crop "${2}x20+$((E2E_TRAY_X + 12 - $2))+$((E2E_DESKTOP_H - 20))" "$shot"
    convert "$shot" -fx "($fx) ? 1 : 0" -format '%[fx:round(mean*w*h)]' info:
}

# Hovers over the icon until the shell shows its tip: "WIDTH<tab>TEXT" of the tip's window.
tray_tip() {
    xdotool mousemove 500 400 sleep 0.3 mousemove "$E2E_TRAY_X" "$E2E_TRAY_Y" sleep 0.3 \
        mousemove "$((E2E_TRAY_X - 1))" "$E2E_TRAY_Y"
    probe wait-window tooltips_class32 - 5000
    printf '%s\t%s\n' "$(probe window-rect tooltips_class32 - | awk '{print $4}')" \
        "$(probe children tooltips_class32 - | awk -F'\t' 'NR == 1 {print $5}')"
    xdotool mousemove 500 400
}

# --- dialogs and message boxes, by window title --------------------------------

# Texts of the static controls of the window titled $1.
dialog_texts() { probe children - "$1" | awk -F'\t' '$2 == "Static" && $5 != "" {print $5}'; }

# Waits up to $1 ms for Orvanel's message box, prints its text and presses OK; prints nothing without one.
message_answer() {
    probe wait-window '#32770' Orvanel "${1:-3000}" || return 0
    dialog_texts Orvanel
    dialog_click Orvanel OK
}

# Screen position of the client area of the window titled $1: "x y".
client_origin() { probe window-rect - "$1" | awk '{print $7, $8}'; }

# Field $3 of the control with id $2 in the window titled $1: 3 "x y w h" in
# client coordinates, 4 its state, 5 its text.
control_field() { probe children - "$1" | awk -F'\t' -v id="$2" -v f="$3" '$1 == id {print $f}'; }
control_text() { control_field "$1" "$2" 5; }
# Asked again when the probe loses its race with Wine's start-up.
dialog_control_rect() {
    local rect
    for _ in 1 2 3; do rect=$(control_field "$1" "$2" 3) && [ -n "$rect" ] && break; sleep 0.3; done
    echo "$rect"
}

# Saves the window titled $1 (of the class $3, if given), with a margin of 10 pixels, as the file $2.
save_window_shot() {
    screen_crop "$(probe window-rect "${3:--}" "$1" |
        awk '{print $4 + 20 "x" $5 + 20 "+" ($2 > 10 ? $2 - 10 : 0) "+" ($3 > 10 ? $3 - 10 : 0)}')" "$2"
}

# --- texts against their controls --------------------------------------------

# Every text of the window (class $2 or -, title $3) reads in full: each
# control's text measured, inside the program, with the font it is drawn in
# against the room its control gives it (orvinside.cpp).
check_fits() {
    local out ok=false
    out=$(probe fits "$2" "$3")
    [ -n "$out" ] && ! grep -q $'\tCUT\t' <<<"$out" && ok=true
    check "$1" $ok
    $ok || printf '%s\n' "${out:-(no answer from the probe)}" | grep -v $'\tfits\t' | sed 's/^/      /'
}

# No two controls of the window titled $2 (or only those with the ids given
# after it) overlap by more than an edge they share by design: a design pixel,
# two pixels at 150%.
check_apart() {
    check_eq "$1" "" "$(probe children - "$2" | awk -F'\t' -v ids=" ${*:3} " '
        function lo(a, b) { return a < b ? a : b }
        function hi(a, b) { return a > b ? a : b }
        NR > 1 && (ids == "  " || index(ids, " " $1 " ")) { n++; id[n] = $1; split($3, r, " "); for (k = 1; k <= 4; k++) v[n, k] = r[k] }
        END { for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++)
            if (lo(v[i, 1] + v[i, 3], v[j, 1] + v[j, 3]) - hi(v[i, 1], v[j, 1]) > 2 &&
                lo(v[i, 2] + v[i, 4], v[j, 2] + v[j, 4]) - hi(v[i, 2], v[j, 2]) > 2) printf "%s and %s; ", id[i], id[j] }')"
}

# At $1 ("at 96 DPI"), the window of class $2 (or -) titled $3: its client
# area at least $4 ("W H" as designed, less a pixel; - for any), every text in
# full, and, in a dialog, no two controls (or only those with the ids after
# $5) overlapping; the window kept as $5.png.
check_readable() {
    if [ "$4" != - ]; then
        local area
        area=$(probe window-rect "$2" "$3" | awk '{print $9, $10}')
        check "the client area $area is at least $4 $1" awk -v a="$area" -v d="$4" \
            'BEGIN {split(a, g); split(d, w); exit !(g[1] >= w[1] - 1 && g[2] >= w[2] - 1)}'
    fi
    check_fits "every text of the $3 window reads in full $1" "$2" "$3"
    [ "$2" != - ] || check_apart "no two controls of the $3 window overlap $1" "$3" "${@:6}"
    save_window_shot "$3" "$E2E_ARTIFACTS/$5.png" "$2"
}

# Screen position "x y" of the centre of the rectangle $2 ("x y w h", client coordinates) in the window titled $1.
rect_centre() {
    local ox oy x y w h
    read -r ox oy < <(client_origin "$1")
    read -r x y w h <<<"$2"
    [ -n "$h" ] && echo "$((ox + x + w / 2)) $((oy + y + h / 2))"
}
click_at() { [ -n "$1" ] && xdotool mousemove $1 click 1 && sleep 0.5; }  # "x y"
click_rect() { click_at "$(rect_centre "$1" "$2")"; }

control_click() { click_rect "$1" "$(dialog_control_rect "$1" "$2")"; }
# The id of the control with the keyboard focus.
focus_id() { probe foreground | sed -n 's/.*focus=//p'; }

# Clicks the button captioned $2 (e.g. OK, or "Next >" for "&Next >") in the window titled $1.
dialog_click() {
    click_rect "$1" "$(probe children - "$1" |
        awk -F'\t' -v c="$2" '$2 == "Button" && ($5 == c || $5 == "&" c) {print $3; exit}')"
}

# --- the stand-in subst.exe and the registry ----------------------------------

subst_log() { cat "$WINEPREFIX/$ORVANEL_TEST_DIR/subst.log" 2>/dev/null | tr -d '\r'; }
subst_count() { subst_log | wc -l; }
# Waits until the stand-in has recorded $1 command lines in all.
subst_wait_count() { wait_until 10 subst_counted "$1" && sleep 0.5; }
subst_counted() { [ "$(subst_count)" -ge "$1" ]; }
subst_fail_with() { printf '%s' "$1" >"$WINEPREFIX/$ORVANEL_TEST_DIR/subst-fail"; }
subst_succeed() { rm -f "$WINEPREFIX/$ORVANEL_TEST_DIR/subst-fail"; }
subst_delay_ms() { printf '%s' "$1" >"$WINEPREFIX/$ORVANEL_TEST_DIR/subst-delay-ms"; }

store_setting() { probe reg-set-encoded HKCU "$E2E_KEY" "$1" "$2"; }

# The registry bytes of TEXT as the program stores it: type 1 (REG_SZ), each byte c as 255 - c, a zero byte.
encoded() {
    local out="1" c
    for c in $(printf '%s' "$1" | od -An -v -tu1); do out+=$(printf ' %02x' $((255 - c))); done
    echo "$out 00"
}

# --- results ---------------------------------------------------------------

check() {
    local name=$1
    shift
    if "$@"; then
        E2E_PASSED=$((E2E_PASSED + 1))
        printf 'PASS: %s\n' "$name"
    else
        E2E_FAILED=$((E2E_FAILED + 1))
        printf 'FAIL: %s\n' "$name"
        e2e_shot "fail-$E2E_FAILED" >/dev/null
    fi
}

check_eq() {
    check "$1" [ "$2" == "$3" ]
    [ "$2" == "$3" ] || printf '      expected: %q\n      actual:   %q\n' "$2" "$3"
}

not() { ! "$@"; }

# wait_until SECONDS COMMAND...: runs COMMAND every tenth of a second until it succeeds.
wait_until() {
    local deadline=$((SECONDS + $1))
    until "${@:2}"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

e2e_finish() {
    printf '%s: %d passed, %d failed\nscreenshots: %s\n' "$E2E_NAME" "$E2E_PASSED" "$E2E_FAILED" "$E2E_ARTIFACTS"
    [ "$E2E_FAILED" -eq 0 ]
}
