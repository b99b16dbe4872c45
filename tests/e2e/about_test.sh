#!/usr/bin/env bash
# The about box as a user meets it: opened from the tray menu, its layout at
# 96 DPI, the link buttons' tooltips and commands with the maker's values
# stored, changed and missing, and the ways of closing it.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

BOX='About Orvanel'
MAKER_KEY='SOFTWARE\Kestrane'
HOME_PAGE='https://www.kestrane.example/orvanel/'
EMAIL='support@kestrane.example'


open_box() {
    tray_menu_choose About
    probe wait-window '#32770' "$BOX" 5000
}

box_gone() { probe wait-gone '#32770' "$BOX" 3000; }

# "x y w h" of the control with the given id, relative to the client area.
control_rect() { dialog_control_rect "$BOX" "$1"; }
control_text() { probe children - "$BOX" | awk -F'\t' -v id="$1" '$1 == id {print $5}'; }

# Screen position of the centre of a control: "x y".
control_centre() {
    local ox oy x y w h
    read -r ox oy < <(probe window-rect - "$BOX" | awk '{print $7, $8}')
    read -r x y w h <<<"$(control_rect "$1")"
    echo "$((ox + x + w / 2)) $((oy + y + h / 2))"
}

click_control() {
    local x y
    read -r x y <<<"$(control_centre "$1")"
    xdotool mousemove "$x" "$y" click 1
    sleep 1
}

# Rests the pointer on a button until its tooltip shows; prints the tip's text.
tooltip_of() {
    local x y
    read -r x y <<<"$(control_centre "$1")"
    xdotool mousemove 5 5
    sleep 0.5
    xdotool mousemove "$((x - 4))" "$y"
    sleep 0.2
    xdotool mousemove "$x" "$y"
    probe wait-window tooltips_class32 - 3000 >/dev/null
    sleep 0.3
    probe children tooltips_class32 - | awk -F'\t' 'NR == 1 {print $5}'
}

# Command lines Orvanel started through explorer, in order.
explorer_starts() {
    grep -o 'CreateProcessInternalW app L"C:\\\\windows\\\\explorer.exe" cmdline L"[^"]*"' \
        "$E2E_PROCESS_LOG" | sed 's/.*cmdline L"//; s/"$//'
}

wait_explorer_starts() {
    local i
    for i in $(seq 50); do
        [ "$(explorer_starts | wc -l)" -ge "$1" ] && return 0
        sleep 0.1
    done
    return 1
}

# Pixels of the labels' gold within a client-area rectangle "x y w h".
gold_pixels() {
    local ox oy x y w h shot=$E2E_WORK/box.png
    read -r ox oy < <(probe window-rect - "$BOX" | awk '{print $7, $8}')
    read -r x y w h <<<"$1"
    import -display "$DISPLAY" -window root -crop "${w}x${h}+$((ox + x))+$((oy + y))" +repage "$shot" 2>/dev/null
    convert "$shot" -fill black +opaque 'rgb(221,173,49)' -fill white -opaque 'rgb(221,173,49)' \
        -format '%[fx:round(mean*w*h)]' info:
}

# The colour of one client-area pixel, as "r,g,b".
client_pixel() {
    local ox oy
    read -r ox oy < <(probe window-rect - "$BOX" | awk '{print $7, $8}')
    import -display "$DISPLAY" -window root -crop "1x1+$((ox + $1))+$((oy + $2))" +repage \
        -depth 8 txt:- 2>/dev/null | awk 'NR == 2 {print $2}' | tr -d '()' | cut -d, -f1-3
}

# The painted texts, read back from the screen.
painted_text() {
    local ox oy shot=$E2E_WORK/labels.png
    read -r ox oy < <(probe window-rect - "$BOX" | awk '{print $7, $8}')
    import -display "$DISPLAY" -window root -crop "370x170+$((ox + 8))+$((oy + 8))" +repage "$shot" 2>/dev/null
    convert "$shot" -fill white -fuzz 25% -opaque 'rgb(221,173,49)' -fill black +opaque white \
        -resize 300% -bordercolor black -border 20 -negate "$E2E_WORK/labels-ocr.png"
    tesseract "$E2E_WORK/labels-ocr.png" - --psm 6 2>/dev/null
}

echo "== opened from the tray menu"
e2e_start_orvanel
check "About... opens the box captioned About Orvanel" open_box
e2e_shot about-96 >/dev/null
read -r wx wy ww wh cx cy cw ch < <(probe window-rect - "$BOX" | awk '{print $2, $3, $4, $5, $7, $8, $9, $10}')
check_eq "client area is 563 by 296 pixels" "563 296" "$cw $ch"
check "the box is centred on the screen" \
    within_one_pixel "$(((E2E_DESKTOP_W - ww) / 2)) $(((E2E_DESKTOP_H - wh) / 2)) $ww $wh" "$wx $wy $ww $wh"
