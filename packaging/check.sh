#!/usr/bin/env bash
# The release pipeline's parts that run here, on Linux:
# - package.sh on a built bundle: the zip unpacks to a working Tresk.app with
#   the man page and completions in Contents/Resources, the checksum file
#   verifies, the cask points at that zip, that executable and those files;
#   and bad input is refused rather than packed;
# - both workflows parse, their run steps pass shellcheck, and they keep the
#   pipeline's rules (workflow_run_steps.py: read-only top-level permissions,
#   actions pinned to commits, no persisted credentials, secrets only in the
#   steps that use them and tested for presence first); a planted fault of
#   each kind is refused;
# - sign.sh, with a stand-in codesign: no signature without a profile, and no
#   stale profile under an ad-hoc one;
# - macos-smoke.sh against the simulated platform: it passes on the answers a
#   Mac gives an unsigned executable and fails on any other; and
#   macos-launch-check.sh, with stand-ins for the macOS tools: a program that
#   is killed, hangs or fails is reported, with the system's reason.
# - the scripts written for the Mac's bash 3.2 pass shellcheck and parse
#   under a bash 3.2 where one is found; macos-acceptance.sh --simulated goes
#   through every step on the simulated platform, fails on a planted fault
#   (a value changed, a cancel ignored, a prompt missing, the order wrong, a
#   wrong status, an item left) and, interrupted, deletes every item it added.
#
# usage: check.sh BUNDLE        (a built Tresk.app, e.g. build/release/Tresk.app)
set -euo pipefail

if [ $# -ne 1 ] || [ ! -d "$1" ]; then
  echo "usage: check.sh BUNDLE" >&2
  exit 2
fi
bundle=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
top=$(dirname "$here")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Debian's Python, the one python3-yaml serves, ahead of any other on PATH.
python=/usr/bin/python3
[ -x "$python" ] || python=python3

failures=0
fail() {
  echo "check: $*" >&2
  failures=$((failures + 1))
}

# --- package.sh on the built bundle --------------------------------------
version=9.8.7
repository=example/tresk-check
dist=$tmp/dist
zip=$dist/Tresk-$version.zip
"$here/package.sh" "$bundle" "$version" "$dist" "$repository" >/dev/null

# What the cask links from inside the bundle, and the file each must be.
resources=(tresk.1:doc/tresk.1 tresk.bash:completions/tresk.bash
           _tresk:completions/_tresk tresk.fish:completions/tresk.fish)
entries=$(unzip -Z1 "$zip")
for entry in Tresk.app/Contents/MacOS/tresk Tresk.app/Contents/Info.plist \
             "${resources[@]/#/Tresk.app/Contents/Resources/}"; do
  grep -qxF "${entry%%:*}" <<<"$entries" || fail "the zip has no ${entry%%:*}"
done
if grep -v '^Tresk\.app/' <<<"$entries"; then
  fail "the zip holds more than Tresk.app (above)"
fi
mkdir "$tmp/unpacked"
unzip -q "$zip" -d "$tmp/unpacked"
unpacked=$tmp/unpacked/Tresk.app
[ -x "$unpacked/Contents/MacOS/tresk" ] || fail "the unpacked tresk is not executable"
for file in Contents/MacOS/tresk Contents/Info.plist; do
  cmp -s "$bundle/$file" "$unpacked/$file" || fail "the unpacked $file differs from the bundle's"
done
for pair in "${resources[@]}"; do
  cmp -s "$top/${pair#*:}" "$unpacked/Contents/Resources/${pair%%:*}" ||
    fail "the unpacked Contents/Resources/${pair%%:*} is not ${pair#*:}"
done
if [ "$("$unpacked/Contents/MacOS/tresk" --version 2>&1)" != "$("$bundle/Contents/MacOS/tresk" --version 2>&1)" ]; then
  fail "the unpacked bundle does not give the built bundle's version line"
fi

# A signed bundle can hold symbolic links, and the seal covers them as links.
mkdir "$tmp/linked"
cp -R "$bundle" "$tmp/linked/Tresk.app"
mkdir -p "$tmp/linked/Tresk.app/Contents/Resources"
ln -s ../Info.plist "$tmp/linked/Tresk.app/Contents/Resources/Info.plist"
"$here/package.sh" "$tmp/linked/Tresk.app" "$version" "$tmp/linked-dist" >/dev/null
mkdir "$tmp/linked-unpacked"
unzip -q "$tmp/linked-dist/Tresk-$version.zip" -d "$tmp/linked-unpacked"
link=$tmp/linked-unpacked/Tresk.app/Contents/Resources/Info.plist
if [ ! -L "$link" ] || [ "$(readlink "$link")" != ../Info.plist ]; then
  fail "the zip does not keep a symbolic link as a link"
fi

checksum=$(cat "$zip.sha256")
actual=$(sha256sum "$zip" | cut -d ' ' -f 1)
[ "$checksum" = "$actual  Tresk-$version.zip" ] ||
  fail "the checksum file is not one line \"SHA-256  Tresk-$version.zip\": $checksum"
(cd "$dist" && sha256sum --quiet -c "Tresk-$version.zip.sha256") || fail "sha256sum -c rejects the checksum file"

# The cask: Ruby, this version and checksum, and paths that exist.
cask=$dist/tresk.rb
ruby -c "$cask" >/dev/null || fail "the cask is not valid Ruby"
cask_value() { sed -n "s/^  $1 \"\(.*\)\"\$/\1/p" "$cask"; }
[ "$(cask_value version)" = "$version" ] || fail "the cask's version is not $version"
[ "$(cask_value sha256)" = "$actual" ] || fail "the cask's sha256 is not the zip's"
url=$(cask_value url)
url=${url//'#{version}'/$version}
[ "$url" = "https://github.com/$repository/releases/download/v$version/Tresk-$version.zip" ] ||
  fail "the cask downloads $url, not the zip package.sh made for tag v$version in $repository"
app=$(cask_value app)
[ -d "$tmp/unpacked/$app" ] || fail "the cask installs \"$app\", which the zip does not hold"
binary=$(cask_value binary)
case $binary in
  "#{appdir}/$app/"*) [ -x "$tmp/unpacked/${binary#'#{appdir}/'}" ] || fail "the cask links $binary, not an executable in the zip" ;;
  *) fail "the cask's binary is not inside the installed app: $binary" ;;
