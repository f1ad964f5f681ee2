#!/usr/bin/env bash
# The unsigned release executable on a real Mac, run as a user runs it: as
# `tresk` from PATH, through a link like the one the cask makes. --version
# and --help need no platform; get, delete and list reach the real Security
# framework, which refuses an executable without the keychain entitlements
# (-34018) and gives its own text for that; add asks LocalAuthentication for
# Touch ID first. Every answer is compared exactly, and one that differs is
# printed in full (status, stdout, stderr) and fails the run.
#
# usage: macos-smoke.sh EXECUTABLE
#   The revision expected in the version line is $GITHUB_SHA, else the
#   checkout's HEAD. packaging/check.sh also runs this on Linux, against the
#   simulated platform, to show that the comparisons catch a wrong answer.
#
# Written for the bash 3.2 that macOS ships.
set -euo pipefail

if [ $# -ne 1 ]; then
  echo "usage: macos-smoke.sh EXECUTABLE" >&2
  exit 2
fi
if [ ! -f "$1" ] || [ ! -x "$1" ]; then
  echo "macos-smoke.sh: $1 is not an executable file" >&2
  exit 2
fi
executable=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
plist=$(dirname "$(dirname "$executable")")/Info.plist
commit=${GITHUB_SHA:-$(git rev-parse HEAD)}

plist_text() {
  if command -v plutil >/dev/null 2>&1; then
    plutil -extract "$1" raw -o - "$plist"
  else
    python3 -c 'import plistlib, sys; print(plistlib.load(open(sys.argv[1], "rb"))[sys.argv[2]])' "$plist" "$1"
  fi
}
version=$(plist_text CFBundleShortVersionString)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
ln -s "$executable" "$work/bin/tresk"
PATH=$work/bin:$PATH

echo "smoke run of $executable on $(uname -srm)"
if command -v sw_vers >/dev/null 2>&1; then
  echo "macOS $(sw_vers -productVersion)"
fi

nl=$'\n'
checks=0
failures=0

# run INPUT ARGS...: runs `tresk ARGS` with INPUT on a pipe as standard input
# (no input: /dev/null) and sets status, out and err, trailing line feeds kept.
run() {
  local input=$1
  shift
  status=0
  if [ -n "$input" ]; then
    shown="printf $input | tresk $*"
    tresk "$@" < <(printf '%s' "$input") >"$work/out" 2>"$work/err" || status=$?
  else
    shown="tresk $*"
    tresk "$@" </dev/null >"$work/out" 2>"$work/err" || status=$?
  fi
  out=$(cat "$work/out"; printf .)
  out=${out%.}
  err=$(cat "$work/err"; printf .)
  err=${err%.}
  checks=$((checks + 1))
}

show() {
  if [ -z "$2" ]; then
    printf '  %s: (empty)\n' "$1"
    return
  fi
  printf '  %s:\n' "$1"
  printf '%s' "$2" | cat -v | awk '{ print "    | " $0 }'
  case $2 in
    *"$nl") ;;
    *) printf '    (no line feed at the end)\n' ;;
  esac
}

passed() {
  printf 'ok: %s%s\n' "$shown" "${1:+ ($1)}"
}

failed() {
  failures=$((failures + 1))
  printf 'FAILED: %s\n  expected: %s\n  status: %s\n' "$shown" "$1" "$status"
  show stdout "$out"
  show stderr "$err"
}

# one_line REGEX: stderr is exactly one line, and the line matches REGEX.
one_line() {
  case $err in *"$nl") ;; *) return 1 ;; esac
  local line=${err%"$nl"}
  case $line in *"$nl"*) return 1 ;; esac
  [[ $line =~ $1 ]]
}

hint='; run the signed executable inside its provisioned \.app bundle \(see BUILD\.md\)'
missing_entitlement() {
  printf '^Error: %s \\(-34018: .+\\)%s$' "$1" "$hint"
}

expected_version="Tresk $version (${commit:0:7})"
run '' --version
if [ "$status" -eq 0 ] && [ "$out" = "$expected_version$nl" ] && [ -z "$err" ]; then
  passed
else
  failed "status 0, stdout \"$expected_version\" and a line feed, stderr empty"
fi

usage_line='Usage: tresk COMMAND [ARGS]'
run '' --help
help=$out
if [ "$status" -eq 0 ] && [[ $out == "$usage_line$nl"* ]] && [ -z "$err" ]; then
  passed
else
  failed "status 0, stdout starting with the line \"$usage_line\", stderr empty"
fi

run '' get
if [ "$status" -eq 1 ] && [ -z "$out" ] && [ "$err" = "$help" ] && [[ $err == "$usage_line$nl"* ]]; then
  passed
else
  failed "status 1, stdout empty, stderr what --help printed"
fi

for case in 'get|Failed to retrieve value\.' 'delete|Failed to delete key\.' 'list|Failed to list keys\.'; do
  command=${case%%|*}
  message=${case#*|}
  if [ "$command" = list ]; then
    run '' list
  else
    run '' "$command" ci/smoke
  fi
  if [ "$status" -eq 1 ] && [ -z "$out" ] && one_line "$(missing_entitlement "$message")"; then
    passed
  else
    failed "status 1, stdout empty, stderr one line: Error: ${message//\\/} (-34018: ...); run the signed executable inside its provisioned .app bundle (see BUILD.md)"
  fi
done

run x add ci/smoke
if [ "$status" -eq 1 ] && [ -z "$out" ] && one_line '^Error: biometryAny unavailable: .+$'; then
  passed "no Touch ID: LocalAuthentication refused before the Keychain was asked"
elif [ "$status" -eq 1 ] && [ -z "$out" ] && one_line "$(missing_entitlement 'Failed to add key\.')"; then
  passed "Touch ID available: the Keychain refused the unsigned executable"
else
  failed "status 1, stdout empty, stderr one line: Error: biometryAny unavailable: ... or Error: Failed to add key. (-34018: ...); run the signed executable inside its provisioned .app bundle (see BUILD.md)"
fi

if [ "$failures" -ne 0 ]; then
  echo "smoke run: $failures of $checks answers differ from what a Mac must give" >&2
  exit 1
fi
echo "smoke run: all $checks answers as expected"
