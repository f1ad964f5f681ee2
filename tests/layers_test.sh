#!/usr/bin/env bash
# The rules ARCHITECTURE.md states: each folder includes only the folders
# its code map lists for it; the simulated platform lives only in simulator/;
# logic holds no platform #if (the build picks files by suffix instead); and
# every name the map gives exists in the code, not only in a comment.
# Runs under the bash 3.2 of a Mac as well.
# usage: layers_test.sh SOURCE_DIR
set -u
cd "$1" || exit 1

# The folders a folder may include.
allowed() {
    case $1 in
        text) echo "text" ;;
        common) echo "text common" ;;
        store/keychain) echo "common text store/keychain" ;;
        store) echo "common text store/keychain store" ;;
        identity) echo "common text identity" ;;
        launchhelp) echo "common text identity launchhelp" ;;
        simulator) echo "common text store/keychain simulator" ;;
        cli) echo "common text store/keychain store identity launchhelp cli" ;;
        *) return 1 ;;
    esac
}

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
    may=$(allowed "$layer") || { fail "$file is in no known layer"; continue; }
    while IFS= read -r included; do
        target=$(layer_of "$included")
        case " $may " in
            *" $target "*) ;;
            *) fail "$file includes $included ($layer may not use $target)" ;;
        esac
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
# a pattern of files), a file name among the sources, an identifier in the
# code of the sources and the build with their comments taken out.
sources="common text store identity launchhelp simulator cli tests"
code=$(mktemp)
trap 'rm -f "$code"' EXIT
# shellcheck disable=SC2086  # the folders, one word each
find $sources -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.mm' \) -exec awk '
    # // and /* */ comments out, the code kept (string contents are not told apart)
    {
        line = $0; out = ""
        while (line != "") {
            if (block) {
                at = index(line, "*/")
                if (at == 0) { line = ""; break }
                line = substr(line, at + 2); block = 0; continue
            }
            opened = index(line, "/*"); slashes = index(line, "//")
            if (slashes > 0 && (opened == 0 || slashes < opened)) { out = out substr(line, 1, slashes - 1); break }
            if (opened > 0) { out = out substr(line, 1, opened - 1); line = substr(line, opened + 2); block = 1; continue }
            out = out line; line = ""
        }
        print out
    }' {} + >"$code"
# shellcheck disable=SC2086
find CMakeLists.txt cmake $sources -type f \( -name CMakeLists.txt -o -name '*.cmake' \) -exec sed 's/#.*//' {} + >>"$code"

file_name='^[A-Za-z0-9][A-Za-z0-9_]*\.(h|cpp|mm|sh)$'
identifier='^[A-Za-z_][A-Za-z0-9_]*$'
# shellcheck disable=SC2016  # the backquotes are the map's, not a command
names=$(grep -o '`[^`]*`' ARCHITECTURE.md | tr -d '`' | sort -u)
while IFS= read -r name; do
    if [[ $name == */* ]]; then
        compgen -G "${name%/}" >/dev/null || fail "ARCHITECTURE.md names $name, which does not exist"
    elif [[ $name =~ $file_name ]]; then
        # shellcheck disable=SC2086
        [[ -n $(find $sources -name "$name" -print 2>/dev/null | head -n 1) ]] ||
            fail "ARCHITECTURE.md names $name, which does not exist"
    elif [[ $name =~ $identifier ]]; then
        grep -qw -- "$name" "$code" || fail "ARCHITECTURE.md names $name, which the code does not hold"
    fi
done <<<"$names"

((failures == 0)) && echo "layers: every include runs downwards; every name the map gives is in the code"
exit $((failures > 0))
