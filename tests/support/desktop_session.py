"""Drives the real Tessaly client on a virtual desktop, as a person would.

A Suite starts Xvfb on a free display, openbox and the accessibility bus;
House starts tessaly-house on free loopback ports. Controls are found over
AT-SPI by role and accessible name and clicked or typed into with xdotool.
Run under dbus-run-session, so the accessibility bus is the test's own.
"""

import os
import re
import select
import socket
import subprocess
import time

import pyatspi

TOOLS = os.environ.get("TESSALY_TOOLS_DIR", "")


class Failure(Exception):
    pass


def wait_for(condition, seconds, what):
    deadline = time.monotonic() + seconds
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure("timed out waiting for " + what)
        time.sleep(0.05)


class Suite:
    """Every program the test starts; all are ended when it ends."""

    def __init__(self, root):
        self.root = root
        self.processes = []
        self.display = None
        self.env = dict(os.environ)

    def start(self, args, **kwargs):
        process = subprocess.Popen(args, env=kwargs.pop("env", self.env), **kwargs)
        self.processes.append(process)
        return process

    def close(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(5)
                except subprocess.TimeoutExpired:
                    process.kill()

    def start_desktop(self, size="1280x1024"):
        # Xvfb picks a free display itself and names it once it takes
        # connections: two desktops started at once never share one.
        chosen, told = os.pipe()
        self.start(["Xvfb", "-displayfd", str(told), "-screen", "0", size + "x24", "-dpi", "96", "-nolisten", "tcp"],
                   pass_fds=(told,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(told)
        with os.fdopen(chosen) as answer:
            if not select.select([answer], [], [], 10)[0]:
                raise Failure("timed out waiting for Xvfb")
            number = answer.readline().strip()
        if not number:
            raise Failure("Xvfb did not start")
        self.display = f":{number}"
        self.env["DISPLAY"] = self.display
        said = os.path.join(self.root, "openbox.log")
        window_manager = self.start(["openbox"], stdout=subprocess.DEVNULL, stderr=open(said, "w"))
        # Windows mapped before the window manager is in charge stay
        # undecorated and unstacked, and activating one does nothing: a
        # table window left over the lobby takes the double click on its row.
        wait_for(lambda: window_manager.poll() is not None or window_manager_running(self.env), 15, "openbox")
        if window_manager.poll() is not None:
            with open(said, errors="replace") as f:
                raise Failure(f"openbox ended with code {window_manager.returncode}: {f.read().strip()}")
        self.start(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_for(accessibility_bus_up, 10, "the accessibility bus")


def accessibility_bus_up():
    """Whether the session bus has the accessibility bus's launcher."""
    from gi.repository import Gio, GLib
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    reply = bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "NameHasOwner",
                          GLib.Variant("(s)", ("org.a11y.Bus",)), None, Gio.DBusCallFlags.NONE, 2000, None)
    return reply.unpack()[0]


def window_manager_running(env):
    """Whether a window manager has announced itself on the root window."""
    shown = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=env, capture_output=True, text=True)
    return "window id" in shown.stdout


def xdotool(suite, *args):
    subprocess.run(["xdotool", *args], env=suite.env, check=False,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def x_window(suite, pattern):
    """The X window whose title matches, found with xdotool: no accessibility needed."""
    found = subprocess.run(["xdotool", "search", "--name", pattern], env=suite.env, capture_output=True, text=True)
    return found.stdout.split()[0] if found.stdout.split() else None


# ---- the accessibility tree -------------------------------------------------

# An application that is still registering or already gone answers with an
# error: to a test that waits, it is not there yet.

def application(name="Tessaly"):
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        try:
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name == name:
                return app
        except Exception:
            continue
    return None


def showing(accessible):
    try:
        return accessible.getState().contains(pyatspi.STATE_SHOWING)
    except Exception:
        return False


def descendants(accessible, depth=0):
    if accessible is None or depth > 8:
        return
    try:
        count = accessible.childCount
    except Exception:
        return
    for i in range(count):
        try:
            child = accessible.getChildAtIndex(i)
        except Exception:
            continue
        if child is None:
            continue
        yield child
        yield from descendants(child, depth + 1)


def windows(app_name="Tessaly"):
    app = application(app_name)
    if app is None:
        return []
    found = []
    try:
        for i in range(app.childCount):
            found.append(app.getChildAtIndex(i))
    except Exception:
        pass
    return found


def window_named(pattern, app_name="Tessaly"):
    for window in windows(app_name):
        try:
            if window is not None and re.search(pattern, window.name or "") and showing(window):
                return window
        except Exception:
            continue
    return None


def control(window, role, pattern):
    """The showing control of that role whose name matches the pattern."""
    for child in descendants(window):
        try:
            if child.getRoleName() == role and re.fullmatch(pattern, child.name or "") and showing(child):
                return child
        except Exception:
            continue
    return None


def table_row(lobby, table):
    """The first cell of the lobby's row of that table (each cell is named
    after its column)."""
    return control(lobby, "table cell", "Table Name: " + re.escape(table))


def showing_controls(window):
    """Every showing control of the window as (role, name, accessible), in one walk."""
    found = []
    for child in descendants(window):
        try:
            if showing(child):
                found.append((child.getRoleName(), child.name or "", child))
        except Exception:
            continue
    return found


def screenshot(suite, path):
    subprocess.run(["import", "-window", "root", path], env=suite.env, check=False,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def centre(accessible):
    extents = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return extents.x + extents.width // 2, extents.y + extents.height // 2


def click(suite, accessible):
    click_at(suite, centre(accessible))


def click_at(suite, point, double=False):
    # No --sync: it waits for the pointer to move, and a second click on the
    # same button would leave it where it is.
    x, y = point
    xdotool(suite, "mousemove", str(x), str(y), "click", *(["--repeat", "2", "--delay", "80"] if double else []), "1")


def type_into(suite, accessible, text):
    click(suite, accessible)
    xdotool(suite, "key", "ctrl+a")
    xdotool(suite, "type", "--delay", "30", text)


# ---- the house server and the client ---------------------------------------------

class House:
    """tessaly-house on free loopback ports, with its data in the suite's folder."""

    def __init__(self, suite, arguments):
        self.log = os.path.join(suite.root, "log")
        os.makedirs(self.log, exist_ok=True)
        self.data = os.path.join(suite.root, "house")
        self.process = suite.start([os.path.join(TOOLS, "tessaly-house"), "--game-port", "0", "--web-port", "0",
                                    "--data", self.data, "--log", self.log, *arguments],
                                   stdout=subprocess.PIPE, text=True)
        line = self.process.stdout.readline().strip()
        found = re.match(r"listening game (\S+):(\d+) web (\S+)", line)
        if not found:
            raise Failure("the house server did not start: " + line)
        self.host, self.port, self.web = found.group(1), int(found.group(2)), found.group(3)

    def client_environment(self, suite):
        """The environment of a client that plays here, readable over AT-SPI."""
        env = dict(suite.env)
        env.update({
            "QT_QPA_PLATFORM": "xcb",
            "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
            "QT_LOGGING_RULES": "tessaly.trace=true",
            "XDG_CONFIG_HOME": os.path.join(suite.root, "config"),
            "XDG_DATA_HOME": os.path.join(suite.root, "data"),
            "TESSALY_GAME_HOST": self.host,
            "TESSALY_GAME_PORT": str(self.port),
            "TESSALY_WEB_URL": "http://" + self.web,
            "TESSALY_SECURE_WEB_URL": "http://" + self.web,
            "TESSALY_PROBE_HOST": "127.0.0.1",
            "SDL_AUDIODRIVER": "dummy",
        })
        return env

    def register(self, name, password):
        register(self.host, self.port, name, password)


def house_with_one_table(suite, table):
    """The house with one six-seat no-limit table (a free seat is always
    there) and two bots at a brisk pace; a turn waits two minutes, as a test
    may be slow to answer."""
    path = os.path.join(suite.root, "tables.txt")
    with open(path, "w") as f:
        f.write(f"NL 6 0.5 1 20 100 {table}\n")
    return House(suite, ["--tables", path, "--bots", "2", "--pace", "15", "--turn-timeout", "120"])


def register(host, port, name, password):
    with socket.create_connection((host, port), 5) as s:
        s.sendall(f"REGISTER_PLAYER:\t{name}\t{password}\t{name}@example.org\r\0".encode())
        received = b""
        s.settimeout(5)
        while b"REG_SUCCESS" not in received:
            chunk = s.recv(4096)
            if not chunk:
                raise Failure("registration refused: " + received.decode(errors="replace"))
            received += chunk


def log_in(suite, name, password):
    """Types the name and password into the login dialog and submits them."""
    login = wait_for(lambda: window_named(r"Login to Tessaly"), 30, "the login dialog")
    type_into(suite, wait_for(lambda: control(login, "text", "ScreenName"), 5, "the screen name box"), name)
    type_into(suite, wait_for(lambda: control(login, "password text", "Password"), 5, "the password box"), password)
    click(suite, control(login, "push button", "Submit"))


def open_table(suite, table):
    """Double-clicks the table's row in the lobby; the table's window."""
    lobby = wait_for(lambda: window_named(r"Welcome to"), 15, "the lobby")
    # The tables already open may stand over the lobby: bring it forward
    # first, as a person would, so the double click lands on the row.
    lobby_window = x_window(suite, "Welcome to")
    if lobby_window:
        xdotool(suite, "windowactivate", "--sync", lobby_window)

    # A table list rebuilt by a reply ends the row's accessible object: the
    # row is found again where it now stands.
    def row_centre():
        cell = table_row(lobby, table)
        try:
            return cell and centre(cell)
        except NotImplementedError:
            return None

    click_at(suite, wait_for(row_centre, 15, f"the row of {table}"), double=True)
    return wait_for(lambda: window_named(table), 15, f"the window of {table}")


def forget_table_places():
    """Removes the places the table windows were left in, kept beside the
    program, so that tables open where there is room."""
    places = os.path.join(os.environ["TESSALY_DIST_DIR"], "tablewindows.ini")
    if os.path.exists(places):
        os.remove(places)


def describe_windows():
    """The client's windows and their showing controls, for a failure's report."""
    lines = []
    for window in windows():
        if window is None:
            continue
        lines.append(f"window {window.name!r} showing={showing(window)}")
        for child in descendants(window):
            try:
                if showing(child) and child.getRoleName() in ("push button", "check box", "text", "label"):
                    lines.append(f"    {child.getRoleName()} {child.name!r}")
            except Exception:
                continue
    return "\n".join(lines)
