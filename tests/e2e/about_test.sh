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

# Saves the client area's rectangle "x y w h" as the file $2.
client_shot() {
    local ox oy x y w h
    read -r ox oy < <(client_origin "$BOX")
    read -r x y w h <<<"$1"
    screen_crop "${w}x${h}+$((ox + x))+$((oy + y))" "$2"
}
# Pixels of the labels' gold within a client-area rectangle "x y w h".
gold_pixels() {
    client_shot "$1" "$E2E_WORK/box.png"
    convert "$E2E_WORK/box.png" -fill black +opaque 'rgb(221,173,49)' -fill white -opaque 'rgb(221,173,49)' \
        -format '%[fx:round(mean*w*h)]' info:
}
# The colour of the client-area pixel at $1 $2, as "r,g,b".
client_pixel() {
    client_shot "$1 $2 1 1" "$E2E_WORK/pixel.png"
    convert "$E2E_WORK/pixel.png" -depth 8 txt:- | awk 'NR == 2 {print $2}' | tr -d '()' | cut -d, -f1-3
}
# The painted texts, read back from the screen.
painted_text() {
    client_shot "8 8 370 170" "$E2E_WORK/labels.png"
    convert "$E2E_WORK/labels.png" -fill white -fuzz 25% -opaque 'rgb(221,173,49)' -fill black +opaque white \
        -resize 300% -bordercolor black -border 20 -negate "$E2E_WORK/labels-ocr.png"
    tesseract "$E2E_WORK/labels-ocr.png" - --psm 6 2>/dev/null
}

# At DPI $1: the client area at least $2 ("w h"), every text in full, the
# statement, the copyright and the buttons apart (the version tucks under
# the title by design), and the box kept as a screenshot.
check_scale() {
    check_at_least "client area at least $2 at $1 DPI" "$2" "$(probe window-rect - "$BOX" | awk '{print $9, $10}')"
    check_fits "every text of the box reads in full at $1 DPI" - "$BOX"
    check_apart "the statement, the copyright and the buttons do not overlap at $1 DPI" "$BOX" 401 402 403 406 407
    save_window_shot "$BOX" "$E2E_ARTIFACTS/about-$1.png"
}

echo "== opened from the tray menu"
e2e_start_orvanel
check "About... opens the box captioned About Orvanel" open_box
check_scale 96 "563 296"
read -r wx wy ww wh < <(probe window-rect - "$BOX" | awk '{print $2, $3, $4, $5}')
check_near "the box is centred on the screen" \
    "$(((E2E_DESKTOP_W - ww) / 2)) $(((E2E_DESKTOP_H - wh) / 2)) $ww $wh" "$wx $wy $ww $wh"
read -r _ sy _ sh <<<"$(rect_of 407)"
check_eq "Send Email, Get Latest Version and Ok stand at 8, 200 and 384, in one row below the statement" \
    "8 200 384 yes" "$(for id in 401 402 403; do rect_of $id; done |
        awk -v below=$((sy + sh)) '{x = x $1 " "; y[NR] = $2} END {print x (y[1] == y[2] && y[2] == y[3] && y[1] >= below ? "yes" : "no")}')"
check_at_least "the buttons at least as large as designed" "193 25 185 25 169 25" \
    "$(for id in 401 402 403; do rect_of $id | awk '{printf "%s %s ", $3, $4}'; done)"
check_eq "the labels hold the painted texts, the buttons their captions" \
    "Orvanel|Version 1.0|Kestrane is the name under which the Orvanel developers publish their software.|&Send Email|&Get Latest Version|&Ok" \
    "$(for id in 404 405 407 401 402 403; do control_text "$BOX" $id; done | paste -sd'|')"
check_eq "the focus starts on Send Email" 401 "$(focus_id)"

labels=$(painted_text)
for line in 'Orvanel' 'Version 1\.0' 'Copyright .* 2026 Kestrane\. All.*'; do
    check "painted, read back: $line" grep -qx "$line" <<<"$labels"
done
check "the title and the statement are painted in gold" \
    test "$(gold_pixels '15 80 150 28')" -gt 100 -a "$(gold_pixels '16 216 260 33')" -gt 100
face=$(client_pixel 4 4)
# Its last line ("software." with the fonts here) drawn in gold, over the
# logo, which reaches below the statement.
check "the statement's last line is painted in gold over the logo" \
    test "$(gold_pixels "16 $((sy + sh - 12)) 100 12")" -gt 30 -a "$(client_pixel 100 $((sy + sh + 2)))" != "$face"
check "the logo is drawn from its corner to its right edge" \
    test "$(client_pixel 9 9)" != "$face" -a "$(client_pixel 557 100)" == "$face"
# The separator is drawn in the frame's edge colours: the shadow of its top
# edge over the highlight of its bottom edge, from x 16 to 367.
shadow=$(client_pixel 100 8)
highlight=$(client_pixel 100 176)
check "the separator is a shadow row over a highlight row from 16 to 367" test "$shadow" != "$highlight" -a \
    "$(client_pixel 100 151) $(client_pixel 100 152) $(client_pixel 16 152) $(client_pixel 367 152) $(client_pixel 368 152)" \
    == "$shadow $highlight $highlight $highlight $(client_pixel 368 151)"

check_eq "each label's and button's font is replaced while the old one still exists" \
    "fonts set 7, replaced while still held 0" "$(probe dpi-change - "$BOX" 144)"
check_fits "every text of the box reads in full after a change to 144 DPI" - "$BOX"
probe dpi-change - "$BOX" 96 >/dev/null
dialog_click "$BOX" Ok
check "Ok closes the box" box_gone

# Start-up stored the string table's addresses: other stored values tell
# reading the registry from falling back.
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
check_scale 144 "845 444"
probe key escape
check "Escape closes the box at 144 DPI" box_gone

e2e_finish
