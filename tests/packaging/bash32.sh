#!/usr/bin/env bash
# A bash 3.2 for the completion tests: the Mac's /bin/bash is 3.2.57, and
# Debian has no bash older than 5.
#
# usage: bash32.sh build [GIT_DIR]   builds bash 3.2.48 from a clone of GNU bash's
#                                    history (github.com/bminor/bash; default: the
#                                    mirror beside the checkout) into the cache
#        bash32.sh path              prints the path of a bash 3.2
#        bash32.sh run SCRIPT ARG... runs SCRIPT under it
# A bash 3.2 is $TRESK_BASH32 if set, else the one built into the cache
# ($XDG_CACHE_HOME or ~/.cache, tresk-bash-3.2/bin/bash), else /bin/bash if
# it is one (a Mac). Without one, path and run exit with status 77 (skipped)
# and say why.
set -euo pipefail

cache=${XDG_CACHE_HOME:-$HOME/.cache}/tresk-bash-3.2
# "Imported from ../bash-3.2.48.tar.gz.", the last 3.2 in that history.
commit=f1be666c7d78939ad775078d290bec2758fa29a2

# shellcheck disable=SC2016  # expanded by the bash asked
is_bash32() { [[ -x $1 && $("$1" -c 'echo "${BASH_VERSINFO[0]}.${BASH_VERSINFO[1]}"' 2>/dev/null) == 3.2 ]]; }

# Sets bash32, or why there is none and returns 1.
find_bash32() {
    if [[ -n ${TRESK_BASH32-} ]]; then
        is_bash32 "$TRESK_BASH32" || { echo "TRESK_BASH32=$TRESK_BASH32 is not a bash 3.2" >&2; exit 1; }
        bash32=$TRESK_BASH32
    elif is_bash32 "$cache/bin/bash"; then
        bash32=$cache/bin/bash
    elif is_bash32 /bin/bash; then
        bash32=/bin/bash
    else
        why="no bash 3.2 here (TRESK_BASH32, $cache/bin/bash, /bin/bash); tests/packaging/bash32.sh build makes one"
        return 1
    fi
}

build() {
    local git_dir=${1:-$(cd "$(dirname "$0")/../.." && pwd)/../.mirror/bminor+bash/repo} status
    git --git-dir="$git_dir" cat-file -e "$commit^{commit}" 2>/dev/null ||
        { echo "no commit $commit (bash 3.2.48) in $git_dir; give a clone of github.com/bminor/bash" >&2; exit 1; }
    command -v bison >/dev/null || { echo "bison is needed to regenerate the parser (apt-get install bison)" >&2; exit 1; }
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    mkdir "$work/src" "$work/build"
    git --git-dir="$git_dir" archive "$commit" | tar -x -C "$work/src"
    # The import patched parse.y but kept the parser generated from the old one.
    rm "$work/src/y.tab.c" "$work/src/y.tab.h"
    echo "building bash 3.2.48 (some minutes, most of them in configure)"
    # gnu89: the code declares functions implicitly and uses K&R definitions,
    # which newer compilers refuse in their default standard. No -j: its
    # Makefiles race.
    status=0
    (cd "$work/build" &&
        CFLAGS='-std=gnu89 -O2 -w' CFLAGS_FOR_BUILD='-std=gnu89 -w' \
            ../src/configure --without-bash-malloc --disable-nls &&
        make) >"$work/build.log" 2>&1 || status=$?
    if ((status)) || ! is_bash32 "$work/build/bash"; then
        tail -n 30 "$work/build.log"
        echo "building bash 3.2.48 failed (above)" >&2
        exit 1
    fi
    mkdir -p "$cache/bin"
    cp "$work/build/bash" "$cache/bin/bash.new" && mv "$cache/bin/bash.new" "$cache/bin/bash"
    echo "$cache/bin/bash: $("$cache/bin/bash" --version | head -n 1)"
}

case ${1-} in
    build) build "${@:2}" ;;
    path) if find_bash32; then echo "$bash32"; else echo "$why"; exit 77; fi ;;
    run) find_bash32 || { echo "skipped: $why"; exit 77; }; exec "$bash32" "${@:2}" ;;
    *) echo "usage: bash32.sh build [GIT_DIR] | path | run SCRIPT [ARG...]" >&2; exit 1 ;;
esac
