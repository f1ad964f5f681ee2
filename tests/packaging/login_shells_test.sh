#!/usr/bin/env bash
# After `cmake --install` with the prefix /usr/local and with /usr, and the
# link README gives root (/usr/local/bin/tresk), real interactive login
# shells complete tresk: `bash -l` (Debian's .bashrc, bash-completion),
# a bash 3.2 as on the Mac when there is one (tests/packaging/bash32.sh; the
# completion sourced from .bash_profile), `zsh -l` with Debian's recommended
# .zshrc (compinit), `fish -l`, each from a clean home directory with what a
# login sets (HOME, USER, LOGNAME, SHELL, PATH, TERM, a UTF-8 LANG) and no
# other variable. Typed through tmux, in each shell:
#   tresk ge<TAB>"work/s<TAB><Enter>    the command word and a stored name with
#                                       quotes: the line runs (no quote left
#                                       open) and prints the value
#   tresk get hos<TAB><Enter>           a name with $, backticks, quotes, braces,
#                                       '*' and non-ASCII reaches tresk intact
#   tresk add wo<TAB><TAB>new < value   the namespace, then the key typed right
#                                       after the slash (no space added)
# and no completion ran `get` (the simulator logs one prompt per get).
# The install goes to a DESTDIR tree that a private mount namespace lays over
# /usr, so the shells find the files where they look by default and nothing
# is written outside the temporary directory; then the uninstall must leave
# that tree empty. Needs root (for the mount), tmux and at least one of the
# shells; exit status 77 (skipped) otherwise.
# usage: login_shells_test.sh CMAKE BUILD_DIR BUNDLE_DEST
set -uo pipefail

skip() { echo "skipped: $*"; exit 77; }

if [[ ${1-} == --inside ]]; then
    inside=1 stage=$2 run=$3
    shift 3
    shells=("$@")
else
    inside=0
    cmake=$1 build=$2 bundle_dest=$3
    [[ $(uname) == Linux ]] || skip "the staged install is laid over /usr with a Linux mount namespace"
    [[ $(id -u) == 0 ]] || skip "laying the staged install over /usr needs root"
    [[ $bundle_dest != /* ]] || skip "the bundle goes to an absolute $bundle_dest, outside the prefix"
    command -v tmux >/dev/null || skip "tmux is not installed"
    unshare --mount --propagation private true 2>/dev/null || skip "no mount namespace here (unshare --mount failed)"
    shells=()
    for shell in bash zsh fish; do
        if command -v "$shell" >/dev/null; then shells+=("$shell"); else echo "note: $shell is not installed; not tried"; fi
    done
    ((${#shells[@]})) || skip "none of bash, zsh and fish is installed"
    # Found again inside from TRESK_BASH32.
    if TRESK_BASH32=$("$(dirname "$0")/bash32.sh" path); then
        export TRESK_BASH32
        shells+=(bash32)
    else
        echo "note: bash 3.2 not tried: $TRESK_BASH32"
    fi
fi

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

if ((!inside)); then
    tmp=$(mktemp -d)
    trap 'rm -rf "$tmp"' EXIT
    n=0
    for prefix in /usr/local /usr; do
        n=$((n + 1))
        stage=$tmp/stage$n
        if ! DESTDIR=$stage "$cmake" --install "$build" --prefix "$prefix" >"$tmp/install.log" 2>&1; then
            cat "$tmp/install.log"
            fail "cmake --install --prefix $prefix failed"
            continue
        fi
        mkdir -p "$stage/usr/local/bin"
        ln -s "$prefix/$bundle_dest/Tresk.app/Contents/MacOS/tresk" "$stage/usr/local/bin/tresk"
        outside=$(find "$stage" -mindepth 1 -maxdepth 1 ! -name usr)
        [[ -z $outside ]] && outside=$(find "$stage/usr" -mindepth 1 -maxdepth 1 ! -name local ! -name share ! -name lib)
        [[ -z $outside ]] || fail "--prefix $prefix installed outside its share and lib: $outside"
        # A tresk the machine has already would hide a file the install failed to put there.
        while IFS= read -r file; do
            [[ ! -e ${file#"$stage"} && ! -L ${file#"$stage"} ]] ||
                skip "this machine has ${file#"$stage"} already; the shells could load that one"
        done < <(find "$stage" ! -type d ! -path '*/Tresk.app/*')
        echo "--prefix $prefix:"
        find "$stage" ! -type d ! -path '*/Tresk.app/*' | sed "s|^$stage|    |"
        mkdir "$tmp/run$n"
        unshare --mount --propagation private "$BASH" "$0" --inside "$stage" "$tmp/run$n" "${shells[@]}"
        case $? in
            0) ;;
            77) exit 77 ;;
            *) fail "the login shells after --prefix $prefix (above)" ;;
        esac
        # The link and the directories made for it are the user's, not the install's.
        rm "$stage/usr/local/bin/tresk" && (cd "$stage" && rmdir -p --ignore-fail-on-non-empty usr/local/bin)
        DESTDIR=$stage "$cmake" --build "$build" --target uninstall >/dev/null
        if [[ -e $stage ]]; then
            fail "uninstalling --prefix $prefix left: $(find "$stage" | sed "s|^$stage|    |")"
        fi
    done
    ((failures == 0)) && echo "login shells (${shells[*]}): completion loads, closes quotes, keeps the cursor after a namespace"
    exit $((failures > 0))
fi

# --- inside the private mount namespace: the staged install over /usr ---
mount -t overlay tresk-staged -o "lowerdir=$stage/usr:/usr" /usr || skip "cannot lay the staged install over /usr (overlay)"
unset TMUX
sock=$run/tmux.sock
tmux_() { tmux -u -S "$sock" -f /dev/null "$@"; }
trap 'tmux_ kill-server 2>/dev/null' EXIT

say='work/say "hi"'
hostile="hostile/\$HOME \`id\` 'q' \"d\" ü{a,b}*"
login_path=$(sed -n 's/^ENV_SUPATH[[:space:]]*PATH=//p' /etc/login.defs 2>/dev/null)
[[ -n $login_path ]] || login_path=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin

for shell in "${shells[@]}"; do
    home=$run/home-$shell
    mkdir -p "$home"
    binary=$(command -v "$shell")
    case $shell in
        bash) [[ -d /etc/skel ]] && cp -R /etc/skel/. "$home" ;;
        # As README tells a Mac user without bash-completion.
        bash32)
            binary=$TRESK_BASH32
            completion=$(cd "$stage" && find . -path '*/bash-completion/completions/tresk')
            printf '. %q\n' "${completion#.}" >"$home/.bash_profile"
            ;;
        zsh)
            if [[ -f /etc/zsh/newuser.zshrc.recommended ]]; then
                cp /etc/zsh/newuser.zshrc.recommended "$home/.zshrc"
            else
                printf 'autoload -Uz compinit\ncompinit\n' >"$home/.zshrc"
            fi
            ;;
        # Already there after fish's first start; without it fish reads every
        # man page in the background then, which would only slow the test.
        fish) mkdir -p "$home/.local/share/fish/generated_completions" ;;
    esac
    if ! { printf 'value-of-say-hi\n' | HOME=$home /usr/local/bin/tresk add "$say" &&
        printf 'value-of-hostile\n' | HOME=$home /usr/local/bin/tresk add "$hostile"; } 2>/dev/null; then
        fail "$shell: cannot store the items to complete"
    fi
    printf 'value-of-new\n' >"$home/value"
    printf -v command '%q ' env -i "HOME=$home" USER=root LOGNAME=root "SHELL=$binary" "PATH=$login_path" \
        TERM=screen LANG=C.UTF-8 "$binary" -l
    if [[ $shell == "${shells[0]}" ]]; then
        tmux_ new-session -d -s t -x 200 -y 50 -n "$shell" -c "$home" "$command"
    else
        tmux_ new-window -t t -n "$shell" -c "$home" "$command"
    fi
