#!/usr/bin/env bash
# Start-up and throughput of the release build, side by side with /bin/true:
#   --version, list over 10,000 items, get and add of a 64 MiB value,
# each a median over repeated runs, plus the peak memory of get and add.
#
#   bench/run.sh            RUNS=30 BIG_RUNS=10 RSS_RUNS=5 by default
#
# Uses hyperfine when it is installed (TIMER=loop forces the fallback), else a
# timing loop over date +%s%N.
# Everything runs against throwaway simulator stores under a temporary
# directory; the user's own store is never touched.
set -euo pipefail
cd "$(dirname "$0")/.."

RUNS=${RUNS:-30}
BIG_RUNS=${BIG_RUNS:-10}
RSS_RUNS=${RSS_RUNS:-5}
ITEMS=10000
TIMER=${TIMER:-$(command -v hyperfine >/dev/null && echo hyperfine || echo loop)}
BIN=$PWD/build/release/Tresk.app/Contents/MacOS/tresk

if [[ ! -x $BIN ]]; then
  echo "building the release preset..." >&2
  cmake --preset release >/dev/null && cmake --build --preset release >/dev/null
fi
if [[ ! -x /usr/bin/time ]] && command -v apt-get >/dev/null && [[ $(id -u) == 0 ]]; then
  apt-get install -y -qq time >/dev/null
fi

WORK=$(mktemp -d "${TMPDIR:-/tmp}/tresk-bench.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
LIST_HOME=$WORK/list GET_HOME=$WORK/get ADD_HOME=$WORK/add VALUE=$WORK/value.bin

# --- fixtures --------------------------------------------------------------
head -c $((64 << 20)) /dev/urandom >"$VALUE"
XDG_DATA_HOME=$GET_HOME "$BIN" add bench/big <"$VALUE" 2>/dev/null

# One add creates the store with its schema; the rest are copies of that row
# under new names, which is what 10,000 adds would leave behind.
printf 'v' | XDG_DATA_HOME=$LIST_HOME "$BIN" add ns0/key0 2>/dev/null
if command -v sqlite3 >/dev/null; then
  sqlite3 "$LIST_HOME/tresk-simulator/keychain.sqlite3" "
    WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < $ITEMS - 1)
    INSERT INTO items (class, service, account, synchronizable, data, access_flags, protection,
                       enrollment, created, modified)
      SELECT class, 'ns' || (i % 100), 'key' || i, synchronizable, data, access_flags, protection,
             enrollment, created, modified
      FROM items, n WHERE items.service = 'ns0' AND items.account = 'key0';"
else
  for ((i = 1; i < ITEMS; i++)); do
    printf 'v' | XDG_DATA_HOME=$LIST_HOME "$BIN" add "ns$((i % 100))/key$i" 2>/dev/null
  done
fi
listed=$(XDG_DATA_HOME=$LIST_HOME "$BIN" list | wc -l)
[[ $listed == "$ITEMS" ]] || { echo "list store holds $listed items, not $ITEMS" >&2; exit 1; }
XDG_DATA_HOME=$GET_HOME "$BIN" get bench/big | cmp -s - "$VALUE" || { echo "get does not return the value" >&2; exit 1; }

# --- cases: label, runs, store, command, what runs before each timed run ---
LABELS=("/bin/true" "tresk --version" "tresk list ($ITEMS items)" "tresk get (64 MiB)" "tresk add (64 MiB)")
COUNTS=("$RUNS" "$RUNS" "$RUNS" "$BIG_RUNS" "$BIG_RUNS")
STORES=("" "" "XDG_DATA_HOME=$LIST_HOME" "XDG_DATA_HOME=$GET_HOME" "XDG_DATA_HOME=$ADD_HOME")
COMMANDS=("/bin/true" "$BIN --version" "$BIN list" "$BIN get bench/big" "$BIN add bench/big <$VALUE")
PREPARES=("" "" "" "" "XDG_DATA_HOME=$ADD_HOME $BIN delete bench/big")  # each add needs the key gone
DIRECT=(1 1 0 0 0)  # run without a shell: only these are quick enough for its start-up to blur them
RSS_CASES=(3 4)