esac
# The man page and completions: linked from the installed app, each a file
# of the zip, and named where man and each shell look for it.
# STANZA|the name the link must have
while IFS='|' read -r stanza named; do
  line=$(grep -E "^  $stanza " "$cask" || true)
  pattern="^  $stanza \"#\{appdir\}/([^\"]+)\"(, target: \"([^\"]+)\")?$"
  if ! [[ $line =~ $pattern ]]; then
    fail "the cask has no line $stanza \"#{appdir}/...\" (found: ${line:-nothing})"
    continue
  fi
  source=${BASH_REMATCH[1]}
  linked=${BASH_REMATCH[3]:-$(basename "$source")}
  case $source in
    "$app"/Contents/Resources/*) [ -f "$tmp/unpacked/$source" ] || fail "the cask's $stanza links $source, which the zip does not hold" ;;
    *) fail "the cask's $stanza links $source, not a file inside the app's Contents/Resources" ;;
  esac
  [ "$linked" = "$named" ] || fail "the cask's $stanza is linked as $linked, not $named"
done <<EOF
manpage|tresk.1
bash_completion|tresk
zsh_completion|_tresk
fish_completion|tresk.fish
EOF

# The cask's requirements agree with the bundle and the release build.
minimum=$("$python" -c 'import plistlib, sys; print(plistlib.load(open(sys.argv[1], "rb"))["LSMinimumSystemVersion"])' \
  "$bundle/Contents/Info.plist")
declare -A macos_names=([10.15]=catalina [11]=big_sur [11.0]=big_sur [12]=monterey [12.0]=monterey
                        [13]=ventura [13.0]=ventura [14]=sonoma [14.0]=sonoma [15]=sequoia [15.0]=sequoia)
grep -qxF "  depends_on macos: \">= :${macos_names[$minimum]:-unknown}\"" "$cask" ||
  fail "the cask does not require macOS $minimum (LSMinimumSystemVersion) or later"
architectures=$("$python" -c '
import json, sys
presets = {p["name"]: p for p in json.load(open(sys.argv[1]))["configurePresets"]}
print(", ".join(":" + a for a in sorted(presets["release"]["cacheVariables"]["CMAKE_OSX_ARCHITECTURES"].split(";"))))
' "$top/CMakePresets.json")
grep -qxF "  depends_on arch: [$architectures]" "$cask" ||
  fail "the cask does not name the release build's architectures ($architectures)"

# Refused, with nothing written: each line is a command that must fail.
while IFS= read -r refused; do
  rm -rf "$tmp/refused"
  if (eval "$refused") >/dev/null 2>&1 || [ -s "$tmp/refused/tresk.rb" ]; then
    fail "accepted: $refused"
  fi
done <<EOF
"$here/package.sh" "$bundle" 1.2 "$tmp/refused"
"$here/package.sh" "$bundle" v1.2.3 "$tmp/refused"
"$here/package.sh" "$bundle" 1.2.3 "$tmp/refused" 'owner/name"; system("id")'
"$here/package.sh" "$tmp/linked" 1.2.3 "$tmp/refused"
"$here/package.sh" "$tmp/refused-nothing/Tresk.app" 1.2.3 "$tmp/refused"
mkdir -p "$tmp/refused" && "$here/homebrew/render-cask.sh" 1.2.3 "${actual:1}" > "$tmp/refused/tresk.rb"
mkdir -p "$tmp/refused" && "$here/homebrew/render-cask.sh" 1.2.3 "$(tr a-f A-F <<<"$actual")" > "$tmp/refused/tresk.rb"
mkdir -p "$tmp/refused" && "$here/homebrew/render-cask.sh" '1.2.3" ' "$actual" > "$tmp/refused/tresk.rb"
EOF

# --- the workflows ---------------------------------------------------------
mkdir "$tmp/steps"
if "$python" "$here/workflow_run_steps.py" "$tmp/steps" "$top/BUILD.md" \
     "$top/.github/workflows/release.yml" "$top/.github/workflows/macos.yml"; then
  shellcheck "$tmp/steps"/*.sh || fail "a workflow run step does not pass shellcheck (above)"
else
  fail "the workflows (above)"
fi

# Planted faults: each changes one workflow in a copy and names what the check
# must report, so no rule of the pipeline can quietly stop being checked.
"$python" - "$here/workflow_run_steps.py" "$top" "$tmp/planted" <<'EOF' || fail "a planted workflow fault was not refused (above)"
import pathlib, re, subprocess, sys
checker, top, work = sys.argv[1], pathlib.Path(sys.argv[2]), pathlib.Path(sys.argv[3])
SECRET_PRESENCE = "${{ secrets.NOTARY_API_ISSUER_ID != '' }}"
# workflow, pattern, replacement, what the check must say
PLANTS = [
    ("macos.yml", r"actions/checkout@[0-9a-f]{40} # v\S+", "actions/checkout@v7",
     "uses actions/checkout@v7, not pinned to a full commit SHA"),
    ("release.yml", r"(attest-build-provenance@[0-9a-f]{40}) # v\S+", r"\1",
     "without its version in a comment"),
    ("release.yml", r"(?m)^permissions:\n  contents: read\n", "permissions:\n  contents: write\n",
     "top-level permissions can write (contents)"),
    ("macos.yml", r"(?m)^permissions:\n  contents: read\n", "",
     "has no top-level permissions"),
    ("macos.yml", r"(?m)^    permissions:\n      contents: read\n", "",
     "job build: has no permissions of its own"),
    ("release.yml", r"persist-credentials: false", "persist-credentials: true",
     "checks out with persisted credentials"),
    ("macos.yml", r"(?m)^        with:\n          persist-credentials: false\n", "",
     "checks out with persisted credentials"),
    ("release.yml", r"(?m)^(      TAG: .*\n)", r"\1      NOTARY_API_KEY_ID: ${{ secrets.NOTARY_API_KEY_ID }}\n",
     "references NOTARY_API_KEY_ID outside the step that uses it (jobs.release.env.NOTARY_API_KEY_ID)"),
    ("release.yml", r"(?m)^(    uses: \./\.github/workflows/macos\.yml\n)", r"\1    secrets: inherit\n",
     "hands every secret to the called workflow"),
    ("release.yml", r"(?m)^(      - name: Verify the signature and Gatekeeper's verdict\n)",
     r"\1        env:\n          APPLE_TEAM_ID: ${{ secrets.APPLE_TEAM_ID }}\n",
     "is handed secrets.APPLE_TEAM_ID as APPLE_TEAM_ID, which its script does not use"),
    ("release.yml", re.escape(SECRET_PRESENCE), "${{ secrets.NOTARY_API_ISSUER_ID }}",
     "its first step holds the value of secrets.NOTARY_API_ISSUER_ID"),
    ("release.yml", r'\$NOTARY_API_KEY_ID" --issuer', '${{ secrets.NOTARY_API_KEY_ID }}" --issuer',
     "pastes ${{ secrets.NOTARY_API_KEY_ID }} into the script"),
    ("release.yml", r"--draft --verify-tag", "--draft --clobber --verify-tag",
     "replaces release assets (--clobber)"),
    ("release.yml", r"runs-on: macos-15", "runs-on: macos-latest",
     "runs on macos-latest"),
    ("macos.yml", r"(?m)^      DEVELOPER_DIR: .*\n", "",
     "without a pinned Xcode (DEVELOPER_DIR)"),
    ("macos.yml", r"image: macos-26", "image: macos-latest",
     "runs on macos-latest"),
    ("macos.yml", r"(?m)^(          - image: macos-26\n)            xcode: .*\n", r"\1",
     "runs on macos-26 without a pinned Xcode (DEVELOPER_DIR)"),
    ("release.yml", r"DEVELOPER_DIR: /Applications/Xcode_[^/]*\.app", "DEVELOPER_DIR: /Applications/Xcode_15.0.app",
     "builds on macos-15 with /Applications/Xcode_15.0.app/Contents/Developer, which the workflow it calls first does not test"),
]
work.mkdir()
docs = top / "BUILD.md"
names = ("release.yml", "macos.yml")
missed = 0
for number, (name, pattern, replacement, says) in enumerate(PLANTS, 1):
    case = work / str(number)
    case.mkdir()
    for other in names:
        text = (top / ".github/workflows" / other).read_text()
        if other == name:
            text, count = re.subn(pattern, lambda m: m.expand(replacement), text, count=1)
            if count != 1:
                print(f"check: plant {number} ({name}: {pattern}) matches nothing; update it", file=sys.stderr)
                missed += 1
        (case / other).write_text(text)
    (case / "steps").mkdir()
    run = subprocess.run([sys.executable, checker, str(case / "steps"), str(docs)] + [str(case / n) for n in names],
                         capture_output=True, text=True)
    if run.returncode != 1 or says not in run.stderr:
        print(f"check: plant {number} in {name} ({says}) was not refused as such; status {run.returncode}:\n{run.stderr}",
              file=sys.stderr)
        missed += 1
sys.exit(1 if missed else 0)
EOF

# Pins stay current only if Dependabot watches the workflows.
"$python" - "$top/.github/dependabot.yml" <<'EOF' || fail ".github/dependabot.yml does not keep the actions' pins current (above)"
import sys, yaml
config = yaml.safe_load(open(sys.argv[1]))
if not any(u.get("package-ecosystem") == "github-actions" and u.get("directory") == "/"
           for u in config.get("updates") or []):
    sys.exit("check: no update for package-ecosystem github-actions in directory /")
EOF

# release-state.sh, with a stand-in gh: a failure to ask is never "none",
# which would let a run publish over a release it could not see.
mkdir -p "$tmp/gh/bin"
cat >"$tmp/gh/bin/gh" <<'EOF'
#!/bin/sh
case $GH_STUB in
  draft) echo true ;;
  published) echo false ;;
  none) echo "release not found" >&2; exit 1 ;;
  *) echo "HTTP 401: Bad credentials" >&2; exit 1 ;;
esac
EOF
chmod +x "$tmp/gh/bin/gh"
for case in draft:draft published:published none:none error:; do
  state=$(PATH=$tmp/gh/bin:$PATH GH_STUB=${case%%:*} "$here/release-state.sh" v1.2.3 owner/name 2>/dev/null) && status=0 || status=$?
  if [ "$state" != "${case#*:}" ] || { [ -z "${case#*:}" ] && [ "$status" -eq 0 ]; }; then
    fail "release-state.sh when gh answers ${case%%:*}: \"$state\", status $status"
  fi
done

# --- sign.sh, with a stand-in codesign that records its arguments -----------
mkdir -p "$tmp/sign/bin"
cat >"$tmp/sign/bin/codesign" <<EOF
#!/bin/sh
printf '%s\n' "\$*" >>"$tmp/sign/codesign.log"
EOF
chmod +x "$tmp/sign/bin/codesign"
printf 'profile\n' >"$tmp/sign/tresk.provisionprofile"
printf '<plist/>\n' >"$tmp/sign/tresk.entitlements"
# EXPECTED STATUS|IDENTITY|ENTITLEMENTS|PROFILE|what must follow (in the log or the bundle)
while IFS='|' read -r expected identity entitlements profile says; do
  rm -rf "$tmp/sign/Tresk.app" "$tmp/sign/codesign.log"
  mkdir -p "$tmp/sign/Tresk.app/Contents/MacOS"
  printf 'stale\n' >"$tmp/sign/Tresk.app/Contents/embedded.provisionprofile"
  status=0
  PATH=$tmp/sign/bin:$PATH "$top/bundle/sign.sh" "$tmp/sign/Tresk.app" "$entitlements" "$identity" "$profile" \
    >"$tmp/sign/out" 2>&1 || status=$?
  embedded=$(cat "$tmp/sign/Tresk.app/Contents/embedded.provisionprofile" 2>/dev/null || echo none)
  log=$(cat "$tmp/sign/codesign.log" 2>/dev/null || true)
  if [ "$status" -ne "$expected" ] || ! grep -qF -- "$says" <<<"$(cat "$tmp/sign/out"; echo "embedded: $embedded"; echo "$log")"; then
    fail "sign.sh \"$identity\" \"$entitlements\" \"$profile\": status $status (expected $expected), embedded profile: $embedded, codesign: ${log:-not run}; expected \"$says\":"
    sed 's/^/    /' "$tmp/sign/out" >&2
  elif [ "$expected" -ne 0 ] && [ -n "$log" ]; then
    fail "sign.sh \"$identity\" \"$entitlements\" \"$profile\" refused, but ran codesign first: $log"
  fi
done <<EOF
1|Developer ID Application: Example (ABCDE12345)|$tmp/sign/tresk.entitlements||Set TRESK_PROVISIONING_PROFILE
1|Developer ID Application: Example (ABCDE12345)|$tmp/sign/tresk.entitlements|$tmp/sign/missing|no such file
0|Developer ID Application: Example (ABCDE12345)|$tmp/sign/tresk.entitlements|$tmp/sign/tresk.provisionprofile|embedded: profile
0|Developer ID Application: Example (ABCDE12345)|$tmp/sign/tresk.entitlements|$tmp/sign/tresk.provisionprofile|--entitlements $tmp/sign/tresk.entitlements
0|-|||embedded: none
1|-||$tmp/sign/tresk.provisionprofile|cannot carry the keychain entitlements
1|-|$tmp/sign/tresk.entitlements||cannot carry the keychain entitlements
EOF

# --- macos-smoke.sh against the simulated platform --------------------------
# A copy of the bundle built from a known, clean commit, as CI's is.
commit=0123456789abcdef0123456789abcdef01234567
mkdir "$tmp/smoke"
cp -R "$bundle" "$tmp/smoke/Tresk.app"
"$python" - "$tmp/smoke/Tresk.app/Contents/Info.plist" "$commit" <<'EOF'
import plistlib, sys
with open(sys.argv[1], "rb") as f:
    info = plistlib.load(f)
info.update(TreskGitCommit=sys.argv[2], TreskBuildDirty=False)
with open(sys.argv[1], "wb") as f:
    plistlib.dump(info, f)
EOF
# And one whose front end misroutes a stream: usage on stdout for a wrong shape.
mkdir -p "$tmp/misrouted/Tresk.app/Contents/MacOS"
cp "$tmp/smoke/Tresk.app/Contents/Info.plist" "$tmp/misrouted/Tresk.app/Contents/"
cat >"$tmp/misrouted/Tresk.app/Contents/MacOS/tresk" <<EOF
#!/bin/sh
if [ "\$*" = get ]; then "$tmp/smoke/Tresk.app/Contents/MacOS/tresk" --help; exit 1; fi
exec "$tmp/smoke/Tresk.app/Contents/MacOS/tresk" "\$@"
EOF
chmod +x "$tmp/misrouted/Tresk.app/Contents/MacOS/tresk"
# EXPECTED|BUNDLE|DEVICE PROFILE (lines separated by ;)|GITHUB_SHA|what the log must say
while IFS='|' read -r expected app profile sha says; do
  home=$(mktemp -d "$tmp/home.XXXXXX")
  mkdir -m 700 "$home/tresk-simulator"
  tr ';' '\n' <<<"$profile" >"$home/tresk-simulator/device.profile"
  status=0
  XDG_DATA_HOME=$home GITHUB_SHA=$sha "$here/macos-smoke.sh" "$tmp/$app/Tresk.app/Contents/MacOS/tresk" \
    >"$home/log" 2>&1 || status=$?
  if { [ "$expected" = pass ] && [ "$status" -ne 0 ]; } || { [ "$expected" = fail ] && [ "$status" -ne 1 ]; } ||
     ! grep -qF -- "$says" "$home/log"; then
    fail "macos-smoke.sh on $app with profile \"$profile\" and GITHUB_SHA $sha: status $status, expected to $expected and say \"$says\":"
    sed 's/^/    /' "$home/log" >&2
  fi
done <<EOF
pass|smoke|entitlement = missing|$commit|ok: printf x | tresk add ci/smoke (Touch ID available
pass|smoke|entitlement = missing;biometry = none|$commit|ok: printf x | tresk add ci/smoke (no Touch ID
pass|smoke|entitlement = missing;unentitled-reads = not-found|$commit|ok: tresk list
fail|smoke|entitlement = missing|${commit/0/f}|FAILED: tresk --version
fail|smoke|biometry = touch-id|$commit|FAILED: tresk get ci/smoke
fail|smoke|biometry = touch-id|$commit|FAILED: printf x | tresk add ci/smoke
fail|misrouted|entitlement = missing|$commit|expected: status 1, stdout empty, stderr what --help printed
EOF

# --- macos-launch-check.sh, with stand-ins for xattr, spctl and log ---------
launch=$tmp/launch
mkdir -p "$launch/bin"
cat >"$launch/bin/xattr" <<EOF
#!/bin/sh
printf 'xattr %s\n' "\$*" >>"$launch/tools.log"
[ "\$1" != -p ] || echo 0081
EOF
cat >"$launch/bin/spctl" <<EOF
#!/bin/sh
printf 'spctl %s\n' "\$*" >>"$launch/tools.log"
echo "\$5: \${SPCTL_VERDICT:-accepted}" >&2
[ -z "\$SPCTL_VERDICT" ]
EOF
cat >"$launch/bin/log" <<EOF
#!/bin/sh
echo "kernel: AMFI: stand-in reason"
EOF
chmod +x "$launch/bin"/*
# Programs that never answer as they should: killed before main, hanging.
for stub in 'killed|kill -KILL $$' 'hangs|exec sleep 30'; do
  mkdir -p "$launch/${stub%%|*}/Tresk.app/Contents/MacOS"
  printf '#!/bin/sh\n%s\n' "${stub#*|}" >"$launch/${stub%%|*}/Tresk.app/Contents/MacOS/tresk"
  chmod +x "$launch/${stub%%|*}/Tresk.app/Contents/MacOS/tresk"
done
line=$("$bundle/Contents/MacOS/tresk" --version)
# EXPECTED|BUNDLE|OPTION|DEVICE PROFILE|SPCTL_VERDICT|what the output must say
while IFS='|' read -r expected app option profile verdict says; do
  home=$(mktemp -d "$tmp/home.XXXXXX")
  mkdir -m 700 "$home/tresk-simulator"
  printf '%s\n' "$profile" >"$home/tresk-simulator/device.profile"
  rm -f "$launch/tools.log"
  status=0
  PATH=$launch/bin:$PATH XDG_DATA_HOME=$home LAUNCH_TIMEOUT=2 SPCTL_VERDICT=$verdict \
    "$here/macos-launch-check.sh" ${option:+"$option"} "$app" "$line" >"$home/log" 2>&1 || status=$?
  cat "$launch/tools.log" >>"$home/log" 2>/dev/null || true
  if { [ "$expected" = pass ] && [ "$status" -ne 0 ]; } || { [ "$expected" = fail ] && [ "$status" -eq 0 ]; } ||
     ! grep -qF -- "$says" "$home/log"; then
    fail "macos-launch-check.sh $option on $app, profile \"$profile\": status $status, expected to $expected and say \"$says\":"
    sed 's/^/    /' "$home/log" >&2
  fi
done <<EOF
pass|$bundle|--quarantine|||xattr -r -w com.apple.quarantine 0081;
pass|$bundle|--quarantine|||spctl --assess --type execute
pass|$bundle||||ok: tresk list: status 0
fail|$bundle|--quarantine||rejected|rejected
fail|$launch/killed/Tresk.app||||killed by signal 9
fail|$launch/killed/Tresk.app||||kernel: AMFI: stand-in reason
fail|$launch/hangs/Tresk.app||||did not finish within 2 seconds
fail|$bundle||entitlement = missing||FAILED: tresk list: expected status 0
EOF

# --- the scripts for a Mac's bash 3.2, and the acceptance run's dry run -----
# The bash 3.2 they are held to, as the completion tests find it.
if ! bash32=$("$top/tests/packaging/bash32.sh" path); then
  echo "check: ${bash32:-no bash 3.2}; bash $BASH_VERSION parses and runs the Mac's scripts"
  bash32=
fi
mapfile -t mac_scripts < <(grep -lx '# Written for the bash 3.2 that macOS ships.' "$here"/*.sh)
shellcheck "${mac_scripts[@]}" || fail "a script for the Mac's bash does not pass shellcheck (above)"
for script in "${mac_scripts[@]}"; do
  "${bash32:-bash}" -n "$script" || fail "$script does not parse under ${bash32:-bash}"
done

# macos-acceptance.sh --simulated: it passes on the built bundle, reports
# each planted fault as the step it breaks, and leaves nothing behind.
acceptance=$tmp/acceptance
real=$bundle/Contents/MacOS/tresk
# stub DIR SH: a bundle in DIR whose tresk runs SH (the arguments in "$@",
# the simulator's directory in $simulator), then the real one.
stub() {
  mkdir -p "$1/Tresk.app/Contents/MacOS"
  cp "$bundle/Contents/Info.plist" "$1/Tresk.app/Contents/"
  # shellcheck disable=SC2016  # expanded by the stub
  printf '#!/bin/sh\nreal="%s"\nsimulator=$XDG_DATA_HOME/tresk-simulator\n%s\nexec "$real" "$@"\n' "$real" "$2" \
    >"$1/Tresk.app/Contents/MacOS/tresk"
  chmod +x "$1/Tresk.app/Contents/MacOS/tresk"
}
# shellcheck disable=SC2016  # the stubs' own shell text
{
  stub "$acceptance/killed" 'kill -KILL $$'
  # As today's macOS answers such a build: its reads find nothing.
  stub "$acceptance/unentitled" 'printf "entitlement = missing\nunentitled-reads = not-found\n" >>"$simulator/device.profile"'
  # A fault in each step that guards against one, on separate names; and a
  # path the dialog's command must quote.
  stub "$acceptance/it's here" '
case "$1 $2" in
  "get "*/biometryAny) "$real" "$@" || exit; echo; exit 0 ;;
  "get "*/biometryCurrentSet) echo "answer = approve" >"$simulator/device.profile" ;;
  "get "*/userPresence) "$real" "$@" || exit; sed "\$d" "$simulator/prompts.log" >"$simulator/p"; mv "$simulator/p" "$simulator/prompts.log"; exit 0 ;;
  "list ") "$real" list | LC_ALL=C sort -r; exit 0 ;;
  "delete "*/k) echo "Key deleted successfully." >&2; exit 0 ;;
  "delete "*/userPresence) "$real" "$@"; exit 1 ;;