done

# shows SHELL LINE: the pane shows LINE (a whole line) within 10 s.
shows() {
    local i
    for ((i = 0; i < 200; i++)); do
        tmux_ capture-pane -p -J -t "t:$1" -S - 2>/dev/null | grep -qx -- "$2 *" && return 0
        sleep 0.05
    done
    return 1
}

# step SHELL EXPECTED KEYS...: types the keys (Tab and Enter are keys, the
# rest literal text) and waits for the line EXPECTED.
step() {
    local shell=$1 expected=$2 key
    shift 2
    for key in "$@"; do
        case $key in
            Tab | Enter) tmux_ send-keys -t "t:$shell" "$key" ;;
            *) tmux_ send-keys -t "t:$shell" -l -- "$key" ;;
        esac
    done
    shows "$shell" "$expected" && return 0
    fail "$shell: typed $(printf '[%s]' "$@"), and no line '$expected' came; the pane:"
    tmux_ capture-pane -p -J -t "t:$shell" -S - | grep -v '^$' | sed 's/^/    | /'
    return 1
}

for shell in "${shells[@]}"; do
    # The prompt is up when the shell runs a command; what is typed before
    # that would not be completed.
    if ! { step "$shell" ready-now "printf '%s-%s\n' ready now" Enter &&
        step "$shell" value-of-say-hi 'tresk ge' Tab '"work/s' Tab Enter &&
        step "$shell" value-of-hostile 'tresk get hos' Tab Enter &&
        step "$shell" value-of-new 'tresk add wo' Tab Tab 'new < value && tresk get work/new' Enter; }; then
        continue # the shell is left in an unknown state
    fi
    expected=$(printf 'touch-id\tUnlock %s\n' "$say" "$hostile" work/new)
    actual=$(cat "$run/home-$shell/.local/share/tresk-simulator/prompts.log")
    [[ $actual == "$expected" ]] || fail "$shell: prompts other than the three gets typed (a completion ran get?):
$actual"
done
exit $((failures > 0))
