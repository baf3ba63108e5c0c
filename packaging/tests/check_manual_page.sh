#!/bin/sh
# Formats the manual page the way man does and fails on any complaint from the formatter.
page=$1
command -v groff >/dev/null || { echo "groff is not installed: not checked"; exit 77; }
out=$(LC_ALL=C.UTF-8 groff -man -Tutf8 -ww -z "$page" 2>&1)
if [ -n "$out" ]; then
    echo "$out"
    exit 1
fi
text=$(LC_ALL=C.UTF-8 groff -man -Tascii -P-cbou "$page" 2>&1)
for word in Escape 71 glimmerset-capture --output --fps --size --start --duration --assets --no-progress --help; do
    printf '%s' "$text" | grep -q -e "$word" || { echo "the page does not mention $word"; exit 1; }
done
