#!/bin/sh
# The man page passes mandoc's lint: no error, no warning and no style note,
# except references to manuals that this machine does not have (ln(1) and
# echo(1) are missing from minimal systems).
# usage: man_lint_test.sh PAGE; exit status 77 (skipped) without mandoc
command -v mandoc >/dev/null 2>&1 || { echo "mandoc is not installed"; exit 77; }
# -T lint writes its messages to standard output; standard error carries only
# notes about this machine's manual database.
messages=$(mandoc -T lint "$1" 2>/dev/null)
status=$?
remaining=$(printf '%s\n' "$messages" | grep -v 'STYLE: referenced manual not found' | grep -v '^$')
if [ "$status" -gt 1 ] || [ -n "$remaining" ]; then
    printf '%s\n' "$messages"
    exit 1
fi
echo "mandoc -T lint: clean"