esac'
  # Its first get waits for the file go beside the report; every call is
  # logged there with its status.
  stub "$acceptance/interrupted" 'run=${ACCEPTANCE_REPORT%/*}
if [ "$1" = get ] && [ ! -e "$run/go" ]; then : >"$run/waiting"; while [ ! -e "$run/go" ]; do sleep 0.1; done; fi
"$real" "$@"; status=$?; echo "$status $*" >>"$run/calls"; exit $status'
}

# acceptance_run BUNDLE: the dry run in the background, with HOME $acceptance
# and a TMPDIR and a report of its own; sets run and runner.
acceptance_run() {
  run=$(mktemp -d "$acceptance/run.XXXXXX")
  mkdir "$run/tmp"
  HOME=$acceptance TMPDIR=$run/tmp ACCEPTANCE_REPORT=$run/report "${bash32:-bash}" \
    "$here/macos-acceptance.sh" --simulated "$1" >"$run/log" 2>&1 &
  runner=$!
}
# acceptance_ended STATUS LINES: the run ended with STATUS, its output holds
# each of the LINES, it wrote its report and left nothing in its TMPDIR.
acceptance_ended() {
  local status=0 line missing=
  wait "$runner" || status=$?
  while IFS= read -r line; do
    grep -qF -- "$line" "$run/log" || missing="$missing"$'\n'"      $line"
  done <<<"$2"
  if [ "$status" -ne "$1" ] || [ -n "$missing" ] || ! grep -q ' passed, .* failed, .* skipped$' "$run/report" ||
     [ -n "$(find "$run/tmp" -mindepth 1)" ]; then
    fail "macos-acceptance.sh --simulated: status $status (expected $1), no report or a TMPDIR left, or missing:$missing"
    sed 's/^/    /' "$run/log" >&2
    return 1
  fi
}

