#!/bin/sh
# Signs the app bundle for the keychain entitlements. Those are restricted:
# they hold only with a provisioning profile inside the bundle, so the
# profile goes in before the signature seals the bundle.
#
# usage: sign.sh BUNDLE_DIR ENTITLEMENTS IDENTITY [PROFILE]
#   An empty PROFILE counts as none (the build passes its setting as it is).
set -eu

if [ $# -lt 3 ] || [ $# -gt 4 ]; then
  echo "usage: sign.sh BUNDLE_DIR ENTITLEMENTS IDENTITY [PROFILE]" >&2
  exit 2
fi
bundle=$1
entitlements=$2
identity=$3
profile=${4:-}

if [ -n "$profile" ]; then
  cp "$profile" "$bundle/Contents/embedded.provisionprofile"
fi
# The bundle has one executable, so signing the bundle signs it; no --deep.
codesign --force --sign "$identity" --options runtime --timestamp --entitlements "$entitlements" "$bundle"
codesign --verify --strict "$bundle"
