#!/usr/bin/env bash
# The acceptance run a maintainer makes on a Mac with Touch ID before a draft
# release is published: what no hosted runner can try, since it needs the
# team's provisioning profile, a finger on the sensor and eyes on the screen.
# From "1." on it reads top to bottom as the checklist it is:
#   1. the bundle is signed with the three entitlements and its profile, and
#      the program's own self-check agrees (else it is refused, with a line);
#   2. in a namespace named for the run, for each policy: add from a pipe, add
#      again, list in order, get (touch, cancel, and for userPresence the
#      password; a 1 MiB value holding every byte value comes back byte for
#      byte), delete, get the deleted item;
#   3. the launch-help dialog, opened as the Finder opens it: Copy and OK,
#      then the clipboard must hold the command for this bundle's path;
#   4. every item the run added is deleted, also when it is interrupted, and
#      a report (system, model, each step with the line seen) is printed and
#      written to a file to attach to the draft release.
#
# usage: macos-acceptance.sh [--simulated] APP
#   APP          the signed Tresk.app: the draft release's, unpacked from its
#                zip (BUILD.md, "Releasing", step 8), or a local signed build
#   --simulated  a dry run on Linux against the simulator's build: a
#                throwaway simulated store, each prompt answered through its
#                device.profile and checked in its prompts.log; the signature
#                and the dialog are skipped, with a line each
#   ACCEPTANCE_REPORT  the report's file (default: tresk-acceptance-DATE-PID.txt
#                in the current directory)
#
# Written for the bash 3.2 that macOS ships.
set -euo pipefail

simulated=0
if [ "${1:-}" = --simulated ]; then
  simulated=1
  shift
fi
if [ $# -ne 1 ] || [ ! -d "$1" ]; then
  echo "usage: macos-acceptance.sh [--simulated] APP" >&2
  exit 2
fi
app=$(cd "$1" && pwd -P)
exe=$app/Contents/MacOS/tresk
if [ ! -f "$exe" ] || [ ! -x "$exe" ]; then
  echo "macos-acceptance.sh: $app has no executable Contents/MacOS/tresk" >&2
  exit 2
fi
if [ "$simulated" = 0 ] && [ "$(uname -s)" != Darwin ]; then
  echo "macos-acceptance.sh: this is not a Mac; --simulated runs it against the simulator's build" >&2
  exit 2
fi
if [ "$simulated" = 0 ] && [ ! -t 0 ]; then
  echo "macos-acceptance.sh: it needs a person at the Mac; run it in Terminal, the keyboard as its input" >&2
  exit 2
fi

# The run's name is the namespace of every item it adds.
ns=tresk-acceptance-$(date +%Y%m%d-%H%M%S)-$$
report_file=${ACCEPTANCE_REPORT:-$PWD/$ns.txt}
started_at=$(date)
nl=$'\n'
tab=$'\t'
if [ "$simulated" = 1 ]; then
  system="$(uname -sr) $(uname -m), simulated platform"
  model="simulated Mac: Touch ID, an enrolled finger, a login password"
else
  system="macOS $(sw_vers -productVersion) ($(sw_vers -buildVersion)), $(uname -m)"
  model=$(sysctl -n hw.model)
fi

# The program's answers, exactly as common/messages.h writes them.
added_line='Key added successfully.'
exists_line='Error: Key already exists.'
canceled_line='Error: Authentication canceled.'
deleted_line='Key deleted successfully.'
not_found_line='Error: Key not found.'

# The order of the listing (NFC, then code point order; ASCII is byte order),
# on names this run adds, written here in that order: upper case before lower
# case; "-" < "/" < "0"; a name before its extensions; é spelled e and a
# combining accent, which sorts as the precomposed é, after z (byte order
# would put it before k); U+FF5E before U+1F600 (UTF-16 order would swap
# them). The policies' items fall in between.
policies='biometryAny biometryCurrentSet userPresence'
order=$(printf '%s\n' Zulu biometryAny biometryCurrentSet k k-x k/a k0 userPresence z \
  $'e\xcc\x81' $'\xef\xbd\x9e' $'\xf0\x9f\x98\x80')

# --- recording ---------------------------------------------------------------
passed=0
failed=0
skipped=0
# record PASS|FAIL|SKIP TEXT: one line of the report; result also shows it.
record() {
  printf '%-4s  %s\n' "$1" "$2" >>"$work/steps"
  case $1 in
    PASS) passed=$((passed + 1)) ;;
    FAIL) failed=$((failed + 1)) ;;
    SKIP) skipped=$((skipped + 1)) ;;
  esac
}
result() {
  record "$1" "$2"
  printf '%-4s  %s\n' "$1" "$2"
}

