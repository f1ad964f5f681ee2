#!/usr/bin/env bash
# Starts a signed Tresk.app the way a user does and requires that it runs:
# through a symbolic link on the PATH (as the cask's), with a time limit (a
# Gatekeeper dialog nobody can answer must not hang the job), `--version`
# printing the expected line and `tresk list` ending with status 0.
#
# A signed bundle whose provisioning profile does not back its entitlements
# is killed by the system before main runs, with no output at all; when the
# program does not answer, the system log's AMFI lines of the last minutes
# are printed, which say why.
#
# usage: macos-launch-check.sh [--quarantine] BUNDLE VERSION_LINE
#   --quarantine  first marks every file of BUNDLE as downloaded (what a
#                 browser and Archive Utility leave on an unpacked zip) and
#                 requires Gatekeeper's approval (spctl --assess)
#   LAUNCH_TIMEOUT  seconds each run may take (default 60)
#
# Written for the bash 3.2 that macOS ships.
set -euo pipefail

quarantine=0
if [ "${1:-}" = --quarantine ]; then
  quarantine=1
  shift
fi
if [ $# -ne 2 ] || [ ! -d "$1" ]; then
  echo "usage: macos-launch-check.sh [--quarantine] BUNDLE VERSION_LINE" >&2
  exit 2
fi
bundle=$(cd "$1" && pwd)
expected=$2
limit=${LAUNCH_TIMEOUT:-60}
executable=$bundle/Contents/MacOS/tresk

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
ln -s "$executable" "$work/bin/tresk"

if [ "$quarantine" = 1 ]; then
  value="0081;$(printf '%x' "$(date +%s)");Safari;$(uuidgen 2>/dev/null || echo 0)"
  xattr -r -w com.apple.quarantine "$value" "$bundle"
  echo "quarantine attribute: $(xattr -p com.apple.quarantine "$executable")"
  spctl --assess --type execute --verbose=4 "$bundle"
fi

# why: prints what the system logged about the kill.
why() {
  echo "The system log's AMFI lines of the last 5 minutes:"
  log show --last 5m --style compact --predicate 'eventMessage CONTAINS "AMFI"' || true
  echo "A signed Tresk.app killed at launch holds entitlements its embedded provisioning profile does not back (another team or App ID, a certificate the profile does not list, a device the profile does not include); see BUILD.md, \"Troubleshooting: -34018, or killed at launch\"."
}

# launch ARGS...: runs `tresk ARGS` from the PATH, stdin /dev/null, for at
# most $limit seconds; sets status, out, err and timed_out.
launch() {
  rm -f "$work/timed-out"
  PATH=$work/bin:$PATH tresk "$@" </dev/null >"$work/out" 2>"$work/err" &
  local pid=$!
  (
    waited=0
    while kill -0 "$pid" 2>/dev/null; do
      if [ "$waited" -ge "$limit" ]; then
        : >"$work/timed-out"
        kill -KILL "$pid" 2>/dev/null || true
        exit 0
      fi
      sleep 1
      waited=$((waited + 1))
    done
  ) >/dev/null 2>&1 &
  local watcher=$!
  status=0
  wait "$pid" || status=$?
  wait "$watcher" 2>/dev/null || true
  timed_out=0
  [ ! -e "$work/timed-out" ] || timed_out=1
  out=$(cat "$work/out")
  err=$(cat "$work/err")
}

failed() {
  echo "FAILED: tresk $1: $2"
  echo "  status: $status"
  echo "  stdout: $out"
  echo "  stderr: $err"
  if [ "$timed_out" = 1 ]; then
    echo "  It did not finish within $limit seconds (a dialog waiting for an answer?)."
    why
  elif [ "$status" -gt 128 ]; then
    echo "  It was killed by signal $((status - 128))."
    why
  elif [ -z "$out$err" ]; then
    why
  fi
  exit 1
}

launch --version
if [ "$timed_out" = 1 ] || [ "$status" -ne 0 ] || [ "$out" != "$expected" ]; then
  failed --version "expected status 0 and \"$expected\""
fi
echo "ok: tresk --version: $out"

launch list
if [ "$timed_out" = 1 ] || [ "$status" -ne 0 ]; then
  failed list "expected status 0"
fi
echo "ok: tresk list: status 0, $(printf '%s' "$out" | grep -c '^' || true) item(s)"
