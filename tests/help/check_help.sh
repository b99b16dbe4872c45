#!/bin/bash
# check_help.sh - checks a built Orvanel.chm against its HTML Help sources.
#
# Usage: check_help.sh <path/to/Orvanel.chm> <path/to/Help-source-dir>
#
# The CHM is unpacked with extract_chmLib (Debian package libchm-bin) into a
# temporary directory. Then the script checks that:
#   - the CHM opens and contains the #SYSTEM file, the contents (.hhc) and
#     index (.hhk) files named in the .hhp, and the full-text search index if
#     the .hhp asks for one;
#   - #SYSTEM names the contents file, index file, default topic and title;
#   - every file listed in the [FILES] section of the .hhp is in the CHM;
#   - every topic referenced by the .hhc and .hhk (param "Local") is in the
#     CHM, and any #anchor it names exists in that topic;
#   - every local href/src in every HTML page of the CHM (and every url() in
#     its style sheets) resolves to a file in the CHM, and any #anchor exists
#     in the target page (http:, https:, mailto: and other URL schemes, and
#     pure #anchors, are skipped);
#   - every HTML page declares charset windows-1252, and every source file
#     in the Help directory is plain ASCII.
# One line is printed per check; the last line is "N passed, M failed".
# Exit status: 0 if nothing failed, 1 if a check failed, 2 on usage errors.

set -euo pipefail

if [ "$#" -ne 2 ]; then
    echo "usage: $0 <Orvanel.chm> <Help-source-dir>" >&2
    exit 2
fi

CHM=$1
SRC=$2

for tool in extract_chmLib grep sed tr; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "error: required tool '$tool' not found (extract_chmLib is in libchm-bin)" >&2
        exit 2
    fi
done

passed=0
failed=0

pass() { passed=$((passed + 1)); echo "PASS: $*"; }
fail() { failed=$((failed + 1)); echo "FAIL: $*"; }
check() { # check <description> <command...>
    local desc=$1; shift
    if "$@"; then pass "$desc"; else fail "$desc"; fi
}

finish() {
    echo "$passed passed, $failed failed"
    if [ "$failed" -eq 0 ]; then exit 0; else exit 1; fi
}

TMP=$(mktemp -d "${TMPDIR:-/tmp}/check_help.XXXXXX")
trap 'rm -rf "$TMP"' EXIT
X=$TMP/chm

# ---------------------------------------------------------------- project
HHP=$(find "$SRC" -maxdepth 1 -type f -iname '*.hhp' | sort | head -n 1)
if [ -z "$HHP" ]; then
    fail "a .hhp project file exists in $SRC"
    finish
fi
pass "project file found: $(basename "$HHP")"

# Project file with CR removed, so CRLF files work too.
tr -d '\r' < "$HHP" > "$TMP/project.hhp"

# hhp_option <name>: value of "name=value" in [OPTIONS] (empty if absent).
hhp_option() {
    sed -n '/^\[OPTIONS\]/I,/^\[/p' "$TMP/project.hhp" \
        | grep -i "^$1[[:space:]]*=" | head -n 1 \
        | sed 's/^[^=]*=[[:space:]]*//; s/[[:space:]]*$//' || true
}

HHC=$(hhp_option 'Contents file')
HHK=$(hhp_option 'Index file')
DEFTOPIC=$(hhp_option 'Default topic')
TITLE=$(hhp_option 'Title')
FTS=$(hhp_option 'Full-text search')

# Files of the [FILES] section, one per line (comments and blanks skipped).
sed -n '/^\[FILES\]/I,/^\[/p' "$TMP/project.hhp" \
    | sed '1d; /^\[/d; /^[[:space:]]*;/d; /^[[:space:]]*$/d; s/^[[:space:]]*//; s/[[:space:]]*$//' \
    | tr '\\' '/' > "$TMP/files.lst"

