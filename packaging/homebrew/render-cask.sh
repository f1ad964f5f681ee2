#!/bin/sh
# Writes the Homebrew cask for one release to standard output.
#
# usage: render-cask.sh VERSION SHA256 [OWNER/NAME]
#   VERSION     X.Y.Z, as in the tag vX.Y.Z and CFBundleShortVersionString
#   SHA256      of Tresk-VERSION.zip, 64 lowercase hex digits
#   OWNER/NAME  the GitHub repository whose release holds the zip
#               (default: tresk/tresk)
set -eu

if [ $# -lt 2 ] || [ $# -gt 3 ]; then
  echo "usage: render-cask.sh VERSION SHA256 [OWNER/NAME]" >&2
  exit 2
fi
version=$1
sha256=$2
repository=${3:-tresk/tresk}

# The values land inside Ruby strings and a URL: refuse anything that could
# change the cask's meaning rather than escape it.
if ! printf '%s\n' "$version" | grep -Eqx '[0-9]+\.[0-9]+\.[0-9]+'; then
  echo "render-cask.sh: version '$version' is not X.Y.Z" >&2
  exit 1
fi
if ! printf '%s\n' "$sha256" | grep -Eqx '[0-9a-f]{64}'; then
  echo "render-cask.sh: '$sha256' is not a SHA-256 (64 lowercase hex digits)" >&2
  exit 1
fi
if ! printf '%s\n' "$repository" | grep -Eqx '[A-Za-z0-9_.-]+/[A-Za-z0-9_.-]+'; then
  echo "render-cask.sh: repository '$repository' is not OWNER/NAME" >&2
  exit 1
fi

template=$(dirname "$0")/tresk.rb.in
cask=$(sed -e "s|@VERSION@|$version|g" -e "s|@SHA256@|$sha256|g" \
           -e "s|@REPOSITORY@|$repository|g" "$template")
case $cask in
  *@[A-Z0-9]*@*)
    echo "render-cask.sh: $template has a placeholder this script does not fill" >&2
    exit 1 ;;
esac
printf '%s\n' "$cask"
