#!/usr/bin/env bash
# Installs a release build into a temporary prefix and uses it as a packager, a user and
# another program's developer would: the file list, the desktop entry and metainfo, the manual
# pages, the README's C example built with pkg-config and run, a CMake project built with
# find_package(saymgr), the headers alone as C11, voxtrial-cli without LD_LIBRARY_PATH, and
# the launcher making a user's start-up directory and ending cleanly on SIGTERM.
# Usage: installcheck.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
work=$(mktemp -d)
program_pid=
cleanup() {
    [ -n "$program_pid" ] && kill -KILL "$program_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "install check: $*" >&2
    exit 1
}
unset LD_LIBRARY_PATH
prefix=$work/prefix
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
cmake --install "$build" --prefix "$prefix" > /dev/null

echo "-- installed files"
(cd "$prefix" && find . \( -type f -o -type l \) | sed 's|^\./||' | sort) > "$work/installed"
{
    sed "s|MULTIARCH|$multiarch|" "$source/tests/install/expectedfiles.txt"
    (cd "$source/runtime" && find . -type f | sed 's|^\./|share/quenvar-voxtrial/|')
} | sort > "$work/expected"
diff -u "$work/expected" "$work/installed" || fail "the installed files differ from the list"

echo "-- desktop entry, metainfo, manual pages"
desktop-file-validate "$prefix/share/applications/org.quenvar.Voxtrial.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/org.quenvar.Voxtrial.metainfo.xml" > "$work/appstream" ||
    { cat "$work/appstream"; fail "the metainfo is not valid"; }
for page in "$prefix"/share/man/man1/*.1.gz; do
    warnings=$(cd "$prefix/share/man" && LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 > /dev/null)
    [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
done

echo "-- linking the installed engine"
export PKG_CONFIG_PATH=$prefix/lib/$multiarch/pkgconfig
for header in saymgr.h saymgr_ext.h; do
    echo "#include <$header>" | cc -std=c11 -pedantic -Wall -Wextra -Werror -fsyntax-only -x c - \
        $(pkg-config --cflags saymgr) || fail "$header does not compile alone as C11"
done
mkdir "$work/example"
awk '/<!-- linked-example -->/ { found = 1; next } found && /^```c/ { code = 1; next }
     code && /^```/ { exit } code' "$source/README.md" > "$work/example/hello.c"
[ -s "$work/example/hello.c" ] || fail "no C example in the README"
cc -std=c11 -pedantic -Wall -Wextra -Werror "$work/example/hello.c" -o "$work/example/hello" \
    $(pkg-config --cflags --libs saymgr) -Wl,-rpath,"$(pkg-config --variable=libdir saymgr)"
(cd "$work/example" && SAYMGR_SINK=null ./hello) || fail "the README's example failed"
[ "$(head -c 4 "$work/example/hello.wav")" = RIFF ] || fail "the example wrote no wave file"
cat > "$work/example/CMakeLists.txt" << 'CMAKE'
cmake_minimum_required(VERSION 3.25)
project(hello LANGUAGES C)
find_package(saymgr 1 REQUIRED)
add_executable(hello hello.c)
target_link_libraries(hello PRIVATE saymgr::saymgr)
CMAKE
cmake -S "$work/example" -B "$work/example/build" -DCMAKE_PREFIX_PATH="$prefix" > /dev/null
cmake --build "$work/example/build" > /dev/null || fail "find_package(saymgr) did not link"

echo "-- voxtrial-cli from the installed tree"
"$prefix/bin/voxtrial-cli" --null --text "Installed." --generate "$work/cli.wav"
[ "$(head -c 4 "$work/cli.wav")" = RIFF ] || fail "voxtrial-cli wrote no wave file"

echo "-- a long text written by the installed worker processes"
"$prefix/bin/voxtrial-cli" --null --file "$source/LICENSE" --jobs 2 --generate "$work/long.wav" ||
    fail "voxtrial-cli could not write a long text with two jobs"
[ "$(stat -c %s "$work/long.wav")" -gt 10000000 ] || fail "the long text's wave file is short"

echo "-- a regression suite recorded and checked by the installed tree"
suites=$prefix/share/doc/quenvar-voxtrial/examples/suites
"$prefix/bin/voxtrial-cli" suite record "$suites/example.json" --reference "$work/reference" \
    --no-progress > /dev/null || fail "voxtrial-cli could not record the example suite"
"$prefix/bin/voxtrial-cli" suite check "$suites/example.json" --reference "$work/reference" \
    --no-progress > /dev/null || fail "the example suite did not pass against its own reference"

echo "-- the desktop entry's command"
command=$(sed -n 's/^Exec=//p' "$prefix/share/applications/org.quenvar.Voxtrial.desktop")
startup=$work/data/quenvar-voxtrial
XDG_DATA_HOME=$work/data QT_QPA_PLATFORM=offscreen SAYMGR_SINK=null \
    "$prefix/bin/$command" > "$work/program.log" 2>&1 &
program_pid=$!
for _ in $(seq 200); do
    [ -e "$startup/SAYBENCH.LCK" ] && break
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.05
done
[ -e "$startup/SAYBENCH.LCK" ] || { cat "$work/program.log"; fail "the program did not start"; }
kill -TERM "$program_pid"
status=0
wait "$program_pid" || status=$?
program_pid=
[ "$status" -eq 0 ] || { cat "$work/program.log"; fail "the program ended with $status on SIGTERM"; }
for file in "$source"/runtime/*; do
    [ -e "$startup/$(basename "$file")" ] || fail "$(basename "$file") was not copied"
done
echo "install check passed"
