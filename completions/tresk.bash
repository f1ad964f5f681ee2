# bash completion for tresk                                -*- shell-script -*-
#
# Completes the command words, --policy after `add NAMESPACE/KEY` and the
# policy names after it, the NAMESPACE/KEY of stored items for get and
# delete, and the stored namespaces (`work/`) for add. The names come from
# `tresk list`, which shows no prompt and never prints a value; nothing here
# ever runs `tresk get`.
#
# Keys may hold spaces, quotes, ':', '/' or any other character, and bash
# splits COMP_WORDS at every COMP_WORDBREAKS character (':' and '=' by
# default, '/' in some setups). So the words are read from COMP_LINE here,
# dequoted as the shell would, and each candidate is cut to the part that
# readline replaces (the text after the last unquoted COMP_WORDBREAKS
# character, or after an unclosed quote) and quoted for the context it is
# typed in. This does not depend on the bash-completion package and behaves
# the same with or without it (2.x, or 1.x in bash 3.2).
#
# It runs in bash 3.2, the Mac's /bin/bash, which has no compopt to choose
# per word whether a space follows: tresk is registered with -o nospace and
# the space after a finished word is put here. Bash 3.2 offers no file
# names after < or > (bash 4 hands those to its own completion), and no
# space after a quote closed here (readline would add a second quote).

# Splits COMP_LINE up to the cursor into shell words. Sets the caller's
#   words      the dequoted words before the current one, without
#              redirection operators, their file descriptors and targets;
#   cur        the dequoted current word;
#   cur_start  the offset in cur where the word readline replaces begins;
#   cur_quote  the quote left open in the current word (' or "), or empty;
#   redirect   1 when the current word is the target of a redirection.
_tresk_split_line() {
    local line=${COMP_LINE:0:COMP_POINT}
    local word='' c next quote='' target=0 started=0 start=0 qstart=0 i
    words=()
    for ((i = 0; i < ${#line}; i++)); do
        c=${line:i:1}
        if [[ $quote == "'" ]]; then
            if [[ $c == "'" ]]; then quote=''; else word+=$c; fi
            continue
        fi
        if [[ $quote == '"' ]]; then
            if [[ $c == '"' ]]; then
                quote=''
                continue
            fi
            # Inside double quotes a backslash escapes only $ ` " \ and newline.
            next=${line:i+1:1}
            if [[ $c == "\\" && -n $next ]]; then
                case $next in
                    '$' | '`' | '"' | "\\")
                        word+=$next
                        ((++i))
                        continue
                        ;;
                    $'\n')
                        ((++i))
                        continue
                        ;;
                esac
            fi
            word+=$c
            continue
        fi
        case $c in
            "\\")
                next=${line:i+1:1}
                [[ -z $next || $next == $'\n' ]] || word+=$next
                ((++i))
                started=1
                ;;
            "'" | '"')
                quote=$c qstart=${#word} started=1
                ;;
            ' ' | $'\t' | $'\n' | '<' | '>')
                if ((started)); then
                    # "2>file": the digits name a descriptor, not an argument.
                    if [[ ($c == '<' || $c == '>') && $word =~ ^[0-9]+$ ]]; then
                        :
                    elif ((target)); then
                        target=0
                    else
                        words+=("$word")
                    fi
                fi
                [[ $c == '<' || $c == '>' ]] && target=1
                word='' started=0 start=0
                ;;
            *)
                word+=$c started=1
                [[ $COMP_WORDBREAKS == *"$c"* ]] && start=${#word}
                ;;
        esac
    done
    [[ -n $quote ]] && start=$qstart
    cur=$word cur_start=$start cur_quote=$quote redirect=$target
}

# Quotes $1 for the context of the current word; the result is in REPLY.
_tresk_quote() {
    local text=$1 c i
    REPLY=''
    case $cur_quote in
        "'")
            REPLY=${text//"'"/"'\\''"}
            ;;
        '"')
            for ((i = 0; i < ${#text}; i++)); do
                c=${text:i:1}
                [[ $c == [\$\`\"\\] ]] && REPLY+="\\"
                REPLY+=$c
            done
            ;;
        *)
            for ((i = 0; i < ${#text}; i++)); do
                c=${text:i:1}
                [[ $c == [[:alnum:]_./:@%+,=-] ]] || REPLY+="\\"
                REPLY+=$c
            done
            ;;
    esac
}

_tresk() {
    local -a words candidates=()
    local cur cur_start cur_quote redirect candidate REPLY finished=1
    _tresk_split_line
    COMPREPLY=()
    if ((redirect)); then
        # A file after < or >: bash's own completion, where there is compopt.
        ((BASH_VERSINFO[0] < 4)) || compopt -o default +o nospace
        return 0
    fi

    # The command word in any case, as the program takes it (bash 3.2 has no ${w,,}).
    local command=''
    case ${words[1]-} in
        [Aa][Dd][Dd]) command='add' ;;
        [Gg][Ee][Tt]) command='get' ;;
        [Dd][Ee][Ll][Ee][Tt][Ee]) command='delete' ;;
    esac
    case ${#words[@]} in
        1) candidates=(add get delete list --help --version) ;;
        2)
            case $command in
                get | delete | add)
                    local name seen=$'\n'
                    while IFS= read -r name; do
                        if [[ $command != add ]]; then
                            candidates+=("$name")
                        # A stored name would only be refused as existing: add
                        # offers the namespaces, and the key is typed after the slash.
                        elif [[ $name == */* && $seen != *$'\n'"${name%%/*}"$'\n'* ]]; then
                            seen+=${name%%/*}$'\n'
                            candidates+=("${name%%/*}/")
                        fi
                    done < <(command tresk list 2>/dev/null </dev/null)
                    [[ $command == add ]] && finished=0
                    ;;
            esac
            ;;
        3) [[ $command == add ]] && candidates=(--policy) ;;
        4)
            [[ $command == add && ${words[3]} == --policy ]] &&
                candidates=(biometryAny biometryCurrentSet userPresence)
            ;;
    esac

    # Not "${candidates[@]}": bash before 4.4 calls an empty array unset under set -u.
    local i
    for ((i = 0; i < ${#candidates[@]}; i++)); do
        candidate=${candidates[i]}
        [[ $candidate == "$cur"* ]] || continue
        _tresk_quote "${candidate:cur_start}"
        # Inside quotes readline would put its closing quote after this space.
        ((finished)) && [[ -z $cur_quote ]] && REPLY+=' '
        COMPREPLY+=("$REPLY")
    done
    # readline closes the quote after a lone match only when the text does
    # not already end in that quote character, and an escaped one (`say \"hi\"`)
    # does: close it here, or Enter leaves the shell waiting at its > prompt.
    if ((${#COMPREPLY[@]} == 1)) && [[ -n $cur_quote ]]; then
        COMPREPLY[0]+=$cur_quote
        ((!finished || BASH_VERSINFO[0] < 4)) || compopt +o nospace
    fi
    return 0
}

complete -o nospace -F _tresk tresk
