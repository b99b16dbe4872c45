#!/usr/bin/env bash
# The soak: Mount and Unmount through the program's own menu command CYCLES
# times, each waiting for the real mapping. Usage: soak.sh ORVANEL.EXE TOOLS_DIR [CYCLES, 1000 unless given]
# Reports the figures at the start, after the warm-up, every 100 cycles (20
# below 500) and at the end; fails when a mapping does not come or go, or a
# figure grows past its allowance after the warm-up. Wine reads 0 for
# GetGuiResources and GetProcessHandleCount, so the figures are: handles, the
# program's entries in the system handle list; gdi, live entries of its GDI
# handle table, stock objects aside (an icon's bitmaps count here); rss,
# anon, threads and fds of its Linux process (/proc), the last two shown only.
source "$(dirname "$0")/../e2e/lib.sh"
e2e_init "$1" "$2"

CYCLES=${3:-1000}
WARM_UP=$((CYCLES < 20 ? CYCLES : 20))
STEP=$((CYCLES >= 500 ? 100 : 20))
TIMEOUT_MS=30000
# Growth allowed after the warm-up: one object leaked every few cycles is over it long before the end.
declare -A ALLOWED=([handles]=5 [gdi]=5 [rss]=4096 [anon]=4096) BASE NOW

FOLDER='C:\Soak Folder'
mkdir -p "$WINEPREFIX/drive_c/Soak Folder"
store_setting Path "$FOLDER"
store_setting Drive X
# No process channel: two thousand command lines are not worth logging.
E2E_WINEDEBUG=-all e2e_start_orvanel
started=$(date +%s)

report() {
    local status=/proc/$E2E_ORVANEL_PID/status
    read -r _ NOW[handles] _ NOW[gdi] < <(probe resources OrvanelTrayWindow)
    read -r NOW[rss] NOW[anon] NOW[threads] < <(awk '/^(VmRSS|RssAnon|Threads):/ {printf "%s ", $2}' "$status")
    NOW[fds]=$(find "/proc/$E2E_ORVANEL_PID/fd" -mindepth 1 | wc -l)
    printf 'soak: %-10s handles %4s  gdi %4s  rss %6s KiB  anon %6s KiB  threads %2s  fds %3s  (%d s)\n' "$1" \
        "${NOW[handles]}" "${NOW[gdi]}" "${NOW[rss]}" "${NOW[anon]}" "${NOW[threads]}" "${NOW[fds]}" "$(($(date +%s) - started))"
}

echo "== $CYCLES mount/unmount cycles through the menu command"
check "Orvanel is running" e2e_orvanel_running
report start
done_cycles=0
stuck=""
while [ "$done_cycles" -lt "$CYCLES" ]; do
    next=$(((done_cycles / STEP + 1) * STEP))
    [ "$done_cycles" -lt "$WARM_UP" ] && next=$WARM_UP
    [ "$next" -gt "$CYCLES" ] && next=$CYCLES
    if ! stuck=$(probe toggle-cycles OrvanelTrayWindow X: "$FOLDER" $((done_cycles + 1)) "$next" "$TIMEOUT_MS"); then
        e2e_orvanel_running || stuck="Orvanel is no longer running"
        stuck=${stuck:-the cycles could not be driven}
        break
    fi
    done_cycles=$next
    [ "$done_cycles" -lt "$CYCLES" ] || [ "$done_cycles" -eq "$WARM_UP" ] && report "cycle $done_cycles"
    [ "$done_cycles" -eq "$WARM_UP" ] && for name in "${!ALLOWED[@]}"; do BASE[$name]=${NOW[$name]}; done
done
[ -n "$stuck" ] && printf '      %s\n' "$stuck"
check "every cycle mapped and unmapped the drive in time ($done_cycles of $CYCLES whole)" test -z "$stuck"
report "end $done_cycles"
check_eq "the drive is left unmapped" none "$(probe dosdevice X:)"
check "Orvanel showed no message" not probe wait-window '#32770' Orvanel 0

[ -n "${BASE[handles]:-}" ] && e2e_orvanel_running || { check "figures taken after the warm-up" false; BASE=(); }
for name in "${!BASE[@]}"; do
    growth=$((NOW[$name] - BASE[$name]))
    check "$name after the warm-up: ${BASE[$name]} -> ${NOW[$name]} ($growth, allowed +${ALLOWED[$name]})" \
        test "$growth" -le "${ALLOWED[$name]}"
done
echo "soak: $done_cycles cycles in $(($(date +%s) - started)) s"
e2e_finish
