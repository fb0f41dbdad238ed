#!/usr/bin/env bash
# Starts the real program with the real engine (null sink) under its own Xvfb in a copy of the
# start-up directory, drives it with key presses, quits through the question and checks what
# it wrote. Then starts it with command lines around the extended-mode word and tells the mode
# by what the Options menu's "s" does: in normal mode it toggles "&ShowMessage", in extended
# mode "&Speaker" shares the letter and it only moves between the two. Last, with a window
# manager, opens and closes the About box, its supporting-group credits and the System Mode
# sheet by their keys. Every wait is for a window, a file or the process, never for a fixed
# time. Usage: endtoend.sh PROGRAM RUNTIME_DIR
set -euo pipefail
program=$1
runtime=$2

work=$(mktemp -d)
xvfb_pid=
program_pid=
wm_pid=
cleanup() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

fail() {
    echo "end-to-end: $*" >&2
    exit 1
}

# Xvfb picks a free display itself and names it once it accepts connections.
mkfifo "$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -noreset -nolisten tcp 3>"$work/display" \
    >/dev/null 2>&1 &
xvfb_pid=$!
read -r -t 20 number <"$work/display" || fail "Xvfb did not start"
export DISPLAY=:$number

mkdir -p "$work/config/quenvar-voxtrial"
export XDG_CONFIG_HOME=$work/config
mkdir -m 700 "$work/xdg-runtime"
export XDG_RUNTIME_DIR=$work/xdg-runtime
profile=$work/config/quenvar-voxtrial/user.ini
printf '[sounds]\nSystemQuestion=chimes.wav\n' >"$work/user.ini"
cp "$work/user.ini" "$profile"
settings=$work/run/SAYBENCH.INI

# Polls `condition...` until it holds, for up to 20 seconds.
# wait_until [-s SECONDS] COMMAND...: polls COMMAND until it succeeds (20 s by default).
wait_until() {
    local limit=20
    if [ "$1" = -s ]; then
        limit=$2
        shift 2
    fi
    local deadline=$((SECONDS + limit))
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.05
    done
}

# Starts the program with the given arguments in a fresh copy of the start-up directory, whose
# first language starts quiet (so that Defaults changes what is written back), and waits until
# its main window is shown and has the keyboard.
start_program() {
    rm -rf "$work/run"
    cp -r "$runtime" "$work/run"
    sed -i '0,/^Volume=8$/s//Volume=3/' "$settings"
    grep -q '^Volume=3$' "$settings" || fail "could not prepare the settings file"
    (cd "$work/run" && exec timeout 60 env SAYMGR_SINK=null QT_QPA_PLATFORM=xcb "$program" "$@") \
        >"$work/program.log" 2>&1 &
    program_pid=$!
    main=$(timeout 20 xdotool search --sync --onlyvisible --name '^Quenvar Voxtrial$' |
        head -1) || fail "the main window did not appear ($*)"
    timeout 20 xdotool windowfocus --sync "$main" || fail "the main window took no keys ($*)"
}

# The window id of the quit question: a second visible window with the program's caption.
question_box() {
    box=$(xdotool search --onlyvisible --name '^Quenvar Voxtrial$' 2>/dev/null |
        grep -vx "$main" | head -1) || true
    [ -n "$box" ]
}

# File > Exit, then Yes to the quit question once it is shown; waits for the program to end
# and checks what every run must leave.
quit_program() {
    # A busy machine may swallow the menu's keys before the menu is open: ask again.
    local attempt
    for attempt in 1 2 3 4; do
        xdotool key --clearmodifiers alt+f x
        wait_until -s 10 question_box && break
    done
    question_box || fail "the quit question did not appear"
    # The question is asked with the program's own sound.
    grep -q '^SystemQuestion=ding.wav$' "$profile" || fail "question sound not armed"
    timeout 20 xdotool windowfocus --sync "$box" || fail "the quit question took no keys"
    xdotool key y
    local status=0
    wait "$program_pid" || status=$?
    program_pid=
    [ "$status" -eq 0 ] || fail "exit code $status"
    cmp -s "$profile" "$work/user.ini" || fail "question sound not restored: $(cat "$profile")"
    grep -q '^\[Languages\]' "$settings" || fail "settings file damaged"
    [ ! -s "$work/program.log" ] || fail "the program printed: $(cat "$work/program.log")"
}

# Without arguments: F4 (no entry in the accelerator table: nothing happens), F2 (Defaults for
# the current language) and Options > ShowMessage (echo off).
start_program
xdotool key --clearmodifiers F4 F2 alt+o s
quit_program
awk '/^\[Language1\]/{f=1;next} /^\[/{f=0} f' "$settings" | grep -q '^Volume=8$' ||
    fail "Defaults not written: $(awk '/^\[Language1\]/,/^Speaker/' "$settings")"
grep -q '^TextOut=0$' "$settings" || fail "ShowMessage not written"

# Only the word alone starts extended mode, also when Qt's own options stand beside it.
for line in "SAYRUN" "SAYRUN -reverse" "-style fusion SAYRUN"; do
    # shellcheck disable=SC2086
    start_program $line
    xdotool key --clearmodifiers alt+o s Escape
    quit_program
    expected=0
    [ "$line" = "SAYRUN" ] && expected=1
    grep -q "^TextOut=$expected\$" "$settings" ||
        fail "\"$line\" started the wrong mode: $(grep '^TextOut' "$settings")"
done

# shown TITLE / gone TITLE: whether a visible window's title starts with TITLE.
shown() {
    xdotool search --onlyvisible --name "^$1" >/dev/null 2>&1
}
gone() {
    ! shown "$1"
}

# focus_on TITLE: waits for the window and gives it the keys.
focus_on() {
    wait_until shown "$1" || fail "\"$1\" did not appear"
    local window
    window=$(xdotool search --onlyvisible --name "^$1" | head -1)
    timeout 20 xdotool windowfocus --sync "$window" || fail "\"$1\" took no keys"
}

# close_with KEY TITLE: presses KEY and waits until the window is gone.
close_with() {
    xdotool key "$1"
    wait_until gone "$2" || fail "$1 did not close \"$2\""
}

# With a window manager, as a person works: F9 opens the About box and Escape closes it; in a
# new one Control+Alt+End opens the supporting group, whose OK leaves the About box open; the
# System Mode sheet opens from its menu item and OK closes it.
openbox >/dev/null 2>&1 &
wm_pid=$!
wait_until sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' ||
    fail "the window manager did not start"
about='About Quenvar Voxtrial'
start_program
xdotool key F9
focus_on "$about"
close_with Escape "$about"
timeout 20 xdotool windowfocus --sync "$main" || fail "the main window took no keys"
xdotool key F9
focus_on "$about"
xdotool key ctrl+alt+End
focus_on 'Members of Supporting Group'
close_with Return 'Members of Supporting Group'
shown "$about" || fail "the About box closed with the credits"
focus_on "$about"
close_with Escape "$about"
timeout 20 xdotool windowfocus --sync "$main" || fail "the main window took no keys"
xdotool key alt+o m
focus_on 'Set System Speech Mode'
close_with Return 'Set System Speech Mode'
timeout 20 xdotool windowfocus --sync "$main" || fail "the main window took no keys"
quit_program
