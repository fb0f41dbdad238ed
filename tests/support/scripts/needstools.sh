#!/usr/bin/env bash
# Runs a test that needs programs of the desktop, or skips it (exit status 77, which CTest
# reports as skipped) naming the first one that is not installed.
# Usage: needstools.sh TOOL... -- COMMAND [ARGUMENT...]
set -euo pipefail
while [ $# -gt 0 ] && [ "$1" != "--" ]; do
    if ! command -v "$1" > /dev/null 2>&1; then
        echo "skipped: $1 is not installed (scripts/setup installs it)"
        exit 77
    fi
    shift
done
shift
exec "$@"
