"""The demo behind demo.sh; runs inside a private network namespace.

Two updates from pyftpdlib on 127.0.0.1:21. The first fetches DemoApp-2.0-setup.run (a small installer
script, padded so that the download takes a few seconds at the server's limited rate) and starts it. The
second asks for a release that is not on the server yet, so the icon turns red and the updater asks
whether to try again. On your display you watch and drive them. With no usable display the demo starts
Xvfb with the trayer panel, drives the icon as a person would (xdotool), keeps captioned screenshots and
a contact sheet of them, and adds a third run on a desktop without a tray, where the success balloon is
a desktop notification (dunst) that outlives the program.
"""

import logging
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import DTPHandler, FTPHandler
from pyftpdlib.servers import FTPServer

RATE = 64 * 1024  # bytes per second: slow enough to hover, open the menu, pause and continue
SIZE = 1024 * 1024
NAME = "DemoApp-2.0-setup.run"
MISSING = "DemoApp-2.1-setup.run"
PANEL = 32  # height of the trayer panel
SCREEN = (800, 600)
TRAY_AREA = "400x240+400+0"  # the top right corner: icon, tooltip, menu, balloons

INSTALLER = """#!/bin/sh
# Demo App 2.0 setup: what a real installer would do, it only announces.
echo "Demo App 2.0 setup started in $(pwd)"
if command -v xmessage >/dev/null; then
  xmessage -center -timeout 8 "Demo App 2.0 setup is running (started by the updater from $(pwd))." &
fi
touch "$0.installed"
exit 0
"""


class PacedTransfer(DTPHandler):
    """Sends at RATE in small, evenly spaced pieces (pyftpdlib's own throttle sends a second's worth at once
    and then pauses for a second, which would hold the updater's reads and its icon for that second)."""

    ac_out_buffer_size = 4096

    def send(self, data):
        sent = super().send(data)
        time.sleep(sent / RATE)
        return sent


def serve(root):
    logging.basicConfig(level=logging.WARNING)  # before pyftpdlib sets up its own, chatty logging
    authorizer = DummyAuthorizer()
    authorizer.add_anonymous(root)
    handler = type("Handler", (FTPHandler,), {"authorizer": authorizer})
    handler.dtp_handler, handler.use_sendfile = PacedTransfer, False
    server = FTPServer(("127.0.0.1", 21), handler)
    threading.Thread(target=server.serve_forever, kwargs={"timeout": 0.05}, daemon=True).start()
    return server


def display_works(env):
    return "DISPLAY" in env and subprocess.run(["xdpyinfo"], env=env, capture_output=True).returncode == 0


def read_line(fd):
    """One line from a pipe, read up to its newline (Xvfb dies if the pipe closes before)."""
    data = b""
    while not data.endswith(b"\n"):
        chunk = os.read(fd, 256)
        if not chunk:
            break
        data += chunk
    return data.decode().strip()


def as_desktop_user(env, temp, log):
    """When sudo started the demo from a desktop session, the updater runs as that user, on their
    session bus, so that their panel shows its icon and their notification service its balloons; the
    temporary folder and the error log are theirs."""
    uid, gid = int(os.environ.get("SUDO_UID", "0")), int(os.environ.get("SUDO_GID", "0"))
    bus = f"/run/user/{uid}/bus"
    if uid == 0 or not os.path.exists(bus):
        return []
    open(log, "a").close()
    for path in (temp, log):
        os.chown(path, uid, gid)
    env.update(DBUS_SESSION_BUS_ADDRESS="unix:path=" + bus, XDG_RUNTIME_DIR=f"/run/user/{uid}")
    return ["setpriv", f"--reuid={uid}", f"--regid={gid}", "--init-groups", "--"]


