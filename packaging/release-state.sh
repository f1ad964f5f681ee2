#!/usr/bin/env bash
# Prints the state of the GitHub release of a tag: none, draft or published.
# A published release is never changed: its zip's SHA-256 is in the tap's
# cask, and new bytes under the same name would fail every brew install.
#
# usage: release-state.sh TAG OWNER/NAME     (gh, with GH_TOKEN set)
set -euo pipefail

if [ $# -ne 2 ]; then
  echo "usage: release-state.sh TAG OWNER/NAME" >&2
  exit 2
fi
err=$(mktemp)
trap 'rm -f "$err"' EXIT
if draft=$(gh release view "$1" --repo "$2" --json isDraft --jq .isDraft 2>"$err"); then
  case $draft in
    true) echo draft ;;
    false) echo published ;;
    *) echo "release-state.sh: unexpected answer from gh: $draft" >&2; exit 1 ;;
  esac
elif grep -q 'release not found' "$err"; then
  echo none
else
  # Anything else (no network, no permission) must not pass for "none".
  cat "$err" >&2
  exit 1
fi