acceptance_run "$bundle"
acceptance_ended 0 ', 0 failed, 2 skipped' || true
acceptance_run "$acceptance/killed/Tresk.app"
acceptance_ended 1 'refused: tresk --version was killed by signal 9' || true
acceptance_run "$acceptance/unentitled/Tresk.app"
acceptance_ended 1 "refused: the program's self-check finds no keychain-access-groups entitlement: Error: Failed to list keys. (-34018:" || true
acceptance_run "$acceptance/it's here/Tresk.app"
acceptance_ended 1 "$(cat <<'EOF'
FAIL  get NS/biometryAny (touch): expected status 0 and the 1048576 bytes stored; seen status 0, stderr "", stdout 1048577 bytes
FAIL  get NS/biometryCurrentSet (cancel): expected status 1 and "Error: Authentication canceled."; seen status 0
FAIL  prompt for get NS/userPresence (touch): expected touch-id-or-password
FAIL  list: expected, of this run's names: Zulu biometryAny k k-x k/a k0 z
FAIL  delete NS/userPresence: expected status 0 and "Key deleted successfully."; seen status 1
FAIL  clean-up: left in the Keychain (tresk delete each): tresk-acceptance-
the clipboard must hold: ln -s ~/'it'"'"'s here/Tresk.app/Contents/MacOS/tresk' ~/.local/bin/tresk)
EOF
)" || true

# Interrupted (SIGTERM) while it reads an item: every item it added is deleted.
acceptance_run "$acceptance/interrupted/Tresk.app"
for _ in $(seq 600); do
  [ ! -e "$run/waiting" ] || break
  sleep 0.1
done
kill -TERM "$runner"
: >"$run/go"
if acceptance_ended 143 'FAIL  interrupted by SIGTERM'; then
  added=$(awk '$1 == 0 && $2 == "add" { print $3 }' "$run/calls" | sort)
  deleted=$(awk '$1 == 0 && $2 == "delete" { print $3 }' "$run/calls" | sort)
  if [ -z "$added" ] || [ "$added" != "$deleted" ]; then
    fail "macos-acceptance.sh, interrupted, added $(grep -c '' <<<"$added") item(s) and deleted: $(tr '\n' ' ' <<<"$deleted")"
  fi
fi

if [ "$failures" -ne 0 ]; then
  echo "check: $failures fault(s) in the release packaging" >&2
  exit 1
fi
echo "check: release packaging, workflows and smoke run as expected"
