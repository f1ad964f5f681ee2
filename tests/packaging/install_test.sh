#!/usr/bin/env bash
# cmake --install into a temporary prefix yields exactly the documented tree:
#   BUNDLE_DEST/Tresk.app/...                     the bundle as built
#   share/man/man1/tresk.1
#   share/bash-completion/completions/tresk
#   share/zsh/site-functions/_tresk
#   share/fish/vendor_completions.d/tresk.fish
# and nothing else: in particular no link in bin/ (a prefix of its own, which
# no shell reads, keeps every completion under it). Installed twice over, the
# uninstall target then removes every file and every directory the install
# created, and keeps a directory that was there before. `--strip` installs a
# stripped executable that still runs.
# usage: install_test.sh CMAKE BUILD_DIR SOURCE_DIR BUNDLE_DIR BUNDLE_DEST
set -euo pipefail
cmake=$1 build=$2 source=$3 bundle=$4 bundle_dest=$5

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
tree=$tmp/tree
prefix=$tree/prefix
if [[ $bundle_dest == /* ]]; then
    # An absolute destination (/Applications on macOS) goes under DESTDIR, so
    # the test writes nothing outside its temporary directory.
    export DESTDIR=$tree/root
    prefix_root=$DESTDIR$prefix bundle_root=$DESTDIR$bundle_dest
else
    prefix_root=$prefix bundle_root=$prefix/$bundle_dest
fi

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# A standard directory that the machine had before: the uninstall keeps it.
mkdir -p "$prefix_root/share/man/man1"
find "$tree" -mindepth 1 | LC_ALL=C sort >"$tmp/before"

# uninstalled WHEN: the tree is as it was before the install.
uninstalled() {
    "$cmake" --build "$build" --target uninstall >/dev/null
    if ! diff "$tmp/before" <(find "$tree" -mindepth 1 | LC_ALL=C sort); then
        fail "after uninstalling $1 the tree is not as before ('<' gone, '>' left behind)"
    fi
}

"$cmake" --install "$build" --prefix "$prefix" >/dev/null
"$cmake" --install "$build" --prefix "$prefix" >/dev/null

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

cp "$tmp/before" "$tmp/expected"
for ((i = 0; i < ${#pairs[@]}; i += 2)); do
    path=${pairs[i]}
    cmp -s "$path" "${pairs[i + 1]}" || fail "$path differs from ${pairs[i + 1]} or is missing"
    while [[ $path != "$tree" ]]; do
        echo "$path" >>"$tmp/expected"
        path=$(dirname "$path")
    done
done
if ! diff <(LC_ALL=C sort -u "$tmp/expected") <(find "$tree" -mindepth 1 | LC_ALL=C sort); then
    fail "the installed tree is not the documented one ('<' missing, '>' unexpected)"
fi

exe=$bundle_root/Tresk.app/Contents/MacOS/tresk
built=$bundle/Contents/MacOS/tresk
[[ -x $exe ]] || fail "$exe is not executable"
# The installed executable still finds its Info.plist.
[[ $("$exe" --version) == "$("$built" --version)" ]] ||
    fail "$exe --version differs from the built bundle's"
uninstalled "an install made twice"

"$cmake" --install "$build" --prefix "$prefix" --strip >/dev/null
if [[ $(uname) == Darwin ]]; then
    # The bundle is signed as built: stripping it would break the seal.
    cmp -s "$exe" "$built" || fail "--strip changed the signed bundle's executable"
else
    (($(wc -c <"$exe") < $(wc -c <"$built"))) || fail "--strip left $exe as large as the built one"
    [[ $("$exe" --version) == "$("$built" --version)" ]] || fail "the stripped $exe does not answer --version"
fi
uninstalled "a stripped install"

((failures == 0)) && echo "install tree: as documented, uninstalled, stripped"
exit $((failures > 0))
