#!/usr/bin/env bash
# The about box opened from the tray menu: its layout and texts read in full
# at 96 and 144 DPI, the link buttons' tooltips and commands with the maker's
# values stored, changed and missing, and the ways of closing it.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

BOX='About Orvanel'

# At another scale the menu's items stand elsewhere: with "keys", About (the
# third item) is chosen by keyboard, the keys passing over separators only.
open_box() {
    if [ "${1:-}" == keys ]; then
        tray_menu_open
        for key in down down down enter; do probe key $key; done
    else
        tray_menu_choose About...
    fi
    probe wait-window '#32770' "$BOX" 5000
}
box_gone() { probe wait-gone '#32770' "$BOX" 3000; }
rect_of() { dialog_control_rect "$BOX" "$1"; }

# Rests the pointer on a button until its tooltip shows; prints the tip's text.
tooltip_of() {
    local x y
    read -r x y < <(rect_centre "$BOX" "$(rect_of "$1")")
    xdotool mousemove 5 5 sleep 0.5 mousemove "$((x - 4))" "$y" sleep 0.2 mousemove "$x" "$y"
    probe wait-window tooltips_class32 - 3000 >/dev/null
    sleep 0.3
    probe children tooltips_class32 - | awk -F'\t' 'NR == 1 {print $5}'
}

# Command lines Orvanel started through explorer, in order.
explorer_starts() {
    grep -o 'CreateProcessInternalW app L"C:\\\\windows\\\\explorer.exe" cmdline L"[^"]*"' \
        "$E2E_PROCESS_LOG" | sed 's/.*cmdline L"//; s/"$//'
}
explorer_started() { [ "$(explorer_starts | wc -l)" -ge "$1" ]; }

# Both tooltips and both buttons' commands show the home page $1 and the
# e-mail address $2 ($3 says where they come from).
check_links() {
    check_eq "home page and e-mail tooltips $3" " $1 | $2 " "$(tooltip_of 402)|$(tooltip_of 401)"
    local id n
    for id in 401 402; do
        n=$(($(explorer_starts | wc -l) + 1))
        control_click "$BOX" $id
        wait_until 10 explorer_started "$n"
    done
    check_eq "Send Email then Get Latest Version start explorer $3" \
        "explorer mailto:$2|explorer $1" "$(explorer_starts | tail -n 2 | paste -sd'|')"
}

# Pixels of the labels' gold within the client-area rectangle "x y w h".
gold_pixels() {
    local ox oy x y w h
    read -r ox oy < <(client_origin "$BOX")
    read -r x y w h <<<"$1"
    screen_crop "${w}x${h}+$((ox + x))+$((oy + y))" "$E2E_WORK/box.png"
    convert "$E2E_WORK/box.png" -fill black +opaque 'rgb(221,173,49)' -fill white -opaque 'rgb(221,173,49)' \
        -format '%[fx:round(mean*w*h)]' info:
}

echo "== opened from the tray menu"
e2e_start_orvanel
check "About... opens the box captioned About Orvanel" open_box
check_readable "at 96 DPI" - "$BOX" "563 296" about-96 401 402 403 406 407
check "the box is centred on the screen" awk -v w="$E2E_DESKTOP_W" -v h="$E2E_DESKTOP_H" \
    '{x = (w - $4) / 2 - $2; y = (h - $5) / 2 - $3; exit !(x * x <= 1 && y * y <= 1)}' < <(probe window-rect - "$BOX")
check_eq "the labels hold the painted texts, the buttons their captions" \
    "Orvanel|Version 1.0|Kestrane is the name under which the Orvanel developers publish their software.|&Send Email|&Get Latest Version|&Ok" \
    "$(for id in 404 405 407 401 402 403; do control_text "$BOX" $id; done | paste -sd'|')"
check_eq "the focus starts on Send Email" 401 "$(focus_id)"

check "the title and the statement are painted in gold" \
    test "$(gold_pixels '15 80 150 28')" -gt 100 -a "$(gold_pixels '16 216 260 33')" -gt 100

check_eq "each label's and button's font is replaced while the old one still exists" \
    "fonts set 7, replaced while still held 0" "$(probe dpi-change - "$BOX" 144)"
check_fits "every text of the box reads in full after a change to 144 DPI" - "$BOX"
probe dpi-change - "$BOX" 96 >/dev/null
dialog_click "$BOX" Ok
check "Ok closes the box" box_gone

# Start-up stored the string table's addresses: other values tell reading them from falling back.
echo "== stored values show at the next opening"
probe reg-set-encoded HKLM "$MAKER_KEY" 'Web Page' 'https://mirror.kestrane.example/get/'
probe reg-set-encoded HKLM "$MAKER_KEY" Email 'sales@kestrane.example'
open_box
check_links https://mirror.kestrane.example/get/ sales@kestrane.example "with the stored values"
check "the box stays open after the links" probe wait-window '#32770' "$BOX" 0
probe close - "$BOX"
check "the title bar's close closes the box" box_gone

echo "== values missing: the string table's addresses"
probe reg-delete-tree HKLM "$MAKER_KEY"
open_box
check_links "$HOME_PAGE" "$EMAIL" "from the string table"
check_eq "the box writes nothing" "missing" "$(probe reg-get HKLM "$MAKER_KEY" Email)"
probe key escape
check "Escape closes the box" box_gone

echo "== one box at a time"
open_box
tray_menu_choose About...
sleep 1
probe close - "$BOX"
check "a second About... opened no second box" box_gone
check "Orvanel is still running" e2e_orvanel_running
check_eq "four explorers started, each from the Windows folder" 4 "$(explorer_starts | wc -l)"

echo "== at 150% (144 DPI)"
exit_orvanel
e2e_use_dpi 144
e2e_start_orvanel
check "the box opens at 144 DPI" open_box keys
check_readable "at 144 DPI" - "$BOX" "845 444" about-144 401 402 403 406 407
probe key escape
check "Escape closes the box at 144 DPI" box_gone

e2e_finish
