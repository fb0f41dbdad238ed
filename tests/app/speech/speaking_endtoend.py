"""Speaks with the real program and the real engine (device-less sink, real time) under its
own X server, the way a person would, and reads the windows the way a screen reader does
(AT-SPI): the first piece is echoed and its words are marked as they are heard, Pause holds
the speech, Resume goes on, Stop returns to the idle look with the typed text back, and Demo
speaks the language's demo file. Run inside its own D-Bus session:
    dbus-run-session -- python3 speaking_endtoend.py PROGRAM RUNTIME_DIR
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi

TEXT = "The cat sat on the mat. The dog ran into the garden and barked at the birds."
FIRST_PIECE = "The cat sat on the mat. "


def fail(message):
    print("speaking end-to-end: " + message, file=sys.stderr)
    sys.exit(1)


def wait_until(what, condition, timeout=20.0):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.02)
    fail("timed out waiting for " + what)


def free_display():
    first = 100 + os.getpid() % 400
    for number in range(first, first + 100):
        if not os.path.exists(f"/tmp/.X11-unix/X{number}") and not os.path.exists(f"/tmp/.X{number}-lock"):
            return f":{number}"
    fail("no free display number")


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

    def key(self, name):
        subprocess.run(["xdotool", "windowfocus", "--sync", self.window], check=True)
        subprocess.run(["xdotool", "key", "--window", self.window, name], check=True)


def speak_pause_resume_stop(program):
    program.input.queryEditableText().setTextContents(TEXT)
    program.key("F5")
    wait_until("the first piece echoed", lambda: program.text() == FIRST_PIECE)
    if program.enabled(program.speak) or not program.enabled(program.stop):
        fail("the buttons do not show the speaking look")
    marks = set()
    while program.text() == FIRST_PIECE and len(marks) < 3:
        selected = program.selected()
        if selected:
            marks.add(selected)
        time.sleep(0.01)
    if not marks or not marks <= set(FIRST_PIECE.replace(".", "").split()):
        fail(f"the marks {sorted(marks)} are not words of the first piece")

    wait_until("the second piece", lambda: program.text().startswith("The dog"))
    program.press(program.pause)
    wait_until("the Resume look", lambda: program.pause.name == "Resume")
    held = program.shown()
    time.sleep(1.0)
    if program.shown() != held:
        fail("the speech went on while paused")
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


def main():
    program_path, runtime = sys.argv[1], sys.argv[2]
    work = tempfile.mkdtemp()
    display = free_display()
    xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.environ["DISPLAY"] = display
    program = None
    try:
        wait_until("the X server", lambda: subprocess.run(
            ["xdotool", "getdisplaygeometry"], capture_output=True).returncode == 0)
        program = Program(program_path, runtime, work)
        speak_pause_resume_stop(program)
        demo(program, runtime)
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
