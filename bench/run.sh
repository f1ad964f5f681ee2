#!/usr/bin/env bash
# The program's own cost, side by side with what it cannot beat, in one run of
# the release build:
#   start-up:  /bin/true, tresk --version, a wrong shape, get of a missing key
#   list:      10,000 and 100,000 items
#   values:    add of 64 MiB (from a file and from a pipe) and of 256 MiB,
#              get of 64 MiB through a pipe beside cat of the same bytes
# Times are medians (hyperfine); the start-up rows alternate in rounds of ten
# runs each, so drift of the machine touches them all alike. Memory is the
# median peak resident set of RSS_RUNS runs (/usr/bin/time -f %M). Everything runs against throwaway
# simulator stores under a temporary directory; the user's own is untouched.
#
#   bench/run.sh        ROUNDS=25 (of 10 start-up runs) LIST_RUNS=20 BIG_RUNS=10 RSS_RUNS=5 by default
set -euo pipefail
cd "$(dirname "$0")/.."

ROUNDS=${ROUNDS:-25}
LIST_RUNS=${LIST_RUNS:-20}
BIG_RUNS=${BIG_RUNS:-10}
RSS_RUNS=${RSS_RUNS:-5}
BIN=$PWD/build/release/Tresk.app/Contents/MacOS/tresk

need() {  # command, Debian package
  command -v "$1" >/dev/null && return
  if command -v apt-get >/dev/null && [[ $(id -u) == 0 ]]; then apt-get install -y -qq "$2" >/dev/null; fi
  command -v "$1" >/dev/null || { echo "bench needs $1 (Debian package $2)" >&2; exit 1; }
}
need hyperfine hyperfine
need sqlite3 sqlite3
need python3 python3
[[ -x /usr/bin/time ]] || need /usr/bin/time time
if [[ ! -x $BIN ]]; then
  echo "building the release preset..." >&2
  cmake --preset release >/dev/null && cmake --build --preset release >/dev/null
fi

WORK=$(mktemp -d "${TMPDIR:-/tmp}/tresk-bench.XXXXXX")
trap 'rm -rf "$WORK"' EXIT

# --- fixtures --------------------------------------------------------------
head -c $((64 << 20)) /dev/urandom >"$WORK/v64"
head -c $((256 << 20)) /dev/urandom >"$WORK/v256"
XDG_DATA_HOME=$WORK/get "$BIN" add bench/big <"$WORK/v64" 2>/dev/null
# One add makes the store and its schema; the rest are copies of that row
# under new names, which is what that many adds would leave behind.
list_store() {  # items -> store directory
  local home=$WORK/list$1
  printf 'v' | XDG_DATA_HOME=$home "$BIN" add ns0/key0 2>/dev/null
  sqlite3 "$home/tresk-simulator/keychain.sqlite3" "
    WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < $1 - 1)
    INSERT INTO items (class, service, account, synchronizable, access_flags, protection,
                       enrollment, created, modified, data)
      SELECT class, 'ns' || (i % 100), 'key' || i, synchronizable, access_flags, protection,
             enrollment, created, modified, data
      FROM items, n WHERE items.service = 'ns0' AND items.account = 'key0';"
  [[ $(XDG_DATA_HOME=$home "$BIN" list | wc -l) == "$1" ]] || { echo "list store of $1 is wrong" >&2; exit 1; }
}
list_store 10000
list_store 100000
XDG_DATA_HOME=$WORK/get "$BIN" get bench/big | cmp -s - "$WORK/v64" || { echo "get does not return the value" >&2; exit 1; }

# --- timing ----------------------------------------------------------------
# [ROUNDS=n] timed ARGS... -> the median in ms of each command, one a line,
# over n rounds of hyperfine ARGS (1 by default)
timed() {
  local r
  for ((r = 0; r < ${ROUNDS_OF:-1}; r++)); do
    hyperfine --style none --export-json "$WORK/t$r.json" "$@" >/dev/null 2>"$WORK/hyperfine.log" ||
      { cat "$WORK/hyperfine.log" >&2; exit 1; }
  done
  python3 -c 'import json, statistics, sys
times = {}
for name in sys.argv[1:]:
    for r in json.load(open(name))["results"]: times.setdefault(r["command"], []).extend(r["times"])
for samples in times.values(): print("%.2f" % (statistics.median(samples) * 1000))' "$WORK"/t*.json
  rm -f "$WORK"/t*.json
}
# Median peak resident set, MiB, of a shell command.
peak() {
  local k
  for ((k = 0; k < RSS_RUNS; k++)); do
    eval "${2:-true}" >/dev/null 2>&1 || true
    /usr/bin/time -f %M -o "$WORK/rss" bash -c "$1" >/dev/null 2>&1 || true
    tail -1 "$WORK/rss"
  done | sort -n | awk '{v[NR] = $1} END {printf "%.1f", v[int((NR + 1) / 2)] / 1024}'
}

