#!/usr/bin/python3
"""A crash of the real client ends, in one click, with the report on the
house server and the user back in the lobby.

On a virtual X display with a window manager, the real Tessaly (started
from a copy of the install, with arguments of its own) is in its lobby
when its main thread gets SIGSEGV. The crash guard writes the report and
the dump and starts the real Bugrelay, whose window "Tessaly closed
unexpectedly" is found over AT-SPI; the test writes what it was doing and
clicks "Send and restart" by its accessible name. Then the house server
must hold the report (fields, dump, report text) under the number the
window shows, the crash's files must be gone from the install, and a new
Tessaly, started with the same arguments, must be in its lobby.

Run under dbus-run-session (ctest does); needs Xvfb, openbox, xdotool,
at-spi2-core and python3-pyatspi.
"""

import ctypes
import os
import shutil
import signal
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from desktop_session import (Failure, House, Suite, application, click, control, describe_windows,  # noqa: E402
                             screenshot, type_into, wait_for, window_named)

DIST = os.environ["TESSALY_DIST_DIR"]
ARGUMENTS = ["-style", "Fusion"]
COMMENT = "watching a hand at Testbed"
SYS_TGKILL = 234


def command_line(pid):
    try:
        with open(f"/proc/{pid}/cmdline", "rb") as f:
            return [part.decode() for part in f.read().split(b"\0")[:-1]]
    except OSError:
        return None


def lobby_pid():
    """The process of the Tessaly whose lobby shows, if one does."""
    if window_named(r"Welcome to") is None:
        return None
    app = application()
    return app.get_process_id() if app is not None else None


def stored_report(house):
    """The one report folder of the house's inbox, once its fields are written."""
    inbox = os.path.join(house.data, "crash-reports")
    if not os.path.isdir(inbox):
        return None
    folders = [name for name in os.listdir(inbox) if not name.startswith(".")]
    if len(folders) != 1:
        return None
    return os.path.join(inbox, folders[0])


def read(path, mode="r"):
    with open(path, mode) as f:
        return f.read()


def main():
    root = tempfile.mkdtemp(prefix="tessaly-crash-")
    suite = Suite(root)
    started = []
    try:
        suite.start_desktop()
        house = House(suite, ["--bots", "1"])
        install = os.path.join(root, "install")
        shutil.copytree(DIST, install, symlinks=True)
        program = os.path.join(install, "Tessaly")
        env = house.client_environment(suite)
        client = suite.start([program, *ARGUMENTS], env=env, cwd=root,
                             stdout=subprocess.DEVNULL, stderr=open(os.path.join(root, "client.err"), "w"))
        first = wait_for(lobby_pid, 60, "the lobby")
        if first != client.pid:
            raise Failure(f"the lobby belongs to process {first}, not to the client {client.pid}")

        # A fault on the client's main thread.
        libc = ctypes.CDLL(None, use_errno=True)
        if libc.syscall(SYS_TGKILL, client.pid, client.pid, signal.SIGSEGV) != 0:
            raise Failure("tgkill failed")
        if client.wait(30) != 128 + signal.SIGSEGV:
            raise Failure(f"the client ended with {client.returncode}")

        window = wait_for(lambda: window_named(r"Tessaly closed unexpectedly", "Bugrelay"), 30, "Bugrelay's window")
        started.append(application("Bugrelay").get_process_id())
        type_into(suite, wait_for(lambda: control(window, "text", r"What were you doing\? \(optional\)"), 10,
                                  "the comments box"), COMMENT)
        screenshot(suite, os.path.join(root, "asked.png"))
        click(suite, wait_for(lambda: control(window, "push button", "Send and restart"), 10, "Send and restart"))

        # The house has it, and the window shows its number.
        report = wait_for(lambda: stored_report(house), 30, "the report on the house server")
        fields = wait_for(lambda: os.path.exists(os.path.join(report, "fields.txt")) and
                          read(os.path.join(report, "fields.txt")), 10, "the report's fields")
        for line in ("prod=Tessaly\n", "ver=6.7\n", f"comments={COMMENT}\n"):
            if line not in fields:
                raise Failure(f"{line!r} is not among the stored fields:\n{fields}")
        if not read(os.path.join(report, "upload_file_minidump"), "rb").startswith(b"MDMP"):
            raise Failure("the stored dump is no minidump")
        if not read(os.path.join(report, "upload_file_report")).startswith("Tessaly caused "):
            raise Failure("the stored report is not the crash's")
        number = os.path.basename(report)
        wait_for(lambda: control(window, "label", rf"Thank you: the report was sent\. Its number is {number}\."), 30,
                 "the report's number in the window")
        for name in ("ERRORLOG.TXT", "CRASH.DMP"):
            if os.path.exists(os.path.join(install, name)):
                raise Failure(f"{name} is still in the install after the report was sent")
        if os.listdir(os.path.join(install, "unsent-reports")):
            raise Failure("a report still waits in unsent-reports")

        # The client is back in its lobby, started as it was.
        second = wait_for(lambda: (pid := lobby_pid()) is not None and pid != first and pid, 60, "the new lobby")
        started.append(second)
        screenshot(suite, os.path.join(root, "back.png"))
        if command_line(second) != [program, *ARGUMENTS]:
            raise Failure(f"the client was started again as {command_line(second)}")
        print(f"report {number} stored; Tessaly back in its lobby as process {second}")
        print("1 passed, 0 failed")
        return 0
    except Failure as failure:
        print("FAILED:", failure)
        print(describe_windows())
        screenshot(suite, os.path.join(root, "failure.png"))
        return 1
    finally:
        # The sender and the client it started are no children of the suite.
        for pid in started:
            if pid and command_line(pid) and command_line(pid)[0].startswith(install):
                os.kill(pid, signal.SIGTERM)
        suite.close()
        if os.environ.get("TESSALY_KEEP_E2E") is None:
            shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