check "Send Email stands at 8,264, 193 by 25" within_one_pixel "8 264 193 25" "$(control_rect 401)"
check "Get Latest Version stands at 200,264, 185 by 25" within_one_pixel "200 264 185 25" "$(control_rect 402)"
check "Ok stands at 384,264, 169 by 25" within_one_pixel "384 264 169 25" "$(control_rect 403)"
check_eq "button captions" "&Send Email|&Get Latest Version|&Ok" \
    "$(control_text 401)|$(control_text 402)|$(control_text 403)"
check_eq "the focus starts on Send Email" "focus=401" "$(probe foreground | awk -F'\t' '{print $3}')"

labels=$(painted_text)
check "the title is painted" grep -qx 'Orvanel' <<<"$labels"
check "the version is painted as Version 1.0" grep -qx 'Version 1\.0' <<<"$labels"
check "the copyright is painted" grep -q '^Copyright .* 2026 Kestrane\. All' <<<"$labels"
check "the title is painted in gold" test "$(gold_pixels '15 80 150 28')" -gt 100
check "the statement is painted in gold" test "$(gold_pixels '16 216 260 33')" -gt 100
check "the logo fills its rectangle's corner" not test "$(client_pixel 9 9)" == "$(client_pixel 4 4)"
check "and stops at its right edge" test "$(client_pixel 557 100)" == "$(client_pixel 4 4)"
# The frame's top edge is drawn in the button shadow, its bottom edge in the
# button highlight: the separator uses the same two colours.
shadow=$(client_pixel 100 8)
highlight=$(client_pixel 100 176)
check "shadow and highlight differ" not test "$shadow" == "$highlight"
check_eq "the separator is a shadow row over a highlight row" "$shadow $highlight" \
    "$(client_pixel 100 151) $(client_pixel 100 152)"
check "the separator spans 16 to 367" \
    test "$(client_pixel 16 152)|$(client_pixel 367 152)|$(client_pixel 368 152)" \
    == "$highlight|$highlight|$(client_pixel 368 151)"

echo "== tooltips and links with the values start-up stored"
check_eq "home page tooltip" " $HOME_PAGE " "$(tooltip_of 402)"
check_eq "e-mail tooltip" " $EMAIL " "$(tooltip_of 401)"
click_control 401
wait_explorer_starts 1
check_eq "Send Email starts explorer mailto:" "explorer mailto:$EMAIL" "$(explorer_starts | sed -n 1p)"
check "the box stays open after Send Email" probe wait-window '#32770' "$BOX" 0
click_control 402
wait_explorer_starts 2
check_eq "Get Latest Version starts explorer with the address" "explorer $HOME_PAGE" \
    "$(explorer_starts | sed -n 2p)"
check "the box stays open after Get Latest Version" probe wait-window '#32770' "$BOX" 0
dialog_click "$BOX" Ok
check "Ok closes the box" box_gone

echo "== changed values show at the next opening"
probe reg-set-encoded HKLM "$MAKER_KEY" 'Web Page' 'https://mirror.kestrane.example/get/'
probe reg-set-encoded HKLM "$MAKER_KEY" Email 'sales@kestrane.example'
open_box
check_eq "changed home page tooltip" " https://mirror.kestrane.example/get/ " "$(tooltip_of 402)"
check_eq "changed e-mail tooltip" " sales@kestrane.example " "$(tooltip_of 401)"
click_control 401
wait_explorer_starts 3
check_eq "Send Email uses the stored address" "explorer mailto:sales@kestrane.example" \
    "$(explorer_starts | sed -n 3p)"
click_control 402
wait_explorer_starts 4
check_eq "Get Latest Version uses the stored address" "explorer https://mirror.kestrane.example/get/" \
    "$(explorer_starts | sed -n 4p)"
probe close - "$BOX"
check "the title bar's close closes the box" box_gone

echo "== values missing: the string table's addresses"
probe reg-delete-tree HKLM "$MAKER_KEY"
check_eq "the maker's key is gone" "missing" "$(probe reg-get HKLM "$MAKER_KEY" Email)"
open_box
check_eq "home page tooltip from the string table" " $HOME_PAGE " "$(tooltip_of 402)"
check_eq "e-mail tooltip from the string table" " $EMAIL " "$(tooltip_of 401)"
click_control 401
wait_explorer_starts 5
check_eq "Send Email falls back to the string table" "explorer mailto:$EMAIL" "$(explorer_starts | sed -n 5p)"
click_control 402
wait_explorer_starts 6
check_eq "Get Latest Version falls back to the string table" "explorer $HOME_PAGE" \
    "$(explorer_starts | sed -n 6p)"
check_eq "the box writes nothing" "missing" "$(probe reg-get HKLM "$MAKER_KEY" Email)"
probe key escape
check "Escape closes the box" box_gone

echo "== one box at a time"
open_box
tray_menu_choose About
sleep 1
probe close - "$BOX"
check "a second About... opened no second box" box_gone
check "Orvanel is still running" e2e_orvanel_running
check_eq "six explorers started, each from the Windows folder" 6 "$(explorer_starts | wc -l)"

e2e_finish
