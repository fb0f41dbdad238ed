#!/usr/bin/env bash
# Starts the real program with the real engine (null sink) under its own Xvfb in a copy of the
# start-up directory, drives it with key presses, quits through the question and checks what
# it wrote. Usage: endtoend.sh PROGRAM RUNTIME_DIR
set -euo pipefail
program=$1
runtime=$2

work=$(mktemp -d)
xvfb_pid=
program_pid=
cleanup() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

fail() {
    echo "end-to-end: $*" >&2
    exit 1
}

# A display number nobody uses.
display=
first=$((100 + $$ % 400))
for n in $(seq "$first" $((first + 100))); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
        display=":$n"
        break
    fi
done
[ -n "$display" ] || fail "no free display number"
Xvfb "$display" -screen 0 1024x768x24 -noreset -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
for _ in $(seq 50); do
    xdotool getdisplaygeometry >/dev/null 2>&1 && break
    sleep 0.1
done
xdotool getdisplaygeometry >/dev/null 2>&1 || fail "Xvfb did not start"
# Another test may have taken the same number a moment earlier: then ours has exited.
kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb on $display did not start"

cp -r "$runtime" "$work/run"
mkdir -p "$work/config/quenvar-voxtrial"
export XDG_CONFIG_HOME=$work/config
mkdir -m 700 "$work/xdg-runtime"
export XDG_RUNTIME_DIR=$work/xdg-runtime
profile=$work/config/quenvar-voxtrial/user.ini
printf '[sounds]\nSystemQuestion=chimes.wav\n' >"$profile"
# The first language starts quiet, so Defaults (F2) must change what is written back.
sed -i '0,/^Volume=8$/s//Volume=3/' "$work/run/SAYBENCH.INI"
grep -q '^Volume=3$' "$work/run/SAYBENCH.INI" || fail "could not prepare the settings file"

cd "$work/run"
SAYMGR_SINK=null QT_QPA_PLATFORM=xcb "$program" >"$work/program.log" 2>&1 &
program_pid=$!

main=$(timeout 20 xdotool search --sync --onlyvisible --name '^Quenvar Voxtrial$' | head -1) ||
    fail "the main window did not appear"
# The user's question sound is armed for the run.
for _ in $(seq 50); do
    grep -q '^SystemQuestion=ding.wav$' "$profile" && break
    sleep 0.1
done
grep -q '^SystemQuestion=ding.wav$' "$profile" || fail "question sound not armed"

keys() {
    xdotool windowfocus --sync "$main" 2>/dev/null || true
    xdotool key --clearmodifiers "$@"
    sleep 0.3
}
keys F4            # no entry in the accelerator table: nothing happens
keys F2            # Defaults for the current language
keys alt+o s       # Options > ShowMessage: echo off
keys alt+f x       # File > Exit: the quit question
sleep 0.5
xdotool key y      # answer Yes

for _ in $(seq 100); do
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$program_pid" 2>/dev/null && fail "the program did not end after Yes"
status=0
wait "$program_pid" || status=$?
program_pid=
[ "$status" -eq 0 ] || fail "exit code $status"

settings=$work/run/SAYBENCH.INI
awk '/^\[Language1\]/{f=1;next} /^\[/{f=0} f' "$settings" | grep -q '^Volume=8$' ||
    fail "Defaults not written: $(awk '/^\[Language1\]/,/^Speaker/' "$settings")"
grep -q '^TextOut=0$' "$settings" || fail "ShowMessage not written"
grep -q '^\[Languages\]' "$settings" || fail "settings file damaged"
grep -q '^SystemQuestion=chimes.wav$' "$profile" || fail "question sound not restored"
[ ! -s "$work/program.log" ] || fail "the program printed: $(cat "$work/program.log")"
