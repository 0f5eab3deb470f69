#!/usr/bin/env bash
# Checks that a 32-bit DLL loads on Windows XP SP3: every function its import table names is on the
# list of functions that system offers, and its PE header asks for no newer system than 5.1.
# Usage: tests/xp_imports.sh DLL [ALLOWLIST]   (default list: tests/golden/xp_imports.txt)
# Prints each import not on the list ("DLL function") and exits 1 when there is any.
set -u -o pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
DLL=${1:?usage: xp_imports.sh DLL [ALLOWLIST]}
LIST=${2:-$HERE/golden/xp_imports.txt}
OBJDUMP=${OBJDUMP:-i686-w64-mingw32-objdump}

header=$("$OBJDUMP" -p "$DLL") || { echo "xp_imports: cannot read $DLL"; exit 2; }

# "dll function" in lower case for the library (the import table spells it as it likes), the
# function as it is; a function imported by ordinal alone reads "#N".
imports=$(awk '
    /^[[:space:]]*DLL Name:/ { dll = tolower($3); next }
    /^[[:space:]]*$/ { next }
    dll != "" && /^\t[0-9a-f]+\t/ {
        if (NF >= 3) print dll, $3; else print dll, "#" $2
    }
    /^The Export Tables|^PE File Base Relocations/ { dll = "" }
' <<<"$header" | sort -u)
[[ -n "$imports" ]] || { echo "xp_imports: no imports read from $DLL"; exit 2; }

allowed=$(grep -v '^[[:space:]]*\(#\|$\)' "$LIST" | awk '{ print tolower($1), $2 }' | sort -u)
offenders=$(comm -23 <(echo "$imports") <(echo "$allowed"))

status=0
if [[ -n "$offenders" ]]; then
    echo "xp_imports: $(wc -l <<<"$offenders") import(s) not available on Windows XP SP3 (or not on $LIST):"
    sed 's/^/    /' <<<"$offenders"
    status=1
fi

# Windows XP is 5.1: a DLL that asks for more is refused by its loader.
field() { awk -v f="$1" '$1 == f { print $2 }' <<<"$header"; }
for pair in "MajorOSystemVersion MinorOSystemVersion" "MajorSubsystemVersion MinorSubsystemVersion"; do
    read -r major minor <<<"$pair"
    ma=$(field "$major")
    mi=$(field "$minor")
    if [[ -z "$ma" || -z "$mi" ]]; then
        echo "xp_imports: no $major/$minor in the PE header"
        status=1
    elif ((ma > 5 || (ma == 5 && mi > 1))); then
        echo "xp_imports: $major.$minor is $ma.$mi, more than Windows XP's 5.1"
        status=1
    fi
done
[[ $status -eq 0 ]] && echo "xp_imports: $(wc -l <<<"$imports") imports, all on the Windows XP SP3 list; system version fits 5.1"
exit $status
