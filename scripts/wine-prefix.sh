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

# end_prefix: ends every process of $WINEPREFIX, also when its Wine server
# has died under them (they then hang, holding their output open). Succeeds
# when there was nothing to end, also under set -e.
end_prefix() {
    wineserver -k 2>/dev/null || true
    local p
    for p in /proc/[0-9]*; do
        if [[ $(readlink "$p/exe") == */wine* ]] && grep -qzxF "WINEPREFIX=$WINEPREFIX" "$p/environ" 2>/dev/null; then
            kill -9 "${p#/proc/}" 2>/dev/null || true
        fi
    done
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
