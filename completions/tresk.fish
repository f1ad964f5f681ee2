# fish completion for tresk: the command words, --policy after
# `add NAMESPACE/KEY` and the policy names after it, the NAMESPACE/KEY of
# stored items for get and delete, and the stored namespaces for add. The
# names come from `tresk list`, which shows no prompt and never prints a
# value; nothing here runs `tresk get`.

# True when the arguments before the cursor are exactly $argv[1] in number
# and, if more is given, the command word is one of the rest.
function __tresk_at
    set -l tokens (commandline -opc)
    test (count $tokens) -eq (math $argv[1] + 1); or return 1
    set -q argv[2]; or return 0
    contains -- (string lower -- $tokens[2]) $argv[2..-1]
end

function __tresk_after_policy
    set -l tokens (commandline -opc)
    test (count $tokens) -eq 4
    and test (string lower -- $tokens[2]) = add
    and test $tokens[4] = --policy
end

complete -c tresk -f

complete -c tresk -n '__tresk_at 0' -a add -d 'Store standard input as the value of NAMESPACE/KEY'
complete -c tresk -n '__tresk_at 0' -a get -d 'Write the value of NAMESPACE/KEY to standard output'
complete -c tresk -n '__tresk_at 0' -a delete -d 'Remove NAMESPACE/KEY'
complete -c tresk -n '__tresk_at 0' -a list -d 'List every stored NAMESPACE/KEY'
complete -c tresk -n '__tresk_at 0' -l help -d 'Show the usage text'
complete -c tresk -n '__tresk_at 0' -l version -d 'Show the version line'

# A stored name would only be refused by add: offer its namespaces, `work/`.
# fish adds no space after what it inserts when that ends in a slash, but
# when the word is a whole namespace already nothing is inserted and a space
# follows; so once the word holds a slash (the namespace is typed) there is
# nothing to offer.
function __tresk_namespaces
    set -l word (commandline -ct)
    string match -q -- '*/*' "$word"; and return
    command tresk list 2>/dev/null </dev/null | string match -r '^[^/]+/' | sort -u
end

complete -c tresk -n '__tresk_at 1 get delete' -a '(command tresk list 2>/dev/null </dev/null)'
complete -c tresk -n '__tresk_at 1 add' -a '(__tresk_namespaces)'

complete -c tresk -n '__tresk_at 2 add' -l policy -d 'What reading the value asks of the user'
complete -c tresk -n __tresk_after_policy -a biometryAny -d 'Touch ID; survives enrollment changes (default)'
complete -c tresk -n __tresk_after_policy -a biometryCurrentSet -d 'Touch ID; enrollment changes invalidate access'
complete -c tresk -n __tresk_after_policy -a userPresence -d 'Touch ID or Mac login password'
