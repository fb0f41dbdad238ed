"""Speaks with the real program and the real engine (device-less sink, real time) under its
own X server, the way a person would, and reads the windows the way a screen reader does
(AT-SPI): the first piece is echoed and its words are marked as they are heard, Pause holds
the speech, Resume goes on, Stop returns to the idle look with the typed text back, and Demo
speaks the language's demo file. Then Ctrl+M opens the bench monitor, whose event log fills
while a sentence is spoken, and its SRT, CSV and PNG exports, written through the file dialog
from the keyboard, are read back. Every wait is on the program's AT-SPI events: a condition is
checked again whenever the program reports a change, never on a timer. Run inside its own D-Bus
session:
    dbus-run-session -- python3 speaking_endtoend.py PROGRAM RUNTIME_DIR
"""
import csv
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile

import pyatspi
from gi.repository import Gio, GLib

TEXT = "The cat sat on the mat. The dog ran into the garden and barked at the birds."
FIRST_PIECE = "The cat sat on the mat. "
MONITOR_TEXT = "Seven quick brown foxes jump over the lazy dogs."


def fail(message):
    print("speaking end-to-end: " + message, file=sys.stderr)
    sys.exit(1)


# Every kind of event a Qt program sends: a change of a text, a selection, a state, a name, a
# child or a window.
EVENT_KINDS = ("object", "window", "focus")


def run_events(on_event, seconds, sources=()):
    """Hands every AT-SPI event to on_event (and None at the start and on each change a file
    monitor in `sources` reports) until it answers True or `seconds` pass; returns whether
    on_event ended it."""
    outcome = {"ended": False, "expired": False}

    def listener(event):
        if not outcome["ended"] and on_event(event):
            outcome["ended"] = True
            pyatspi.Registry.stop()

    def expire():
        outcome["expired"] = True
        pyatspi.Registry.stop()
        return False

    for kind in EVENT_KINDS:
        pyatspi.Registry.registerEventListener(listener, kind)
    handlers = [(source, source.connect("changed", lambda *_: listener(None)))
                for source in sources]
    GLib.idle_add(lambda: listener(None) and False)
    timer = GLib.timeout_add(int(seconds * 1000), expire)
    try:
        pyatspi.Registry.start()
    finally:
        for kind in EVENT_KINDS:
            pyatspi.Registry.deregisterEventListener(listener, kind)
        for source, handler in handlers:
            source.disconnect(handler)
        if not outcome["expired"]:
            GLib.source_remove(timer)
    return outcome["ended"]


def wait_until(what, condition, timeout=20.0, sources=()):
    """Checks `condition` now and after each event of the program (and of `sources`) until it
    holds."""
    found = []

    def check(_event):
        value = condition()
        if value:
            found.append(value)
        return bool(value)

    if not run_events(check, timeout, sources):
        fail("timed out waiting for " + what)
    return found[0]


def events_from(node, seconds):
    """The events that `node` sends within `seconds`."""
    seen = []

    def record(event):
        if event is not None and event.source == node:
            seen.append(event.type)
        return False

    run_events(record, seconds)
    return seen


def start_x_server():
    """An X server on a display of its own, which it names once it accepts clients."""
    read, write = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24",
                             "-nolisten", "tcp"], pass_fds=(write,),
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as names:
        number = names.readline().strip()
    if not number:
        fail("the X server did not start")
    return xvfb, ":" + number


def find(node, role, name):
    if node is None:
        return None
    if node.getRoleName() == role and node.name == name:
        return node
    for child in node:
        found = find(child, role, name)
        if found is not None:
            return found
    return None


