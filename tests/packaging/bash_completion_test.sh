#!/usr/bin/env bash
# The bash completion, run in a real bash against a stub tresk on PATH: the
# candidates offered for each command line, and no call of `tresk get`.
# ctest runs it in the bash it found and in a bash 3.2 (bash32.sh run).
# usage: bash_completion_test.sh COMPLETION_FILE
set -u

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir "$tmp/bin"
cat >"$tmp/bin/tresk" <<'EOF'
#!/bin/sh
printf '%s\n' "$*" >>"$TRESK_STUB_CALLS"
[ "$1" = list ] || exit 1
printf '%s\n' 'ns/a b' 'ns/a/b' 'ns/c:d' "ns/it's" 'ns/say "hi"' 'other/x'
EOF
chmod +x "$tmp/bin/tresk"
export PATH="$tmp/bin:$PATH" TRESK_STUB_CALLS="$tmp/calls"

# shellcheck source=/dev/null
source "$1" || exit 1

# Outside a completion compopt is refused; record what the function asks of it.
# shellcheck disable=SC2317  # called by _tresk
compopt() { compopt_args+="$*"; }

default_breaks=$COMP_WORDBREAKS
failures=0
# fail WHAT [DETAIL...]
fail() {
    echo "FAIL: $1"
    shift
    (($#)) && printf '%s\n' "$@"
    ((++failures))
}

# Registered with -o nospace: the function says where a space follows.
[[ $(complete -p tresk) == 'complete -o nospace -F _tresk tresk' ]] ||
    fail "registered as: $(complete -p tresk)"

# check WORDBREAKS LINE [CANDIDATE...]: completing at the end of LINE offers
# exactly the CANDIDATEs, each as readline would insert it in place of the
# text after the last word break (any order).
check() {
    local breaks=$1 line=$2
    shift 2
    local expected actual
    COMP_WORDBREAKS=$breaks COMP_LINE=$line COMP_POINT=${#line}
    COMP_WORDS=() COMP_CWORD=0 COMPREPLY=() compopt_args=''
    _tresk tresk '' ''
    expected=$( (($#)) && printf '[%s]\n' "$@" | LC_ALL=C sort)
    actual=$( ((${#COMPREPLY[@]})) && printf '[%s]\n' "${COMPREPLY[@]}" | LC_ALL=C sort)
    [[ $actual == "$expected" ]] || fail "[$line] with breaks $(printf %q "$breaks")" \
        "  expected: ${expected//$'\n'/ }" "  actual:   ${actual//$'\n'/ }"
}

# asked ARGS: the last check asked compopt for ARGS; bash 3.2 has none to ask.
asked() {
    local want=$1
    ((BASH_VERSINFO[0] >= 4)) || want=''
    [[ $compopt_args == "$want" ]] || fail "[$COMP_LINE] asked compopt for '$compopt_args', not '$want'"
}

d=$default_breaks
# A finished word ends in the space that readline would add.
check "$d" 'tresk '                     'add ' 'get ' 'delete ' 'list ' '--help ' '--version '
check "$d" 'tresk g'                    'get '
check "$d" 'tresk get ns/'              'ns/a\ b ' 'ns/a/b ' 'ns/c:d ' "ns/it\\'s " 'ns/say\ \"hi\" '
check "$d" 'tresk delete '              'ns/a\ b ' 'ns/a/b ' 'ns/c:d ' "ns/it\\'s " 'ns/say\ \"hi\" ' 'other/x '
check "$d" 'tresk GET ns/c'             'ns/c:d '
# add offers the namespaces, not the stored names it would refuse, and no
# space: the key is typed right after the slash.
check "$d" 'tresk add '                 ns/ other/
check "$d" 'tresk ADD o'                other/
check "$d" 'tresk add ns/'              ns/
check "$d" 'tresk add "o'               'other/"'
asked ''
check "$d" 'tresk add a/b --'           '--policy '
check "$d" 'tresk add a/b --policy b'   'biometryAny ' 'biometryCurrentSet '
# Keys typed with quoting: the candidate continues the quoting in force, and
# a lone one closes the quote, also when it ends in an escaped quote
# character (readline would leave that one open); readline adds the space.
check "$d" 'tresk get ns/a\ '           'ns/a\ b '
check "$d" "tresk get 'ns/i"            "ns/it'\\''s'"
asked '+o nospace'
check "$d" 'tresk get "ns/a '           'ns/a b"'
check "$d" 'tresk get "ns/s'            'ns/say \"hi\""'
check "$d" "tresk get 'ns/s"            "ns/say \"hi\"'"
check "$d" 'tresk get ns/"s'            'say \"hi\""'
# Several: no quote is closed, the word is not finished yet.
check "$d" 'tresk get "ns/'             'ns/a b' ns/a/b ns/c:d "ns/it's" 'ns/say \"hi\"'
# ':' is a word break by default, '/' in some setups: only the part after the
# last break is replaced.
check "$d" 'tresk get ns/c:'            'd '
check "$d/" 'tresk get ns/'             'a\ b ' 'a/b ' 'c:d ' "it\\'s " 'say\ \"hi\" '
check "$d/" 'tresk get ns/a/'           'b '
# Nothing where the program accepts nothing more.
check "$d" 'tresk list '
check "$d" 'tresk get a/b '
check "$d" 'tresk get a/b --'
check "$d" 'tresk add a/b --policy userPresence '
check "$d" 'tresk --help '

# After a redirection bash's own file completion takes over.
check "$d" 'tresk add a/b < '
asked '-o default +o nospace'

if ! grep -qx list "$tmp/calls" 2>/dev/null; then
    fail 'the stub was never asked to list'
elif grep -vx list "$tmp/calls"; then
    fail 'the stub was called with more than list (above)'
fi

((failures == 0)) && echo "bash completion in bash $BASH_VERSION: all cases pass"
exit $((failures > 0))