median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

# Prints "median min max" in milliseconds for case $1.
time_case() {
  local i=$1 cmd="${STORES[$1]} ${COMMANDS[$1]}" prep="{ ${PREPARES[$1]:-true}; } >/dev/null 2>&1 || true" n=${COUNTS[$1]}
  if [[ $TIMER == hyperfine ]]; then
    local csv=$WORK/case$i.csv
    local args=(--style none --warmup 2 --runs "$n" --export-csv "$csv" --output null)
    [[ -n ${PREPARES[$i]} ]] && args+=(--prepare "$prep")
    if ((DIRECT[i])); then args+=(--shell none "${COMMANDS[$i]}"); else args+=("$cmd"); fi
    hyperfine "${args[@]}" >"$WORK/hyperfine.log" 2>&1 || { cat "$WORK/hyperfine.log" >&2; exit 1; }
    # command,mean,stddev,median,user,system,min,max (seconds)
    awk -F, 'NR == 2 {printf "%.2f %.2f %.2f\n", $4 * 1000, $7 * 1000, $8 * 1000}' "$csv"
  else
    local samples=() start end k
    for ((k = 0; k < n + 2; k++)); do
      eval "$prep"
      start=$(date +%s%N)
      eval "$cmd" >/dev/null 2>&1
      end=$(date +%s%N)
      ((k >= 2)) && samples+=($((end - start)))  # the first two warm the caches
    done
    printf '%s\n' "${samples[@]}" | awk '{printf "%.2f\n", $1 / 1e6}' >"$WORK/case$i.txt"
    echo "$(median <"$WORK/case$i.txt") $(sort -n "$WORK/case$i.txt" | head -1) $(sort -n "$WORK/case$i.txt" | tail -1)"
  fi
}

# Median peak resident set of case $1, in MiB.
rss_case() {
  local i=$1 k
  [[ -x /usr/bin/time ]] || { echo "-"; return; }
  for ((k = 0; k < RSS_RUNS; k++)); do
    eval "{ ${PREPARES[$i]:-true}; } >/dev/null 2>&1 || true"
    # exec: the figure is tresk's own, not the shell's
    /usr/bin/time -f %M -o "$WORK/rss" bash -c "${STORES[$i]} exec ${COMMANDS[$i]} >/dev/null 2>&1" || true
    tail -1 "$WORK/rss"
  done | median | awk '{printf "%.1f\n", $1 / 1024}'
}

declare -A RSS
for i in "${RSS_CASES[@]}"; do RSS[$i]=$(rss_case "$i"); done

tool=$([[ $TIMER == hyperfine ]] && hyperfine --version || echo "date +%s%N loop")
echo "tresk $("$BIN" --version | sed 's/^Tresk //'), $(uname -srm), $(nproc) CPUs; timing: $tool"
printf '%-26s %5s %10s %10s %10s %8s %10s\n' command runs "median ms" "min ms" "max ms" "x true" "max RSS"
floor=
for i in "${!LABELS[@]}"; do
  time_case "$i" >"$WORK/row"
  read -r med min max <"$WORK/row"
  floor=${floor:-$med}
  ratio=$(awk -v m="$med" -v f="$floor" 'BEGIN {printf (f > 0 ? "%.1f" : "-"), m / f}')
  rss=${RSS[$i]:-}
  printf '%-26s %5s %10s %10s %10s %8s %10s\n' "${LABELS[$i]}" "${COUNTS[$i]}" "$med" "$min" "$max" "$ratio" \
    "${rss:+$rss MiB}"
done
echo "each row: $([[ $TIMER == hyperfine ]] && echo "hyperfine, " || echo "wall clock incl. the shell's fork, ")2 warm-up runs" \
  "then the runs shown; max RSS: median of $RSS_RUNS runs under /usr/bin/time -f %M"