export XDG_DATA_HOME=$WORK/get
mapfile -t start < <(ROUNDS_OF=$ROUNDS timed -N -i --warmup 2 --runs 10 /bin/true "$BIN --version" "$BIN bogus" "$BIN get missing/key")
mapfile -t lists < <(timed -N --warmup 3 --runs "$LIST_RUNS" \
  "env XDG_DATA_HOME=$WORK/list10000 $BIN list" "env XDG_DATA_HOME=$WORK/list100000 $BIN list")
mapfile -t pipes < <(timed --warmup 2 --runs "$BIG_RUNS" \
  "cat $WORK/v64 | cat >/dev/null" "$BIN get bench/big | cat >/dev/null")
delete="XDG_DATA_HOME=$WORK/add $BIN delete bench/big"
mapfile -t adds < <(timed --warmup 1 --runs "$BIG_RUNS" --prepare "$delete || true" \
  "XDG_DATA_HOME=$WORK/add $BIN add bench/big <$WORK/v64" "cat $WORK/v64 | XDG_DATA_HOME=$WORK/add $BIN add bench/big")

list100k_rss=$(peak "XDG_DATA_HOME=$WORK/list100000 exec $BIN list")
add64_file_rss=$(peak "XDG_DATA_HOME=$WORK/add exec $BIN add bench/big <$WORK/v64" "$delete")
add64_pipe_rss=$(peak "cat $WORK/v64 | XDG_DATA_HOME=$WORK/add $BIN add bench/big" "$delete")
add256_file_rss=$(peak "XDG_DATA_HOME=$WORK/add exec $BIN add bench/big <$WORK/v256" "$delete")
add256_pipe_rss=$(peak "cat $WORK/v256 | XDG_DATA_HOME=$WORK/add $BIN add bench/big" "$delete")
get64_rss=$(peak "XDG_DATA_HOME=$WORK/get exec $BIN get bench/big")

ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f x", a / b}'; }
echo "tresk $("$BIN" --version | sed 's/^Tresk //'), $(uname -srm), $(nproc) CPUs, $(hyperfine --version)"
printf '%-38s %10s %12s %10s\n' what "median ms" "ratio" "peak MiB"
printf '%-38s %10s %12s %10s\n' "/bin/true" "${start[0]}" "" ""
printf '%-38s %10s %12s %10s\n' "tresk --version" "${start[1]}" "$(ratio "${start[1]}" "${start[0]}") true" ""
printf '%-38s %10s %12s %10s\n' "tresk bogus (wrong shape)" "${start[2]}" "$(ratio "${start[2]}" "${start[0]}") true" ""
printf '%-38s %10s %12s %10s\n' "tresk get missing/key" "${start[3]}" "$(ratio "${start[3]}" "${start[0]}") true" ""
printf '%-38s %10s %12s %10s\n' "tresk list (10,000 items)" "${lists[0]}" "" ""
printf '%-38s %10s %12s %10s\n' "tresk list (100,000 items)" "${lists[1]}" "" "$list100k_rss"
printf '%-38s %10s %12s %10s\n' "tresk add 64 MiB from a file" "${adds[0]}" "" "$add64_file_rss"
printf '%-38s %10s %12s %10s\n' "tresk add 64 MiB from a pipe" "${adds[1]}" "" "$add64_pipe_rss"
printf '%-38s %10s %12s %10s\n' "tresk add 256 MiB from a file" "" "" "$add256_file_rss"
printf '%-38s %10s %12s %10s\n' "tresk add 256 MiB from a pipe" "" "" "$add256_pipe_rss"
printf '%-38s %10s %12s %10s\n' "cat 64 MiB | cat" "${pipes[0]}" "" ""
printf '%-38s %10s %12s %10s\n' "tresk get 64 MiB | cat" "${pipes[1]}" "$(ratio "${pipes[1]}" "${pipes[0]}") cat" "$get64_rss"
echo "start-up: hyperfine -N, $ROUNDS alternating rounds of 10 runs each; list: $LIST_RUNS runs; 64 MiB: $BIG_RUNS runs" \
  "(each add after an untimed delete); peak: median of $RSS_RUNS runs of /usr/bin/time -f %M"
