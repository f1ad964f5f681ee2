#!/bin/sh
# Packs a built bundle for a release: OUTDIR/Tresk-VERSION.zip with
# Tresk.app at its top, OUTDIR/Tresk-VERSION.zip.sha256 and the Homebrew cask
# OUTDIR/tresk.rb that points at the zip.
#
# usage: package.sh BUNDLE VERSION OUTDIR [OWNER/NAME]
#   BUNDLE      path to Tresk.app (signed, notarized and stapled for a release)
#   VERSION     X.Y.Z
#   OWNER/NAME  the GitHub repository the cask downloads from (render-cask.sh)
set -eu

if [ $# -lt 3 ] || [ $# -gt 4 ]; then
  echo "usage: package.sh BUNDLE VERSION OUTDIR [OWNER/NAME]" >&2
  exit 2
fi
bundle=${1%/}
version=$2
outdir=$3
here=$(cd "$(dirname "$0")" && pwd)

# The cask installs "Tresk.app" and links its executable; a zip of anything
# else would install a broken cask.
if [ "$(basename "$bundle")" != Tresk.app ]; then
  echo "package.sh: $bundle is not a Tresk.app" >&2
  exit 1
fi
if [ ! -x "$bundle/Contents/MacOS/tresk" ] || [ ! -f "$bundle/Contents/Info.plist" ]; then
  echo "package.sh: $bundle has no executable Contents/MacOS/tresk and Contents/Info.plist" >&2
  exit 1
fi
if ! printf '%s\n' "$version" | grep -Eqx '[0-9]+\.[0-9]+\.[0-9]+'; then
  echo "package.sh: version '$version' is not X.Y.Z" >&2
  exit 1
fi

mkdir -p "$outdir"
outdir=$(cd "$outdir" && pwd)
name=Tresk-$version.zip
zip=$outdir/$name
# zip adds to an existing archive; a stale entry must not ship.
rm -f "$zip" "$zip.sha256" "$outdir/tresk.rb"

if command -v ditto >/dev/null 2>&1; then
  # macOS: ditto keeps all that the signature covers (modes, links,
  # extended attributes).
  ditto -c -k --keepParent "$bundle" "$zip"
else
  # Elsewhere (Linux builds and CI): symbolic links stored as links, modes kept.
  (cd "$(dirname "$bundle")" && zip -qry "$zip" Tresk.app)
fi

if command -v sha256sum >/dev/null 2>&1; then
  (cd "$outdir" && sha256sum "$name") >"$zip.sha256"
else
  (cd "$outdir" && shasum -a 256 "$name") >"$zip.sha256"
fi
sha256=$(cut -d ' ' -f 1 "$zip.sha256")

# Written only once rendered: a refused value leaves no cask behind.
cask=$("$here/homebrew/render-cask.sh" "$version" "$sha256" ${4:+"$4"})
printf '%s\n' "$cask" >"$outdir/tresk.rb"

printf '%s\n' "$zip" "$zip.sha256" "$outdir/tresk.rb"
