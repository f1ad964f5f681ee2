#!/bin/sh
# The fish completion, run in a real fish against a stub tresk on PATH: what
# is offered after each command word (names that fish would expand are taken
# as they are; no namespace once the word holds one, since fish would add a
# space after it), and no call of `tresk get`.
# usage: fish_completion_test.sh COMPLETION_FILE; exit status 77 (skipped) without fish
command -v fish >/dev/null 2>&1 || { echo "fish is not installed"; exit 77; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir "$tmp/bin"
cat >"$tmp/bin/tresk" <<'STUB'
#!/bin/sh
printf '%s\n' "$*" >>"$TRESK_STUB_CALLS"
[ "$1" = list ] || exit 1
printf '%s\n' 'ns/a b' 'ns/a/b' "ns/it's" 'other/x' 'sp ace/k' 'w$HOME `id` *{a,b}/k' 'üñí/k'
STUB
chmod +x "$tmp/bin/tresk"
# The command lines, one a line.
cat >"$tmp/lines" <<'LINES'
tresk 
tresk --
tresk add 
tresk ADD o
tresk add ns/
tresk add "ns/
tresk add 'n
tresk get ns/
tresk get w
tresk delete o
tresk list 
tresk add a/b -
tresk add a/b --policy user
LINES
# shellcheck disable=SC2016  # the expressions are fish's own
PATH="$tmp/bin:$PATH" TRESK_STUB_CALLS="$tmp/calls" HOME="$tmp" XDG_CONFIG_HOME="$tmp" fish --no-config -c '
source $argv[1]
while read -l line
    echo "[$line]"
    complete -C "$line" | string replace -r "\t.*" "" | sort
end <$argv[2]' "$1" "$tmp/lines" >"$tmp/actual" 2>&1
cat >"$tmp/expected" <<'EXPECTED'
[tresk ]
add
delete
get
list
[tresk --]
--help
--version
[tresk add ]
ns/
other/
sp ace/
w$HOME `id` *{a,b}/
üñí/
[tresk ADD o]
other/
[tresk add ns/]
[tresk add "ns/]
[tresk add 'n]
ns/
[tresk get ns/]
ns/a b
ns/a/b
ns/it's
[tresk get w]
w$HOME `id` *{a,b}/k
[tresk delete o]
other/x
[tresk list ]
[tresk add a/b -]
--policy
[tresk add a/b --policy user]
userPresence
EXPECTED
status=0
if ! diff "$tmp/expected" "$tmp/actual"; then
    echo "FAIL: fish offered other candidates ('<' expected, '>' offered)"
    status=1
fi
if grep -vx list "$tmp/calls"; then
    echo "FAIL: the stub was called with more than list (above)"
    status=1
fi
[ $status = 0 ] && echo "fish completion: all cases pass"
exit $status
