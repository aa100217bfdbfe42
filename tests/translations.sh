#!/usr/bin/env bash
# Checks that every translation in translations/ is complete and in step with the sources:
# lupdate is run over the sources into a copy of each .ts file, and the copy must hold no
# unfinished, vanished or obsolete entry, and no empty translation.
#   tests/translations.sh SOURCE_DIR LUPDATE FOLDER...
# The folders are those the "lupdate" build target scans, relative to SOURCE_DIR.
set -euo pipefail
src=$1 lupdate=$2
shift 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

shopt -s nullglob
ts_files=("$src"/translations/*.ts)
if [ ${#ts_files[@]} -eq 0 ]; then
    echo "FAIL: no translations in $src/translations" >&2
    exit 1
fi

failures=0
for ts in "${ts_files[@]}"; do
    name=${ts##*/}
    copy=$work/$name
    cp "$ts" "$copy"
    (cd "$src" && "$lupdate" -silent -locations none "$@" -ts "$copy")
    for kind in unfinished vanished obsolete; do
        count=$(grep -c "type=\"$kind\"" "$copy" || true)
        if [ "$count" -ne 0 ]; then
            echo "FAIL: $name has $count $kind entries:" >&2
            grep -B2 "type=\"$kind\"" "$copy" | grep '<source>' | head -20 >&2
            failures=$((failures + 1))
        fi
    done
    empty=$(grep -c '<translation></translation>' "$copy" || true)
    if [ "$empty" -ne 0 ]; then
        echo "FAIL: $name has $empty empty translations" >&2
        failures=$((failures + 1))
    fi
    entries=$(grep -c '<message>' "$copy" || true)
    echo "$name: $entries entries"
done
[ "$failures" -eq 0 ] || exit 1
echo "Every translation is complete and in step with the sources."