# say TEXT: an instruction to the maintainer.
say() {
  printf '  >> %s\n' "$1"
}

# ask QUESTION: true when the maintainer answers yes.
ask() {
  local reply
  while :; do
    printf '  ?? %s [y/n] ' "$1"
    read -r reply || return 1
    case $reply in
      y | Y | yes) return 0 ;;
      n | N | no) return 1 ;;
    esac
  done
}

# tresk_run INPUT ARGS...: `tresk ARGS` through the link on the PATH, with the
# file INPUT on a pipe as its standard input (none: /dev/null); sets status
# and leaves standard output and error in $work/out and $work/err.
tresk_run() {
  local input=$1
  shift
  status=0
  if [ -n "$input" ]; then
    # shellcheck disable=SC2002  # the value arrives on a pipe, as a user's does
    cat "$input" | tresk "$@" >"$work/out" 2>"$work/err" || status=$?
  else
    tresk "$@" </dev/null >"$work/out" 2>"$work/err" || status=$?
  fi
}

# seen: what the last run answered, in one line.
seen() {
  local lines
  lines=$(grep -c '' "$work/err" || true)
  printf 'status %s, stderr "%s"' "$status" "$(head -n 1 "$work/err" | cat -v)"
  if [ "$lines" -gt 1 ]; then
    printf ' and %s more line(s)' "$((lines - 1))"
  fi
  if [ -s "$work/out" ]; then
    printf ', stdout %s bytes' "$(($(wc -c <"$work/out")))"
  fi
}

# expect WHAT STATUS LINE: the last run ended with STATUS, wrote nothing to
# standard output and exactly LINE to standard error.
expect() {
  if [ "$status" -eq "$2" ] && [ ! -s "$work/out" ] && printf '%s\n' "$3" | cmp -s - "$work/err"; then
    result PASS "$1: $3"
  else
    result FAIL "$1: expected status $2 and \"$3\"; seen $(seen)"
  fi
}

# refuse TEXT: the bundle cannot be accepted; nothing has been added yet.
refuse() {
  record FAIL "refused: $1"
  echo "macos-acceptance.sh: refused: $1" >&2
  exit 1
}

# --- the items this run added, and their removal -----------------------------
tried=$nl    # every name this run tried to add: the clean-up deletes these
present=$nl  # the names stored now: what list must show
started=0
remember() {
  case $tried in *"$nl$1$nl"*) ;; *) tried=$tried$1$nl ;; esac
}
stored() {
  present=$present$1$nl
}
gone() {
  local key rest=$nl
  while IFS= read -r key; do
    if [ -n "$key" ] && [ "$key" != "$1" ]; then rest=$rest$key$nl; fi
  done <<EOF
$present
EOF
  present=$rest
}