check "[FILES] section of the project lists at least one file" test -s "$TMP/files.lst"
check "project names a contents file (.hhc)" test -n "$HHC"
check "project names an index file (.hhk)" test -n "$HHK"
check "project names a default topic" test -n "$DEFTOPIC"

# ---------------------------------------------------------------- extract
if [ ! -s "$CHM" ]; then
    fail "CHM file exists and is not empty: $CHM"
    finish
fi
pass "CHM file exists and is not empty: $CHM"

if extract_chmLib "$CHM" "$X" > "$TMP/extract.log" 2>&1; then
    pass "extract_chmLib unpacked the CHM"
else
    fail "extract_chmLib unpacked the CHM (see output below)"
    sed 's/^/    /' "$TMP/extract.log"
    finish
fi

# in_chm <path>: true if <path> (relative to the CHM root) is a file in it.
in_chm() { [ -f "$X/$1" ]; }

# ------------------------------------------------------- system files
check "#SYSTEM is in the CHM" test -s "$X/#SYSTEM"
check "contents file $HHC is in the CHM" in_chm "$HHC"
check "index file $HHK is in the CHM" in_chm "$HHK"
case $(echo "$FTS" | tr 'A-Z' 'a-z') in
    yes|1|true)
        check "full-text search index \$FIftiMain is in the CHM" in_chm "\$FIftiMain" ;;
esac
if [ -f "$X/#SYSTEM" ]; then
    for item in "$HHC" "$HHK" "$DEFTOPIC" "$TITLE"; do
        [ -n "$item" ] || continue
        check "#SYSTEM names \"$item\"" grep -aqF -- "$item" "$X/#SYSTEM"
    done
fi
check "default topic $DEFTOPIC is in the CHM" in_chm "$DEFTOPIC"

# ------------------------------------------------------- [FILES] section
while IFS= read -r f; do
    check "[FILES] entry $f is in the CHM" in_chm "$f"
done < "$TMP/files.lst"

# ------------------------------------------------------- anchors
# has_anchor <file> <name>: true if the HTML file defines name=... or id=...
has_anchor() {
    local file=$1 name=$2
    tr '\r\n\t' '   ' < "$file" \
        | sed 's/[[:space:]]*=[[:space:]]*/=/g' \
        | grep -qiF -e "name=\"$name\"" -e "id=\"$name\"" \
                    -e "name='$name'" -e "id='$name'" \
                    -e "name=$name " -e "id=$name " \
                    -e "name=$name>" -e "id=$name>"
}

# url_decode <string>: decodes %XX escapes.
url_decode() { printf '%b' "${1//%/\\x}"; }

# normalize <path>: removes "./" parts and resolves "dir/../".
normalize() {
    local p=$1 out=() part
    local IFS=/
    for part in $p; do
        case $part in
            ''|.) ;;
            ..) if [ "${#out[@]}" -gt 0 ]; then unset 'out[${#out[@]}-1]'; else out+=(..); fi ;;
            *) out+=("$part") ;;
        esac
    done
    echo "${out[*]}"
}

