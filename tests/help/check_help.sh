#!/usr/bin/env bash
# Checks a built Orvanel.chm against its sources: every topic of the project,
# the contents and the index is inside, and every link inside resolves,
# anchors included. Usage: check_help.sh Orvanel.chm Help-source-folder
set -uo pipefail
src=$2
work=$(mktemp -d /tmp/check_help.XXXXXX)
trap 'rm -rf "$work"' EXIT
passed=0 failed=0
# check NAME COMMAND...: counts the command's outcome, naming it when it fails.
check() { if "${@:2}"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL: $1"; fi; }

# A target "page.htm#anchor" resolves when the page is in the file (paths
# from its root) and, with an anchor, names it.
resolves() {
    local file anchor=
    [[ $1 == *"#"* ]] && anchor=${1#*#}
    file=$(find "$work/x" -ipath "$work/x/$(sed 's|^/||; s|#.*||' <<<"$1")" -type f | head -n1)
    [ -n "$file" ] && { [ -z "$anchor" ] || grep -qiE "(name|id)=\"$anchor\"" "$file"; }
}

extract_chmLib "$1" "$work/x" >/dev/null 2>&1
for inside in '#SYSTEM' Orvanel.hhc Orvanel.hhk; do check "$inside is inside" test -f "$work/x/$inside"; done
check "#SYSTEM names the title" grep -aq 'Orvanel Help' "$work/x/#SYSTEM"

# Every file the project lists, and every topic the contents and the index point at.
while read -r from target; do check "$from -> $target" resolves "$target"; done < <(
    tr -d '\r' <"$src/Orvanel.hhp" | sed -n '/^\[FILES\]/,/^\[/p' | sed '1d;/^\[/d;/^$/d; s/^/Orvanel.hhp /'
    cd "$src" && grep -aoiHE 'name="Local" value="[^"]+"' Orvanel.hhc Orvanel.hhk | sed 's/:.*value="/ /; s/"$//')

# Every local link and picture of every page.
pages=("$work"/x/*.htm)
for page in "${pages[@]}"; do
    while read -r target; do
        [[ $target == "#"* ]] && target=$(basename "$page")$target
        check "$(basename "$page") -> $target" resolves "$target"
    done < <(grep -aoiE '(href|src)="[^"]+"' "$page" | sed 's/^[^"]*"//; s/"$//' | grep -vE '^(https?|mailto):')
done
check "the file holds at least the six topics" test "${#pages[@]}" -ge 6

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
