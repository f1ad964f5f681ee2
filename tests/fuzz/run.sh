#!/usr/bin/env bash
# Runs each fuzz target for SECONDS (default 60) from its seed corpus, under
# the sanitizers it was built with. Exit status 1 on any finding: a crash, a
# sanitizer report, a leak, an input slower than 10 s or a memory blow-up.
# usage: run.sh BUILD_DIR [SECONDS]
set -euo pipefail
build=$1 seconds=${2:-60}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for name in arguments info_plist; do
    # A copy: what the run adds to the corpus stays out of the source tree.
    mkdir "$work/$name"
    cp "$here/corpus/$name/"* "$work/$name/"
    max_len=4096
    [[ $name == info_plist ]] && max_len=65536  # the largest Info.plist the program reads
    echo "fuzz: $name for ${seconds}s"
    if ! "$build/tests/fuzz/${name}_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -max_len="$max_len" -artifact_prefix="$work/" -print_final_stats=1 "$work/$name" >"$work/$name.log" 2>&1; then
        status=1
        echo "fuzz: $name FOUND A FAULT" >&2
        grep -E 'ERROR|SUMMARY|Test unit written|==[0-9]+==' "$work/$name.log" | head -20 >&2
        for artifact in "$work"/crash-* "$work"/timeout-* "$work"/oom-* "$work"/leak-*; do
            [[ -f $artifact ]] && { echo "fuzz: input (base64):" >&2; base64 -w0 "$artifact" >&2; echo >&2; }
        done
    fi
    grep -E '^(Done [0-9]+ runs|stat::number_of_executed_units)' "$work/$name.log" | sed "s/^/fuzz: $name: /" || true
done
exit $status