# own_names: the lines of this run's namespace, from a listing on stdin.
own_names() {
  local line
  while IFS= read -r line; do
    case $line in "$ns"/*) printf '%s\n' "$line" ;; esac
  done
}

clean_up() {
  local key deleted=0 left
  [ "$started" = 1 ] || return 0
  while IFS= read -r key; do
    [ -n "$key" ] || continue
    tresk_run '' delete "$ns/$key"
    if [ "$status" -eq 0 ]; then
      deleted=$((deleted + 1))
    elif [ "$status" -ne 1 ] || ! printf '%s\n' "$not_found_line" | cmp -s - "$work/err"; then
      result FAIL "clean-up: delete NS/$key: $(seen)"
    fi
  done <<EOF
$tried
EOF
  tresk_run '' list
  left=$(own_names <"$work/out" | tr '\n' ' ')
  if [ "$status" -ne 0 ]; then
    result FAIL "clean-up: $deleted item(s) deleted, then list: $(seen)"
  elif [ -n "$left" ]; then
    result FAIL "clean-up: left in the Keychain (tresk delete each): $left"
  else
    result PASS "clean-up: $deleted item(s) deleted; list shows none of NS"
  fi
}

interrupted=
finish() {
  local code=$?
  trap '' INT TERM HUP
  if [ -n "$interrupted" ]; then
    result FAIL "interrupted by $interrupted"
  fi
  clean_up
  {
    echo "Tresk acceptance run $ns"
    echo "app:     $app"
    echo "NS:      $ns, the namespace of the run's items"
    echo "version: ${version_line:-unknown}"
    echo "system:  $system"
    echo "model:   $model"
    echo "date:    $started_at"
    cat "$work/steps"
    echo "$passed passed, $failed failed, $skipped skipped"
  } >"$work/report"
  printf '\n----- report -----\n'
  cat "$work/report"
  if cp "$work/report" "$report_file"; then
    echo "Written to $report_file: attach it to the draft release (BUILD.md, \"Releasing\")."
  fi
  rm -rf "$work"
  if [ "$failed" -ne 0 ] && [ "$code" -eq 0 ]; then code=1; fi
  exit "$code"
}

# --- how a prompt is answered and checked ------------------------------------
# before_prompt HOW NAME: on the Mac, what the prompt must show and what to
# do (touch, cancel, password, none); simulated, the answer goes into the
# device profile.
before_prompt() {
  if [ "$simulated" = 1 ]; then
    prompts_before=0
    if [ -f "$prompts_log" ]; then prompts_before=$(($(wc -l <"$prompts_log"))); fi
    case $1 in
      cancel) printf 'answer = cancel\n' >"$device_profile" ;;
      *) printf 'answer = approve\n' >"$device_profile" ;;
    esac
    return 0
  fi
  case $1 in
    touch) say "get $2: a prompt says \"Unlock $2\" and asks for Touch ID. Touch the sensor." ;;
    cancel) say "get $2 again: the same prompt. Press Cancel." ;;
    password) say "get $2 once more: in the prompt choose the password (\"Use Password...\") and type your login password." ;;
    none) say "get $2, which is deleted: no prompt may appear." ;;
  esac
}

# after_prompt HOW NAME KIND: the prompt named the item (KIND: the simulator's
# touch-id or touch-id-or-password, or none).
after_prompt() {
  local how=$1 name=$2 kind=$3 shown=NS/${2#"$ns"/} new=
  if [ "$simulated" = 1 ]; then
    if [ -f "$prompts_log" ]; then new=$(tail -n +"$((prompts_before + 1))" "$prompts_log"); fi
    if [ "$kind" = none ] && [ -z "$new" ]; then
      result PASS "prompt for get $shown ($how): none"
    elif [ "$kind" != none ] && [ "$new" = "$kind$tab""Unlock $name" ]; then
      result PASS "prompt for get $shown ($how): $kind \"Unlock $shown\""
    else
      result FAIL "prompt for get $shown ($how): expected $kind \"Unlock $shown\"; prompts.log: \"$(printf '%s' "$new" | cat -vt | tr '\n' '|')\""
    fi
    return 0
  fi
  local question="Did the prompt say \"Unlock $name\""
  case $how in
    touch) question="$question and ask for Touch ID?" ;;
    cancel) question="$question?" ;;
    password) question="$question and take your login password?" ;;
    none) return 0 ;;
  esac
  if ask "$question"; then
    result PASS "prompt for get $shown ($how): the maintainer saw \"Unlock $shown\""
  else
    result FAIL "prompt for get $shown ($how): the maintainer answered no to: $question"
  fi
}

# get_item KEY HOW KIND: reads the item with the prompt answered HOW.
get_item() {
  local key=$1 how=$2 kind=$3 name=$ns/$1 difference
  before_prompt "$how" "$name"
  tresk_run '' get "$name"
  case $how in
    cancel) expect "get NS/$key ($how)" 1 "$canceled_line" ;;
    none) expect "get NS/$key ($how)" 1 "$not_found_line" ;;
    *)
      if [ "$status" -eq 0 ] && [ ! -s "$work/err" ] && cmp -s "$work/$key.value" "$work/out"; then
        result PASS "get NS/$key ($how): the value, byte for byte ($(($(wc -c <"$work/out"))) bytes)"
      else
        difference=$(cd "$work" && cmp "$key.value" out 2>&1) || true
        result FAIL "get NS/$key ($how): expected status 0 and the $(($(wc -c <"$work/$key.value"))) bytes stored; seen $(seen); $difference"
      fi ;;
  esac
  after_prompt "$how" "$name" "$kind"
}

# check_list: list shows exactly the names of this run that are stored, in order.
check_list() {
  local key expected='' listed
  while IFS= read -r key; do
    case $present in *"$nl$key$nl"*) expected=$expected$ns/$key$nl ;; esac
  done <<EOF
$order
EOF
  expected=${expected%"$nl"}
  tresk_run '' list
  listed=$(own_names <"$work/out")
  if [ "$status" -eq 0 ] && [ ! -s "$work/err" ] && [ "$listed" = "$expected" ]; then
    result PASS "list: this run's names in order: $(printf '%s' "${expected//$ns\//}" | tr '\n' ' ')"
  else
    result FAIL "list: expected, of this run's names: $(printf '%s' "${expected//$ns\//}" | tr '\n' ' '); seen: $(printf '%s' "${listed//$ns\//}" | tr '\n' ' '); $(seen)"
  fi
}

# The command the dialog offers for an executable path and a home directory
# (launchhelp/symlink_command.cpp): the part below the home as ~/..., quoted
# for the shell unless it holds only letters, digits and _ . / -.
symlink_command() {
  local candidate=$1 tilde='' quote="'\"'\"'"
  case $1 in "$2"/*)
    candidate=${1#"$2"/}
    # shellcheck disable=SC2088  # text for the shell it is pasted into
    tilde='~/' ;;
  esac
  case $candidate in
    '' | *[!ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_./-]*)
      candidate="'${candidate//\'/$quote}'" ;;
  esac
  printf 'ln -s %s%s ~/.local/bin/tresk' "$tilde" "$candidate"
}

# system_path DIR: DIR with its links resolved as the system resolves the
# paths the dialog shows: no leading /private where the shorter path exists
# (/tmp, /var).
system_path() {
  local path
  path=$(cd -P "$1" && pwd -P)
  case $path in /private/*) if [ -e "${path#/private}" ]; then path=${path#/private}; fi ;; esac
  printf '%s' "$path"
}

# Every value: its item's name, every byte value, random bytes, a final line
# feed; 1 MiB in all, so no item can pass for another and no byte is lost.
make_value() {
  local name=$ns/$1
  {
    printf '%s\n' "$name"
    cat "$work/bytes"
    head -c $((1048576 - ${#name} - 1 - 256 - 1)) /dev/urandom
    printf '\n'
  } >"$work/$1.value"
  if [ "$(($(wc -c <"$work/$1.value")))" -ne 1048576 ]; then
    echo "macos-acceptance.sh: this shell made a value of $(($(wc -c <"$work/$1.value"))) bytes, not 1 MiB" >&2
    exit 1
  fi
}

# --- set-up ------------------------------------------------------------------
work=$(mktemp -d)
mkdir "$work/bin"
ln -s "$exe" "$work/bin/tresk"
PATH=$work/bin:$PATH
: >"$work/steps"
trap finish EXIT
trap 'interrupted=SIGINT; exit 130' INT
trap 'interrupted=SIGTERM; exit 143' TERM
trap 'interrupted=SIGHUP; exit 129' HUP

# Every byte value, written as octal escapes that printf turns into bytes.
# shellcheck disable=SC2059
printf "$(printf '\\%03o' {0..255})" >"$work/bytes"

if [ "$simulated" = 1 ]; then
  # A store of this run's own; the user answers through the device profile.
  export XDG_DATA_HOME=$work/data
  mkdir -m 700 "$XDG_DATA_HOME" "$XDG_DATA_HOME/tresk-simulator"
  device_profile=$XDG_DATA_HOME/tresk-simulator/device.profile
  prompts_log=$XDG_DATA_HOME/tresk-simulator/prompts.log
  printf 'answer = approve\n' >"$device_profile"
fi

# --- 1. the signature, the launch, the self-check ----------------------------
echo "Acceptance run $ns of $app"
if [ "$simulated" = 1 ]; then
  result SKIP "signature: the simulator's build is not signed (on a Mac: codesign --verify --strict, the three entitlements, the embedded profile)"
else
  # plist FILE KEY[:KEY...]: a value; PlistBuddy's path needs no escaping
  # for the dots in the entitlements' names, and says its errors on stdout.
  plist() {
    local value
    value=$(/usr/libexec/PlistBuddy -c "Print :$2" "$1" 2>/dev/null) || return 1
    printf '%s\n' "$value"
  }
  if ! codesign --verify --strict "$app" 2>"$work/err"; then
    refuse "$app is not signed, or its seal is broken: $(head -n 1 "$work/err"). Build it signed and provisioned (BUILD.md, \"macOS: build, sign, provision\")."
  fi
  if ! codesign -d --entitlements - --xml "$app" >"$work/entitlements.plist" 2>/dev/null; then
    codesign -d --entitlements :- "$app" >"$work/entitlements.plist" 2>/dev/null || true
  fi
  application_id=$(plist "$work/entitlements.plist" com.apple.application-identifier || true)
  team=$(plist "$work/entitlements.plist" com.apple.developer.team-identifier || true)
  group=$(plist "$work/entitlements.plist" keychain-access-groups:0 || true)
  bundle_id=$(plist "$app/Contents/Info.plist" CFBundleIdentifier || true)
  if [ -z "$application_id" ] || [ -z "$team" ] || [ -z "$group" ]; then
    refuse "$app is signed without the keychain entitlements (ad hoc, or without the entitlements file): application-identifier \"$application_id\", team-identifier \"$team\", keychain-access-groups \"$group\""
  fi
  if [ "$application_id" != "$team.$bundle_id" ] || [ "$group" != "$application_id" ] ||
     plist "$work/entitlements.plist" keychain-access-groups:1 >/dev/null; then
    refuse "the entitlements do not fit the bundle $bundle_id: application-identifier $application_id, team-identifier $team, keychain-access-groups must be [$team.$bundle_id] alone"
  fi
  if [ ! -f "$app/Contents/embedded.provisionprofile" ]; then
    refuse "$app has no Contents/embedded.provisionprofile: macOS kills it at launch"
  fi
  if ! security cms -D -i "$app/Contents/embedded.provisionprofile" >"$work/profile.plist" 2>"$work/err"; then
    refuse "the embedded profile cannot be decoded: $(head -n 1 "$work/err")"
  fi
  profile_team=$(plist "$work/profile.plist" TeamIdentifier:0 || true)
  profile_id=$(plist "$work/profile.plist" Entitlements:com.apple.application-identifier || true)
  if [ "$profile_team" != "$team" ] || [ "$profile_id" != "$application_id" ]; then
    refuse "the embedded profile is for team \"$profile_team\" and App ID \"$profile_id\", the signature for $team and $application_id"
  fi
  result PASS "signature: valid; entitlements $application_id, team $team, keychain-access-groups [$group]; profile \"$(plist "$work/profile.plist" Name || true)\" of team $profile_team"
fi

tresk_run '' --version
version_line=$(cat "$work/out")
if [ "$status" -gt 128 ]; then
  refuse "tresk --version was killed by signal $((status - 128)): the profile does not back the entitlements (log show --last 5m --predicate 'eventMessage CONTAINS \"AMFI\"' says why; BUILD.md, \"Troubleshooting\")"
elif [ "$status" -ne 0 ]; then
  refuse "tresk --version: $(seen)"
fi
result PASS "tresk --version: $version_line"

# The program asks its own signature for keychain-access-groups before every
# item call and answers -34018 without it.
tresk_run '' list
if grep -q -- '-34018' "$work/err"; then
  refuse "the program's self-check finds no keychain-access-groups entitlement: $(head -n 1 "$work/err")"
elif [ "$status" -ne 0 ] || [ -s "$work/err" ]; then
  refuse "tresk list: $(seen)"
elif [ -n "$(own_names <"$work/out")" ]; then
  refuse "the namespace $ns holds items already"
fi
result PASS "self-check: tresk list answers status 0 (the signature carries keychain-access-groups)"

if [ "$simulated" = 0 ]; then
  echo
  echo "This run adds items under \"$ns/\" and deletes them at the end, also on Ctrl-C."
  echo "Each item is read three or four times: you touch the sensor, cancel, or type your password,"
  echo "as the lines marked >> say, and answer the questions marked ??. The last step empties"
  echo "the clipboard and opens the app's dialog."
  printf 'Press Return to begin. '
  read -r _ || exit 1
fi

# --- 2. each policy ----------------------------------------------------------
started=1
fault=
count=0
for key in $order; do
  case " $policies " in *" $key "*) continue ;; esac
  count=$((count + 1))
  printf '%s' "$key" >"$work/name.value"
  remember "$key"
  tresk_run "$work/name.value" add "$ns/$key"
  if [ "$status" -eq 0 ] && [ ! -s "$work/out" ] && printf '%s\n' "$added_line" | cmp -s - "$work/err"; then
    stored "$key"
  elif [ -z "$fault" ]; then
    fault="add NS/$key: $(seen)"
  fi
done
if [ -z "$fault" ]; then
  result PASS "add, default policy, of the names for the order: $count names, each \"$added_line\""
else
  result FAIL "add, default policy, of the names for the order: $fault"
fi

for policy in $policies; do
  name=$ns/$policy
  kind=touch-id
  if [ "$policy" = userPresence ]; then kind=touch-id-or-password; fi
  make_value "$policy"

  remember "$policy"
  tresk_run "$work/$policy.value" add "$name" --policy "$policy"
  expect "add NS/$policy --policy $policy (1 MiB from a pipe)" 0 "$added_line"
  if [ "$status" -eq 0 ]; then stored "$policy"; fi
  tresk_run "$work/$policy.value" add "$name" --policy "$policy"
  expect "add NS/$policy again" 1 "$exists_line"
  check_list

  get_item "$policy" touch "$kind"
  get_item "$policy" cancel "$kind"
  if [ "$policy" = userPresence ]; then
    get_item "$policy" password "$kind"
  fi

  tresk_run '' delete "$name"
  expect "delete NS/$policy" 0 "$deleted_line"
  if [ "$status" -eq 0 ]; then gone "$policy"; fi
  get_item "$policy" none none
done

# --- 3. the dialog -----------------------------------------------------------
command=$(symlink_command "$(system_path "$app/Contents/MacOS")/tresk" "$(system_path "$HOME")")
if [ "$simulated" = 1 ]; then
  result SKIP "dialog: no desktop here (on a Mac: open, Copy, OK; the clipboard must hold: $command)"
else
  echo
  say "The app's dialog opens now, as from the Finder. It must show \"$version_line\" and the command"
  say "    $command"
  say "with a Copy button. Press Copy (it turns into \"Copied\"), then OK. If it asks instead to move"
  say "Tresk.app to Applications, it runs from a translocated copy: press OK, move it with the Finder, run again."
  pbcopy </dev/null
  if open -W "$app"; then
    pasted=$(pbpaste; printf .)
    pasted=${pasted%.}
    if [ "$pasted" = "$command" ]; then
      result PASS "dialog: Copy put on the clipboard: $command"
    else
      result FAIL "dialog: expected the clipboard to hold \"$command\"; seen \"$(printf '%s' "$pasted" | cat -vt)\""
    fi
    if ask "Did the dialog show \"$version_line\" and that command, and did Copy turn into \"Copied\"?"; then
      result PASS "dialog: the maintainer saw the version line, the command and \"Copied\""
    else
      result FAIL "dialog: the maintainer answered no: the version line, the command or \"Copied\" was not as said"
    fi
  else
    result FAIL "dialog: open $app failed"
  fi
fi