class Program:
    def __init__(self, program, runtime, work):
        env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb",
                   SAYMGR_SINK="null", SAYMGR_PACE="1", XDG_CONFIG_HOME=work + "/config",
                   XDG_RUNTIME_DIR=work + "/xdg-runtime")
        os.makedirs(work + "/xdg-runtime", mode=0o700)
        shutil.copytree(runtime, work + "/run")
        self.process = subprocess.Popen([program], cwd=work + "/run", env=env,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        window = subprocess.run(["xdotool", "search", "--sync", "--name", "^Quenvar Voxtrial$"],
                                capture_output=True, text=True, timeout=60).stdout.split()
        self.window = window[0]
        app = wait_until("the program on the accessibility bus", self.application)
        self.input = wait_until("the input window", lambda: find(app, "text", "Text to speak"))
        self.speak = find(app, "push button", "Speak")
        self.stop = find(app, "push button", "Stop")
        self.pause = find(app, "push button", "Pause or resume")
        self.demo = find(app, "push button", "Speak the demo text")

    @staticmethod
    def application():
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "voxtrial":
                return app
        return None

    def text(self):
        return self.input.queryText().getText(0, -1)

    def selected(self):
        text = self.input.queryText()
        if text.getNSelections() == 0:
            return ""
        start, end = text.getSelection(0)
        return text.getText(start, end)

    def shown(self):
        return (self.text(), self.selected())

    @staticmethod
    def enabled(button):
        return button.getState().contains(pyatspi.STATE_ENABLED)

    @staticmethod
    def press(button):
        button.queryAction().doAction(0)

    # Typed to the focus as a person types, once the program has taken the window as its active
    # one (a moment after the X focus). Not sent to the window: a key that opens another window
    # moves the focus before its release, which would then miss the server and leave it held.
    def key(self, name, window=None):
        window = window or self.window
        subprocess.run(["xdotool", "windowfocus", "--sync", window], check=True)
        title = subprocess.run(["xdotool", "getwindowname", window], capture_output=True,
                               text=True, check=True).stdout.rstrip("\n")
        wait_until(title + " active", lambda: self.active(title))
        subprocess.run(["xdotool", "key", name], check=True)

    @staticmethod
    def active(title):
        return Program.window_in_state(title, pyatspi.STATE_ACTIVE)

    @staticmethod
    def showing(title):
        return Program.window_in_state(title, pyatspi.STATE_SHOWING)

    @staticmethod
    def window_in_state(title, state):
        return any(window is not None and window.name == title and
                   window.getState().contains(state)
                   for window in Program.application() or [])


def speak_pause_resume_stop(program):
    program.input.queryEditableText().setTextContents(TEXT)
    program.key("F5")
    wait_until("the first piece echoed", lambda: program.text() == FIRST_PIECE)
    if program.enabled(program.speak) or not program.enabled(program.stop):
        fail("the buttons do not show the speaking look")
    marks = set()

    def mark_seen():
        selected = program.selected()
        if selected:
            marks.add(selected)
        return program.text() != FIRST_PIECE or len(marks) >= 3

    wait_until("the first piece's words marked", mark_seen)
    if not marks or not marks <= set(FIRST_PIECE.replace(".", "").split()):
        fail(f"the marks {sorted(marks)} are not words of the first piece")

    wait_until("the second piece", lambda: program.text().startswith("The dog"))
    program.press(program.pause)
    wait_until("the Resume look", lambda: program.pause.name == "Resume")
    # A word heard just before the pause may still be on its way to the window; then, for a
    # second, the input window must report no change at all.
    events_from(program.input, 0.3)
    held = program.shown()
    changes = events_from(program.input, 1.0)
    if changes or program.shown() != held:
        fail(f"the speech went on while paused: {held}, then {changes} and {program.shown()}")
    program.press(program.pause)
    wait_until("the speech going on after Resume", lambda: program.shown() != held)

    program.press(program.stop)
    wait_until("the idle look after Stop", lambda: program.enabled(program.speak))
    wait_until("the typed text back", lambda: program.text() == TEXT)


def demo(program, runtime):
    with open(os.path.join(runtime, "DEMO_EN_US.TXT"), encoding="cp1252") as file:
        first_words = " ".join(file.read().split()[:2])
    program.press(program.demo)
    wait_until("the demo text echoed", lambda: program.text().startswith(first_words))
    program.press(program.stop)
    wait_until("the idle look after the demo", lambda: program.enabled(program.demo))


def window_named(title):
    return subprocess.run(["xdotool", "search", "--sync", "--name", "^" + title + "$"],
                          capture_output=True, text=True, timeout=30).stdout.split()[0]


# The dialog opens in the start-up directory; the file name alone is typed (a typed folder
# would open the name completer's popup, which takes keys).
def export_from_keyboard(program, monitor, key, title, path):
    # The folder is watched (inotify) from before the file can appear.
    folder = Gio.File.new_for_path(os.path.dirname(path)).monitor_directory(
        Gio.FileMonitorFlags.NONE, None)
    program.key(key, monitor)
    dialog = window_named(title)
    # The X window exists a moment before it is mapped, and only a mapped one takes the focus.
    wait_until(title + " shown", lambda: Program.showing(title))
    subprocess.run(["xdotool", "windowfocus", "--sync", dialog], check=True)
    subprocess.run(["xdotool", "type", "--delay", "20", os.path.basename(path)], check=True)
    subprocess.run(["xdotool", "key", "Return"], check=True)
    # Written and closed, and the dialog gone.
    wait_until(title + " written", lambda: Program.active("Bench Monitor") and
               os.path.exists(path) and os.path.getsize(path) > 0, sources=(folder,))
    folder.cancel()


def read_srt(path):
    with open(path, encoding="utf-8") as file:
        blocks = [block for block in file.read().split("\n\n") if block.strip()]
    cues = []
    for number, block in enumerate(blocks, 1):
        index, timing, text = block.split("\n", 2)
        match = re.fullmatch(r"(\d\d):(\d\d):(\d\d),(\d{3}) --> (\d\d):(\d\d):(\d\d),(\d{3})",
                             timing)
        if int(index) != number or not match:
            fail(f"cue {number} of the SRT export is malformed: {block!r}")
        h1, m1, s1, f1, h2, m2, s2, f2 = map(int, match.groups())
        cues.append(((h1 * 60 + m1) * 60000 + s1 * 1000 + f1,
                     (h2 * 60 + m2) * 60000 + s2 * 1000 + f2, text))
    return cues


def bench_monitor(program, work):
    program.key("ctrl+m")
    monitor = window_named("Bench Monitor")
    app = Program.application()
    events = wait_until("the event log", lambda: find(app, "table", "Event log"))
    program.input.queryEditableText().setTextContents(MONITOR_TEXT)
    # The button, not F5: a loaded machine may deliver the key to the monitor, which has the focus.
    program.press(program.speak)
    wait_until("the log filling while speaking",
               lambda: not program.enabled(program.speak) and events.queryTable().nRows >= 3)
    wait_until("the end of the speech", lambda: program.enabled(program.speak), timeout=30)
    words = MONITOR_TEXT.replace(".", "").split()
    wait_until("every event logged", lambda: events.queryTable().nRows >= len(words) + 3)

    srt = os.path.join(work, "run", "words.srt")
    export_from_keyboard(program, monitor, "alt+s", "Export the Subtitles as SRT", srt)
    cues = read_srt(srt)
    if " ".join(text for _, _, text in cues).split() != words:
        fail(f"the SRT cues {cues} do not hold the words of the text")
    if any(start >= end for start, end, _ in cues) or \
            any(a[1] > b[0] for a, b in zip(cues, cues[1:])):
        fail(f"the SRT cues {cues} are out of order or overlap")

    table = os.path.join(work, "run", "log.csv")
    export_from_keyboard(program, monitor, "alt+c", "Export the Event Log as CSV", table)
    with open(table, newline="", encoding="utf-8") as file:
        rows = list(csv.DictReader(file))
    if [row["text"] for row in rows if row["name"] == "word"] != words or \
            rows[0]["name"] != "start" or rows[-1]["name"] != "end" or \
            any(row["sample"] == "" for row in rows):
        fail(f"the CSV export does not log the speech: {rows}")

    image = os.path.join(work, "run", "wave.png")
    export_from_keyboard(program, monitor, "alt+p", "Export the Waveform as PNG", image)
    with open(image, "rb") as file:
        header = file.read(24)
    width, height = struct.unpack(">II", header[16:24])
    audio_ms = float(rows[-1]["audioMs"])
    if header[:8] != b"\x89PNG\r\n\x1a\n" or abs(width - audio_ms / 10) > 2 or height <= 0:
        fail(f"the PNG export is not the waveform of {audio_ms} ms: {header!r}")

    # Sent to the focus, not the window: the window is gone before the key's release.
    subprocess.run(["xdotool", "windowfocus", "--sync", monitor], check=True)
    subprocess.run(["xdotool", "key", "Escape"], check=True)
    wait_until("the monitor closed", lambda: not Program.showing("Bench Monitor"))


def main():
    program_path, runtime = sys.argv[1], sys.argv[2]
    work = tempfile.mkdtemp()
    xvfb, display = start_x_server()
    os.environ["DISPLAY"] = display
    program = None
    try:
        program = Program(program_path, runtime, work)
        speak_pause_resume_stop(program)
        demo(program, runtime)
        bench_monitor(program, work)
    finally:
        if program is not None:
            program.process.kill()
            program.process.wait()
        xvfb.kill()
        xvfb.wait()
        shutil.rmtree(work, ignore_errors=True)
    print("speaking end-to-end: passed")


if __name__ == "__main__":
    main()
