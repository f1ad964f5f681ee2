#!/usr/bin/env bash
# cmake --install into a temporary prefix yields exactly the documented tree:
#   BUNDLE_DEST/Tresk.app/...                     the bundle as built
#   share/man/man1/tresk.1
#   share/bash-completion/completions/tresk
#   share/zsh/site-functions/_tresk
#   share/fish/vendor_completions.d/tresk.fish
# and nothing else: in particular no link in bin/. The uninstall target then
# removes all of it but the standard directories.
# usage: install_test.sh CMAKE BUILD_DIR SOURCE_DIR BUNDLE_DIR BUNDLE_DEST
set -euo pipefail
cmake=$1 build=$2 source=$3 bundle=$4 bundle_dest=$5

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
prefix=$tmp/prefix
if [[ $bundle_dest == /* ]]; then
    # An absolute destination (/Applications on macOS) goes under DESTDIR, so
    # the test writes nothing outside its temporary directory.
    export DESTDIR=$tmp/root
    prefix_root=$DESTDIR$prefix bundle_root=$DESTDIR$bundle_dest
else
    prefix_root=$prefix bundle_root=$prefix/$bundle_dest
fi
"$cmake" --install "$build" --prefix "$prefix" >/dev/null

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# installed path, then the file it must equal
pairs=(
    "$prefix_root/share/man/man1/tresk.1"                      "$source/doc/tresk.1"
    "$prefix_root/share/bash-completion/completions/tresk"     "$source/completions/tresk.bash"
    "$prefix_root/share/zsh/site-functions/_tresk"             "$source/completions/_tresk"
    "$prefix_root/share/fish/vendor_completions.d/tresk.fish"  "$source/completions/tresk.fish"
)
while IFS= read -r file; do
    pairs+=("$bundle_root/Tresk.app/${file#"$bundle"/}" "$file")
done < <(find "$bundle" ! -type d)

expected=$tmp/expected
: >"$expected"
for ((i = 0; i < ${#pairs[@]}; i += 2)); do
    path=${pairs[i]}
    cmp -s "$path" "${pairs[i + 1]}" || fail "$path differs from ${pairs[i + 1]} or is missing"
    while [[ $path != "$tmp" ]]; do
        echo "$path" >>"$expected"
        path=$(dirname "$path")
    done
done
if ! diff <(LC_ALL=C sort -u "$expected") <(find "$tmp" -mindepth 1 ! -path "$expected" | LC_ALL=C sort); then
    fail "the installed tree is not the documented one ('<' missing, '>' unexpected)"
fi

exe=$bundle_root/Tresk.app/Contents/MacOS/tresk
[[ -x $exe ]] || fail "$exe is not executable"
# The installed executable still finds its Info.plist.
[[ $("$exe" --version) == "$("$bundle/Contents/MacOS/tresk" --version)" ]] ||
    fail "$exe --version differs from the built bundle's"

# Uninstalling leaves no file behind, nor the bundle's directories.
"$cmake" --build "$build" --target uninstall >/dev/null
if leftovers=$(find "$tmp" -mindepth 1 \( ! -type d -o -name Tresk.app -o -path "$bundle_root" -a -name tresk \) ! -path "$expected") &&
    [[ -n $leftovers ]]; then
    fail "uninstall left behind: $leftovers"
fi

((failures == 0)) && echo "install tree: as documented, and uninstalled"
exit $((failures > 0))