class VirtualDesktop:
    """Xvfb with the trayer panel; drives the updater's icon and keeps captioned screenshots."""

    def __init__(self, env):
        self.env, self.helpers, self.shots = env, [], []
        self.folder = tempfile.mkdtemp(prefix="updater-demo-shots-")
        read_end, write_end = os.pipe()
        self.start(["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{SCREEN[0]}x{SCREEN[1]}x24", "-nolisten",
                    "tcp", "-noreset"], pass_fds=[write_end])
        os.close(write_end)
        env["DISPLAY"] = ":" + read_line(read_end)
        os.close(read_end)
        self.run("xsetroot", "-solid", "#3a5f7f")
        self.trayer = self.start(["trayer", "--edge", "top", "--align", "right", "--widthtype", "pixel", "--width",
                                  "120", "--height", str(PANEL), "--tint", "0x303030", "--transparent", "true",
                                  "--alpha", "0"])
        time.sleep(1)

    def start(self, args, **options):
        process = subprocess.Popen(args, env=self.env, **{"stdout": subprocess.DEVNULL, "stderr": subprocess.DEVNULL,
                                                          **options})
        self.helpers.append(process)
        return process

    def close(self):
        for helper in reversed(self.helpers):
            helper.terminate()
            helper.wait()

    def run(self, *command):
        done = subprocess.run(command, env=self.env, capture_output=True, text=True, timeout=30)
        return done.stdout if done.returncode == 0 else ""

    def without_tray(self):
        """Ends the panel and starts a session bus with the dunst notification service instead."""
        self.trayer.terminate()
        self.trayer.wait()
        bus = self.start(["dbus-daemon", "--session", "--nofork", "--print-address"], stdout=subprocess.PIPE)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = read_line(bus.stdout.fileno())
        self.start(["dunst"])
        time.sleep(1)

    def windows(self, process):
        """(id, x, y, width, height) of the process's viewable windows."""
        windows = self.run("xdotool", "search", "--onlyvisible", "--pid", str(process.pid)).split()
        return [found for found in map(self.geometry, windows) if found]

    def geometry(self, window):
        """(id, x, y, width, height) of a window; None when it has gone."""
        shell = dict(line.split("=") for line in self.run("xdotool", "getwindowgeometry", "--shell", window).split())
        return (window, *(int(shell[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))) if shell else None

    def wait_window(self, process, test):
        for _ in range(100):
            found = [w for w in self.windows(process) if test(w)]
            if found or process.poll() is not None:
                return found[0] if found else None
            time.sleep(0.1)
        return None

    def icon(self, process):
        return self.wait_window(process, lambda w: w[2] < PANEL and w[4] <= PANEL)

    def point_at(self, icon, *action):
        _, x, y, width, height = icon
        self.run("xdotool", "mousemove", str(x + width // 2), str(y + height // 3), *action)

    def hover(self, process, icon):
        """Rests the pointer on the icon, moved a little inside it, until the tooltip comes up."""
        self.point_at(icon)
        for step in range(3):
            time.sleep(0.3)
            self.run("xdotool", "mousemove_relative", "--", *(("1", "1") if step % 2 else ("-1", "-1")))
            for _ in range(40):  # Qt shows the tooltip once the pointer has rested for a while
                if [w for w in self.windows(process) if PANEL - 8 < w[2] < PANEL + 24 and w[4] < 40 and w[3] > 100]:
                    time.sleep(0.3)
                    return
                time.sleep(0.1)

    def changes(self, area):
        """Waits until the picture of an area differs from what it shows now."""
        first = self.run("import", "-window", "root", "-crop", area, "-format", "%#", "info:")
        for _ in range(40):
            time.sleep(0.1)
            if self.run("import", "-window", "root", "-crop", area, "-format", "%#", "info:") != first:
                return

    def painted(self, icon):
        """Waits until the icon's place shows more than the panel's one colour."""
        for _ in range(50):
            if self.run("import", "-window", "root", "-crop", self.around(icon, 0), "-format", "%k", "info:") != "1":
                return
            time.sleep(0.1)

    def around(self, window, margin=24):
        """The screen area of a window and a margin around it."""
        _, x, y, width, height = window
        left, top = max(x - margin, 0), max(y - margin, 0)
        return f"{min(width + 2 * margin, SCREEN[0] - left)}x{min(height + 2 * margin, SCREEN[1] - top)}+{left}+{top}"

    def menu_choice(self, process, icon, caption):
        """Opens the icon's menu, keeps a picture of it, and picks its first enabled item."""
        self.point_at(icon, "click", "3")
        menu = self.wait_window(process, lambda w: w[4] > 50)
        if menu:
            time.sleep(0.3)
            self.shot(caption)
            self.run("xdotool", "windowfocus", menu[0], "key", "--delay", "100", "Down", "Return")

    def shot(self, caption, area=TRAY_AREA, zoom="200%"):
        """A picture of an area of the screen, enlarged without smoothing."""
        path = os.path.join(self.folder, f"{len(self.shots) + 1:02}.png")
        self.run("import", "-window", "root", "-crop", area, "+repage", "-filter", "point", "-resize", zoom, path)
        self.shots.append((path, f"{len(self.shots) + 1}. {caption}"))

    def contact_sheet(self):
        sheet = os.path.join(self.folder, "contact-sheet.png")
        labelled = [part for path, caption in self.shots for part in ("-label", caption, path)]
        self.run("montage", "-font", "DejaVu-Sans", "-pointsize", "15", *labelled, "-tile", "3x", "-geometry",
                 "800x480+8+8", "-background", "#e8e8e8", sheet)
        return sheet


def show_success(desktop, process):
    """The first update on the panel: the icon animating, the progress tooltip, the menu with Pause and
    (while paused) Continue, then the installer it starts."""
    icon = desktop.icon(process)
    if not icon:
        return
    desktop.painted(icon)
    close_up = desktop.around(icon, 8)
    desktop.shot("The icon in the panel (close up): green figure, ball circling", close_up, "800%")
    desktop.changes(close_up)
    desktop.shot("Moments later: the ball has moved on", close_up, "800%")
    desktop.hover(process, icon)
    desktop.shot("Resting the pointer on the icon: the progress tooltip")
    desktop.menu_choice(process, icon, "A right click opens the menu: Pause, Continue, Cancel download")
    time.sleep(1.5)
    desktop.menu_choice(process, icon, "Paused: the menu now offers Continue")
    desktop.run("xdotool", "mousemove", "200", "300")
    desktop.hover(process, icon)
    desktop.shot("Continued: the tooltip counts on")
    process.wait()
    for _ in range(30):
        installer = desktop.run("xdotool", "search", "--onlyvisible", "--class", "Xmessage").split()
        if installer:
            break
        time.sleep(0.1)
    if installer:
        desktop.shot("Download complete: the updater has ended and the installer runs",
                     desktop.around(desktop.geometry(installer[0])))
        desktop.run("xdotool", "windowkill", installer[0])


def show_failure(desktop, process):
    """The second update on the panel: the red icon, the failure balloon, the retry question (answered No)."""
    icon = desktop.icon(process)
    if not icon:
        return
    time.sleep(1.5)
    desktop.shot("A release that is not on the server: red icon and failure balloon")
    desktop.point_at(icon, "click", "1")
    box = desktop.wait_window(process, lambda w: w[3] > 64 and w[2] > PANEL)
    if box:
        time.sleep(0.5)
        desktop.shot("A click on the icon asks whether to try again", desktop.around(box))
        desktop.run("xdotool", "windowfocus", box[0], "key", "Escape")
    process.wait()


def show_notification(desktop, process):
    """The first update again on a desktop without a tray: the success balloon is a notification."""
    process.wait()
    time.sleep(0.8)
    desktop.shot("Without a tray (as on GNOME) the success balloon is a desktop notification")


def main():
    updater = os.path.abspath(sys.argv[1])
    folder = os.path.dirname(updater)
    subprocess.run(["ip", "link", "set", "lo", "up"], check=True)
    root = tempfile.mkdtemp(prefix="updater-demo-ftp-")
    os.makedirs(os.path.join(root, "pub"))
    content = INSTALLER.encode()
    content += b"#" * (SIZE - len(content) - 1) + b"\n"
    with open(os.path.join(root, "pub", NAME), "wb") as f:
        f.write(content)
    with open(os.path.join(folder, "update.cfg"), "w") as f:
        f.write("Demo App\n")
    log = os.path.join(folder, "orlenza.err")
    logged = os.path.getsize(log) if os.path.exists(log) else 0
    temp = tempfile.mkdtemp(prefix="updater-demo-tmp-")
    server = serve(root)

    env = dict(os.environ, TMPDIR=temp)
    desktop = None if display_works(env) else VirtualDesktop(env)
    user = as_desktop_user(env, temp, log) if not desktop else []
    env.setdefault("XDG_RUNTIME_DIR", tempfile.mkdtemp(prefix="updater-demo-runtime-"))

    def update(name, size, show, note):
        url = "ftp://127.0.0.1/pub/" + name
        print(f"{note}\n  updater {url} {size} 1000   (on {env['DISPLAY']})", flush=True)
        process = subprocess.Popen([*user, updater, url, str(size), "1000"], env=env)
        if desktop:
            show(desktop, process)
        process.wait()
        time.sleep(1)

    downloaded = os.path.join(temp, NAME)
    update(NAME, len(content), show_success, f"First update: {len(content)} bytes at {RATE // 1024} KiB/s. "
           "Hover the icon for the progress, right-click it for Pause, Continue and Cancel download.")
    exact = os.path.exists(downloaded) and open(downloaded, "rb").read() == content
    installed = os.path.exists(downloaded + ".installed")
    print(f"  {downloaded}: {'byte for byte as served' if exact else 'NOT as served'}; installer started: {installed}")

    update(MISSING, len(content), show_failure, "Second update: a release that is not on the server yet. "
           "The icon turns red; click it, and answer No to end (Yes tries again).")
    failure = open(log, encoding="utf-8", errors="replace").read()[logged:] if os.path.exists(log) else ""
    print(f"  the error log {log} got:\n" + failure)

    if desktop:
        os.remove(downloaded + ".installed")
        desktop.without_tray()
        update(NAME, len(content), show_notification, "Third update, on a desktop without a tray.")
        installed = installed and os.path.exists(downloaded + ".installed")
        print(f"No display was available: the screenshots are in {desktop.folder}, "
              f"with captions on the contact sheet {desktop.contact_sheet()}")
        desktop.close()
    server.close_all()
    shutil.rmtree(root, ignore_errors=True)
    return 0 if exact and installed and "Couldn't open URL" in failure else 1


if __name__ == "__main__":
    sys.exit(main())
