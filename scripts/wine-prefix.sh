# Prepares a Wine prefix for Orvanel: sourced by scripts/run and the
# end-to-end tests. Wine 8's own subst.exe does nothing, so the prefix gets
# the stand-in built with the tests, which really maps the drive.

# Where the stand-in keeps its log and the files that steer it, below the
# prefix; off the root of C: so that no folder list shows it.
ORVANEL_TEST_DIR=drive_c/windows/temp/orvanel-test

# prepare_prefix PREFIX TOOLS_DIR WIDTH HEIGHT
prepare_prefix() {
    local prefix=$1 tools=$2 width=$3 height=$4
    export WINEPREFIX=$prefix
    export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
    if [ ! -f "$prefix/system.reg" ]; then
        if [ -n "${ORVANEL_E2E_TEMPLATE:-}" ] && [ -d "$ORVANEL_E2E_TEMPLATE" ]; then
            cp -a "$ORVANEL_E2E_TEMPLATE" "$prefix"
        else
            wineboot -i >/dev/null 2>&1
            wineserver -w
        fi
    fi
    cp "$tools/subst.exe" "$prefix/drive_c/windows/system32/subst.exe"
    mkdir -p "$prefix/$ORVANEL_TEST_DIR"
    # Wine prefers its built-in subst.exe unless told otherwise; programs
    # started one by one share a desktop only when the prefix names one
    # (and not "Default", which is Wine's own non-virtual desktop).
    local reg=$prefix/$ORVANEL_TEST_DIR/setup.reg
    cat >"$reg" <<REG
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Wine\\DllOverrides]
"subst.exe"="native"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]
"Desktop"="Orvanel"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]
"Orvanel"="${width}x${height}"
REG
    wine regedit /S 'C:\windows\temp\orvanel-test\setup.reg' >/dev/null 2>&1
}

# prefix_pids [PATTERN]: the processes of $WINEPREFIX whose program matches
# PATTERN (by default any of Wine's, its server's too).
prefix_pids() {
    local env dir
    for env in $(grep -lzxF "WINEPREFIX=$WINEPREFIX" /proc/[0-9]*/environ 2>/dev/null); do
        dir=${env%/environ}
        if [[ $(readlink "$dir/exe") == ${1:-*/wine*} ]]; then echo "${dir#/proc/}"; fi
    done
}

# end_prefix: ends every process of $WINEPREFIX, also when its Wine server
# has died under them (they then hang, holding their output open). Succeeds
# when there was nothing to end, also under set -e.
end_prefix() {
    wineserver -k 2>/dev/null || true
    kill -9 $(prefix_pids) 2>/dev/null || true
}

# watch_server FILE: watches $WINEPREFIX in the background (WATCH_PID): when
# its programs have been left without a Wine server for 16 s, the server died
# under them (Wine 8's can, when a process is ended as it starts) and they
# hang, as nothing answers them any more: it touches FILE and ends them.
watch_server() {
    local orphaned=0
    while sleep 2; do
        if [ -n "$(prefix_pids '*/wineserver*')" ] || [ -z "$(prefix_pids)" ]; then
            orphaned=0
        elif ((++orphaned == 8)); then
            touch "$1"
            end_prefix
        fi
    done &
    WATCH_PID=$!
}

# start_xvfb: starts a private X server; exports DISPLAY, sets XVFB_PID.
start_xvfb() {
    local fdfile
    fdfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
    XVFB_PID=$!
    local i
    for i in $(seq 300); do  # a loaded machine may take seconds
        [ -s "$fdfile" ] && break
        sleep 0.1
    done
    export DISPLAY=":$(head -n1 "$fdfile")"
    rm -f "$fdfile"
}
