#!/bin/sh
# Writes IN to OUT compressed as Debian packages want it (gzip -9n), through FILTER if given.
# Usage: compress.sh IN OUT [FILTER]
set -eu
in=$1
out=$2
mkdir -p "$(dirname "$out")"
if [ $# -ge 3 ]; then
    "$3" < "$in" | gzip -9n > "$out"
else
    gzip -9n < "$in" > "$out"
fi
