#!/usr/bin/env bash
# The soak: Mount and Unmount through the program's own menu command (the
# command posted to its hidden window), CYCLES times, each waiting for the
# real mapping, in a throwaway prefix with the stand-in subst.exe.
#   usage: soak.sh ORVANEL.EXE TOOLS_DIR [CYCLES]   (CYCLES: 1000 unless given)
# It reports what the program holds at the start, after the warm-up, every
# 100 cycles (every 20 below 500) and at the end, and fails when a mapping
# does not come or go, or when a figure grows past its allowance after the
# warm-up. GetGuiResources and GetProcessHandleCount read 0 under Wine, so:
#   handles  kernel handles: the program's entries in the system handle list,
#            which Wine's server builds from its real handle tables
#   gdi      GDI objects, stock objects aside: live entries of the program's
#            GDI handle table, which Wine keeps in the program's memory
#   user     USER objects Wine lets another process see: the program's
#            windows (menus and icons stay inside the program under Wine;
#            an icon's bitmaps count under gdi)
#   rss      resident memory (VmRSS) of the Linux process that is the program
#   anon     its private memory in use (RssAnon): heap and the like
#   threads, fds: the Linux process's threads and file descriptors, shown only
source "$(dirname "$0")/../e2e/lib.sh"
e2e_init "$1" "$2"

CYCLES=${3:-1000}
WARM_UP=$((CYCLES < 20 ? CYCLES : 20))
STEP=$((CYCLES >= 500 ? 100 : 20))
TIMEOUT_MS=30000
# Growth allowed between the warm-up and the end: counts, so a leak of one
# object in a few cycles is over them long before the end.
declare -A ALLOWED=([handles]=5 [gdi]=5 [user]=2 [rss]=4096 [anon]=4096)

FOLDER='C:\Soak Folder'
mkdir -p "$WINEPREFIX/drive_c/Soak Folder"
store_setting Path "$FOLDER"
store_setting Drive X
# No process channel: two thousand command lines are not worth logging.
E2E_WINEDEBUG=-all e2e_start_orvanel
started=$(date +%s)

# Prints "handles N gdi N user N rss N anon N threads N fds N".
figures() {
    local pid=$E2E_ORVANEL_PID
    printf '%s rss %s anon %s threads %s fds %s\n' "$(probe resources OrvanelTrayWindow)" \
        "$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status")" "$(awk '/^RssAnon:/ {print $2}' "/proc/$pid/status")" \
        "$(awk '/^Threads:/ {print $2}' "/proc/$pid/status")" "$(find "/proc/$pid/fd" -mindepth 1 | wc -l)"
}

declare -A BASE NOW
report() {
    local label=$1 name value line
    line=$(figures)
    read -r _ NOW[handles] _ NOW[gdi] _ NOW[user] _ NOW[rss] _ NOW[anon] _ NOW[threads] _ NOW[fds] <<<"$line"
    printf 'soak: %-10s handles %4s  gdi %4s  user %3s  rss %6s KiB  anon %6s KiB  threads %2s  fds %3s  (%d s)\n' \
        "$label" "${NOW[handles]}" "${NOW[gdi]}" "${NOW[user]}" "${NOW[rss]}" "${NOW[anon]}" \
        "${NOW[threads]}" "${NOW[fds]}" "$(($(date +%s) - started))"
}

echo "== $CYCLES mount/unmount cycles through the menu command"
check "Orvanel is running" e2e_orvanel_running
report start
done_cycles=0
stuck=""
while [ "$done_cycles" -lt "$CYCLES" ] && [ -z "$stuck" ]; do
    if [ "$done_cycles" -lt "$WARM_UP" ]; then
        next=$WARM_UP
    else
        next=$(((done_cycles / STEP + 1) * STEP))
        [ "$next" -gt "$CYCLES" ] && next=$CYCLES
    fi
    stuck=$(probe toggle-cycles OrvanelTrayWindow X: "$FOLDER" $((done_cycles + 1)) "$next" "$TIMEOUT_MS")
    if [ $? -ne 0 ]; then
        e2e_orvanel_running || stuck="Orvanel is no longer running"
        [ -n "$stuck" ] || stuck="the cycles could not be driven"
        break
    fi
    done_cycles=$next
    if [ "$done_cycles" -eq "$WARM_UP" ]; then
        report "cycle $done_cycles"
        for name in "${!ALLOWED[@]}"; do BASE[$name]=${NOW[$name]}; done
    elif [ "$done_cycles" -lt "$CYCLES" ]; then
        report "cycle $done_cycles"
    fi
done
[ -n "$stuck" ] && printf '      %s\n' "$stuck"
check "every cycle mapped and unmapped the drive in time ($done_cycles of $CYCLES whole)" test -z "$stuck"
report "end $done_cycles"
check_eq "the drive is left unmapped" none "$(probe dosdevice X:)"
check "Orvanel showed no message" not probe wait-window '#32770' Orvanel 0

if [ -n "${BASE[handles]:-}" ] && e2e_orvanel_running; then
    for name in handles gdi user rss anon; do
        growth=$((NOW[$name] - BASE[$name]))
        check "$name after the warm-up: ${BASE[$name]} -> ${NOW[$name]} ($growth, allowed +${ALLOWED[$name]})" \
            test "$growth" -le "${ALLOWED[$name]}"
    done
else
    check "figures taken after the warm-up" false
fi
echo "soak: $done_cycles cycles in $(($(date +%s) - started)) s"
e2e_finish
