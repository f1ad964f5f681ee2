#!/usr/bin/env bash
# The rules ARCHITECTURE.md states: each folder includes only the folders
# its code map lists for it; the simulated platform lives only in simulator/;
# logic holds no platform #if (the build picks files by suffix instead); and
# every name the map gives exists.
# usage: layers_test.sh SOURCE_DIR
set -u
cd "$1" || exit 1

declare -A allowed=(
    [text]="text"
    [common]="text common"
    [store/keychain]="common text store/keychain"
    [store]="common text store/keychain store"
    [identity]="common text identity"
    [launchhelp]="common text identity launchhelp"
    [simulator]="common text store/keychain simulator"
    [cli]="common text store/keychain store identity launchhelp cli"
)

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The folder a source file belongs to: store/keychain before store.
layer_of() {
    case $1 in
        store/keychain/*) echo store/keychain ;;
        *) echo "${1%%/*}" ;;
    esac
}

while IFS= read -r file; do
    layer=$(layer_of "$file")
    [[ -n ${allowed[$layer]+x} ]] || { fail "$file is in no known layer"; continue; }
    while IFS= read -r included; do
        target=$(layer_of "$included")
        [[ " ${allowed[$layer]} " == *" $target "* ]] || fail "$file includes $included ($layer may not use $target)"
    done < <(sed -nE 's/^#[[:space:]]*(include|import)[[:space:]]+"([^"]+)".*/\2/p' "$file")
done < <(find common text store identity launchhelp simulator cli -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.mm' \))

while IFS= read -r file; do
    fail "$file is simulated-platform code outside simulator/"
done < <(find . -path ./build -prune -o -type f -name '*_simulated.*' -print | sed 's|^\./||' | grep -v '^simulator/')

while IFS= read -r hit; do
    fail "platform #if in logic: $hit"
done < <(find common text store identity launchhelp cli -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.mm' \) |
    grep -Ev '_(darwin|linux|simulated)\.(h|cpp|mm)$' |
    xargs grep -nE '^[[:space:]]*#[[:space:]]*(if|ifdef|ifndef|elif).*(__APPLE__|__linux__|__MACH__|TARGET_OS)' 2>/dev/null)

# The map names code: every name it gives in backquotes must exist, so the
# map cannot drift from the code unnoticed. A path is looked up as a file (or
# a pattern of files), an identifier in the sources and the build.
sources=(common text store identity launchhelp simulator cli tests CMakeLists.txt cmake)
# shellcheck disable=SC2016  # the backquotes are the map's, not a command
names=$(grep -o '`[^`]*`' ARCHITECTURE.md | tr -d '`' | sort -u)
while IFS= read -r name; do
    if [[ $name == */* ]]; then
        compgen -G "${name%/}" >/dev/null || fail "ARCHITECTURE.md names $name, which does not exist"
    elif [[ $name =~ ^[A-Za-z0-9][A-Za-z0-9_]*\.(h|cpp|mm|sh)$ ]]; then
        [[ -n $(find "${sources[@]}" -name "$name" -print -quit 2>/dev/null) ]] ||
            fail "ARCHITECTURE.md names $name, which does not exist"
    elif [[ $name =~ ^[A-Za-z_][A-Za-z0-9_]*$ ]]; then
        grep -rqw --include='*.h' --include='*.cpp' --include='*.mm' --include='*.txt' --include='*.cmake' \
            -- "$name" "${sources[@]}" || fail "ARCHITECTURE.md names $name, which the code does not hold"
    fi
done <<<"$names"

((failures == 0)) && echo "layers: every include runs downwards; every name the map gives exists"
exit $((failures > 0))