# check_target <what> <base-dir-in-chm> <url>: one check for one reference.
check_target() {
    local what=$1 base=$2 url=$3 path frag target
    path=${url%%#*}
    frag=
    case $url in *'#'*) frag=${url#*#} ;; esac
    path=$(url_decode "$path")
    path=${path//\\//}
    case $path in
        /*) target=$(normalize "$path") ;;
        *)  target=$(normalize "${base:+$base/}$path") ;;
    esac
    if [ -z "$target" ] || ! in_chm "$target"; then
        fail "$what -> $url: file ${target:-<empty>} is not in the CHM"
        return
    fi
    if [ -n "$frag" ]; then
        case $target in
            *.htm|*.html|*.HTM|*.HTML) ;;
            *) pass "$what -> $url"; return ;;
        esac
        if has_anchor "$X/$target" "$frag"; then
            pass "$what -> $url (anchor found)"
        else
            fail "$what -> $url: anchor \"$frag\" not found in $target"
        fi
    else
        pass "$what -> $url"
    fi
}

# skip_url <url>: true for references that are not checked.
skip_url() {
    case $1 in
        '') return 0 ;;
        '#'*) return 0 ;;
    esac
    # Any URL scheme of two or more characters (http:, https:, mailto:,
    # ms-its:, ...). A single letter followed by ":" is a Windows drive path,
    # which is checked (and fails) like any other local path.
    echo "$1" | grep -qE '^[A-Za-z][A-Za-z0-9+.-]+:'
}

# ------------------------------------------------------- .hhc / .hhk topics
for sitemap in "$HHC" "$HHK"; do
    [ -f "$X/$sitemap" ] || continue
    tr '\r\n\t' '   ' < "$X/$sitemap" \
        | grep -oiE '<param[[:space:]]+name="Local"[[:space:]]+value="[^"]*"' \
        | sed 's/.*value="//; s/"$//' | sort -u > "$TMP/locals.lst" || true
    if [ ! -s "$TMP/locals.lst" ]; then
        fail "$sitemap references at least one topic"
        continue
    fi
    pass "$sitemap references $(wc -l < "$TMP/locals.lst") distinct topic(s)"
    while IFS= read -r ref; do
        if skip_url "$ref"; then continue; fi
        check_target "$sitemap" "" "$ref"
    done < "$TMP/locals.lst"
done

# ------------------------------------------------------- links in pages
find "$X" -type f \( -iname '*.htm' -o -iname '*.html' \) | sort > "$TMP/pages.lst"
check "the CHM contains HTML pages" test -s "$TMP/pages.lst"

while IFS= read -r page; do
    rel=${page#"$X"/}
    dir=$(dirname "$rel"); [ "$dir" = . ] && dir=
    check "$rel declares charset windows-1252" \
        grep -qiE 'charset=("|)windows-1252' "$page"
    tr '\r\n\t' '   ' < "$page" \
        | grep -oiE '(href|src)[[:space:]]*=[[:space:]]*("[^"]*"|'"'"'[^'"'"']*'"'"'|[^[:space:]>"'"'"']+)' \
        | sed -E 's/^[A-Za-z]+[[:space:]]*=[[:space:]]*//; s/^"(.*)"$/\1/; s/^'"'"'(.*)'"'"'$/\1/' \
        | sed 's/&amp;/\&/g' | sort -u > "$TMP/refs.lst" || true
    while IFS= read -r ref; do
        if skip_url "$ref"; then continue; fi
        check_target "$rel" "$dir" "$ref"
    done < "$TMP/refs.lst"
done < "$TMP/pages.lst"

# url(...) references in style sheets
find "$X" -type f -iname '*.css' | sort > "$TMP/css.lst"
while IFS= read -r css; do
    rel=${css#"$X"/}
    dir=$(dirname "$rel"); [ "$dir" = . ] && dir=
    grep -oiE 'url\([^)]*\)' "$css" \
        | sed -E 's/^url\([[:space:]]*//I; s/[[:space:]]*\)$//; s/^"(.*)"$/\1/; s/^'"'"'(.*)'"'"'$/\1/' \
        | sort -u > "$TMP/refs.lst" || true
    while IFS= read -r ref; do
        if skip_url "$ref"; then continue; fi
        check_target "$rel" "$dir" "$ref"
    done < "$TMP/refs.lst"
done < "$TMP/css.lst"

# ------------------------------------------------------- source encoding
find "$SRC" -maxdepth 1 -type f \( -iname '*.htm' -o -iname '*.html' -o -iname '*.css' \
        -o -iname '*.hhp' -o -iname '*.hhc' -o -iname '*.hhk' \) | sort > "$TMP/src.lst"
is_ascii() { ! LC_ALL=C grep -q '[^[:print:][:space:]]' "$1"; }
while IFS= read -r f; do
    check "source $(basename "$f") is plain ASCII" is_ascii "$f"
done < "$TMP/src.lst"

finish
