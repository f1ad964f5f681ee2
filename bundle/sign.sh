#!/bin/sh
# Signs the app bundle for the keychain entitlements. Those are restricted:
# they hold only with a provisioning profile inside the bundle, and a program
# signed with them but without a matching profile is killed by the system
# before main runs, with no message. So the profile goes in before the
# signature seals the bundle, and signing without one is refused.
#
# usage: sign.sh BUNDLE_DIR ENTITLEMENTS IDENTITY PROFILE
#   The build passes its settings as they are, empty ones included.
#   IDENTITY "-" signs ad hoc: ENTITLEMENTS and PROFILE must be empty, and a
#   profile left in the bundle by an earlier signature is removed. The seal
#   then covers the bundle, and the Keychain answers -34018 as it does for an
#   unsigned build.
set -eu

if [ $# -ne 4 ]; then
  echo "usage: sign.sh BUNDLE_DIR ENTITLEMENTS IDENTITY PROFILE" >&2
  exit 2
fi
bundle=$1
entitlements=$2
identity=$3
profile=$4
embedded=$bundle/Contents/embedded.provisionprofile

if [ -z "$identity" ]; then
  echo "sign.sh: no signing identity (TRESK_SIGN_IDENTITY)" >&2
  exit 1
fi

if [ "$identity" = - ]; then
  if [ -n "$entitlements" ] || [ -n "$profile" ]; then
    echo "sign.sh: an ad-hoc signature cannot carry the keychain entitlements (macOS kills such a program at launch); pass no entitlements and no profile" >&2
    exit 1
  fi
  # A profile of an earlier signature would be sealed in and mislead
  # whoever inspects the bundle.
  rm -f "$embedded"
  codesign --force --sign - --options runtime --timestamp=none "$bundle"
  codesign --verify --strict "$bundle"
  exit 0
fi

if [ -z "$profile" ]; then
  echo "sign.sh: no provisioning profile for \"$identity\". Signed with the keychain entitlements but without a profile, Tresk.app is killed by macOS at launch. Set TRESK_PROVISIONING_PROFILE to the profile's path (BUILD.md, \"macOS: build, sign, provision\")." >&2
  exit 1
fi
if [ ! -f "$profile" ]; then
  echo "sign.sh: TRESK_PROVISIONING_PROFILE: no such file: $profile" >&2
  exit 1
fi
if [ -z "$entitlements" ] || [ ! -f "$entitlements" ]; then
  echo "sign.sh: no entitlements file: '$entitlements'" >&2
  exit 1
fi

cp "$profile" "$embedded"
# The bundle has one executable, so signing the bundle signs it; no --deep.
codesign --force --sign "$identity" --options runtime --timestamp --entitlements "$entitlements" "$bundle"
codesign --verify --strict "$bundle"
