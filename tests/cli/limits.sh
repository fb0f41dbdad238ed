#!/usr/bin/env bash
# voxtrial-cli's examples under hard limits: a file size of 1 MB, 512 MiB of address space, and
# (run as an unprivileged user, where the limit holds) 4 processes and threads. Each run must end
# with exit status 0, or 1 with a message; never a signal; and leave no temporary file behind.
#   limits.sh VOXTRIAL-CLI RUNTIME-FOLDER
set -u
cli=$(realpath "$1")
runtime=$(realpath "$2")
work=$(mktemp -d)
chmod 777 "$work"
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
cp "$runtime/SAMPLE_EN.DCT" .
printf 'Hello world. This brief letter is read aloud.\n' > brief.txt
for i in $(seq 400); do printf 'This sentence is one of many that fill a long story. '; done > story.txt
chmod 666 ./*

failures=0
# check EXPECTED-STATUS MESSAGE-OR-EMPTY STANDARD-OUTPUT LIMITS... :: ARGUMENTS...
check() {
    local expected=$1 message=$2 output=$3
    shift 3
    local limits=()
    while [ "$1" != "::" ]; do limits+=("$1"); shift; done
    shift
    "${limits[@]}" env SAYMGR_SINK=null SAYMGR_PACE=0 "$cli" "$@" > "$output" 2> err.txt
    local status=$?
    local leftovers
    leftovers=$(find . -name '.vxt*' -o -name 'voxtrial-dict-*' | head -n 3)
    if [ "$status" != "$expected" ] || ! grep -q -- "$message" err.txt || [ -n "$leftovers" ]; then
        echo "FAILED: ${limits[*]} voxtrial-cli $* -> status $status (wanted $expected)" \
             "${leftovers:+left $leftovers}: $(head -c 300 err.txt)"
        failures=$((failures + 1))
    fi
    rm -f ./.vxt* out.txt err.txt
}

limited=(prlimit --fsize=1000000 --as=536870912 --)
check 0 "" out.txt "${limited[@]}" :: --list-languages
check 0 "" out.txt "${limited[@]}" :: --events --text "Hello world."
check 0 "" out.txt "${limited[@]}" :: --file brief.txt --generate brief.wav --format wav16 --frequency 11
check 0 "" out.txt "${limited[@]}" :: --compile SAMPLE_EN.DCT sample.dcb
check 0 "" out.txt "${limited[@]}" :: --text "Hello world." --generate hello.wav --subtitles hello.srt --report
check 0 "" out.txt "${limited[@]}" :: --events-json --text "Hello world."
check 0 "" out.txt "${limited[@]}" :: --phonemes --text "Hello world."
check 1 "File writing error!" out.txt "${limited[@]}" :: --file story.txt --generate story.wav --format wav16
check 1 "more than 32 MiB of text" out.txt "${limited[@]}" :: --file /dev/zero --generate zero.wav --format wav16
check 1 "cannot write the output" /dev/full "${limited[@]}" :: --list-languages

total=10
# The process limit holds only for a user without privileges, who must reach the program.
if [ "$(id -u)" = 0 ] && id nobody > /dev/null 2>&1 && runuser -u nobody -- test -x "$cli"; then
    few=(runuser -u nobody -- prlimit --nproc=4 --)
    check 1 "TTS instance creation error!" out.txt "${few[@]}" :: --text hi --generate few.wav --format wav16
    total=11
fi

echo "$((total - failures)) passed, $failures failed"
[ "$failures" = 0 ]
