"""The demo behind demo.sh; runs inside a private network namespace.

Serves DemoApp-2.0-setup.run (a small installer script, padded so that the download takes a few
seconds) from pyftpdlib on 127.0.0.1:21 at a limited rate, writes update.cfg beside the updater and runs
it. With no usable display it starts Xvfb and the trayer panel and keeps screenshots of the tray.
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
from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler
from pyftpdlib.servers import FTPServer

RATE = 96 * 1024  # bytes per second: slow enough to watch the icon
SIZE = 640 * 1024

INSTALLER = """#!/bin/sh
# Demo App 2.0 setup: what a real installer would do, it only announces.
echo "Demo App 2.0 setup started in $(pwd)"
if command -v xmessage >/dev/null; then
  xmessage -center -timeout 15 "Demo App 2.0 setup is running (started by the updater from $(pwd))." &
fi
touch "$0.installed"
exit 0
"""


def serve(root):
    logging.getLogger("pyftpdlib").setLevel(logging.WARNING)
    authorizer = DummyAuthorizer()
    authorizer.add_anonymous(root)
    handler = type("Handler", (FTPHandler,), {"authorizer": authorizer})
    handler.dtp_handler = type("Slow", (ThrottledDTPHandler,), {"read_limit": RATE, "write_limit": RATE})
    server = FTPServer(("127.0.0.1", 21), handler)
    threading.Thread(target=server.serve_forever, kwargs={"timeout": 0.05}, daemon=True).start()
    return server


def display_works(env):
    return "DISPLAY" in env and subprocess.run(["xdpyinfo"], env=env, capture_output=True).returncode == 0


def virtual_display(env):
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "800x600x24", "-nolisten", "tcp"],
                            pass_fds=[write_end], stderr=subprocess.DEVNULL)
    os.close(write_end)
    number = b""
    while not number.endswith(b"\n"):
        number += os.read(read_end, 16)
    os.close(read_end)
    env["DISPLAY"] = ":" + number.decode().strip()
    trayer = subprocess.Popen(["trayer", "--edge", "top", "--align", "right", "--widthtype", "pixel", "--width", "120",
                               "--height", "32", "--tint", "0x303030", "--transparent", "true", "--alpha", "0"],
                              env=env, stderr=subprocess.DEVNULL)
    time.sleep(1)
    return [xvfb, trayer]


def as_desktop_user(env, temp):
    """When sudo started the demo from a desktop session, the updater runs as that user, on their
    session bus, so that their panel shows its icon and their notification service its balloons."""
    uid, gid = int(os.environ.get("SUDO_UID", "0")), int(os.environ.get("SUDO_GID", "0"))
    bus = f"/run/user/{uid}/bus"
    if uid == 0 or not os.path.exists(bus):
        return []
    os.chown(temp, uid, gid)
    env.update(DBUS_SESSION_BUS_ADDRESS="unix:path=" + bus, XDG_RUNTIME_DIR=f"/run/user/{uid}")
    return ["setpriv", f"--reuid={uid}", f"--regid={gid}", "--init-groups", "--"]


def main():
    updater = os.path.abspath(sys.argv[1])
    subprocess.run(["ip", "link", "set", "lo", "up"], check=True)
    root = tempfile.mkdtemp(prefix="updater-demo-ftp-")
    os.makedirs(os.path.join(root, "pub"))
    content = INSTALLER.encode()
    content += b"#" * (SIZE - len(content) - 1) + b"\n"
    name = "DemoApp-2.0-setup.run"
    with open(os.path.join(root, "pub", name), "wb") as f:
        f.write(content)
    with open(os.path.join(os.path.dirname(updater), "update.cfg"), "w") as f:
        f.write("Demo App\n")
    temp = tempfile.mkdtemp(prefix="updater-demo-tmp-")
    server = serve(root)

    env = dict(os.environ, TMPDIR=temp)
    helpers = [] if display_works(env) else virtual_display(env)
    user = [] if helpers else as_desktop_user(env, temp)
    env.setdefault("XDG_RUNTIME_DIR", tempfile.mkdtemp(prefix="updater-demo-runtime-"))
    shots = tempfile.mkdtemp(prefix="updater-demo-shots-") if helpers else None
    url = "ftp://127.0.0.1/pub/" + name
    print(f"Serving {url} ({len(content)} bytes at {RATE // 1024} KiB/s); starting the updater on {env['DISPLAY']}")
    process = subprocess.Popen([*user, updater, url, str(len(content)), "1000"], env=env)
    frame = 0
    while process.poll() is None:
        time.sleep(0.4)
        if shots:
            # Rest the pointer on the icon so that its tooltip shows the progress.
            subprocess.run(["xdotool", "mousemove", "780", "14"], env=env, stderr=subprocess.DEVNULL)
            frame += 1
            subprocess.run(["import", "-window", "root", "-crop", "420x160+380+0", "-resize", "200%",
                            os.path.join(shots, f"tray-{frame:03}.png")], env=env, stderr=subprocess.DEVNULL)
    time.sleep(1)
    downloaded = os.path.join(temp, name)
    exact = os.path.exists(downloaded) and open(downloaded, "rb").read() == content
    installed = os.path.exists(downloaded + ".installed")
    print(f"updater ended with {process.returncode}; {downloaded}: "
          f"{'byte for byte as served' if exact else 'NOT as served'}; installer started: {installed}")
    log = os.path.join(os.path.dirname(updater), "orlenza.err")
    if os.path.exists(log):
        print(f"error log {log}:\n" + open(log, encoding="utf-8", errors="replace").read())
    if shots:
        sheet = os.path.join(shots, "all.png")
        pictures = sorted(os.path.join(shots, f) for f in os.listdir(shots))
        subprocess.run(["montage", *pictures, "-tile", "3x", "-geometry", "+4+4", sheet], stderr=subprocess.DEVNULL)
        print(f"No display was available: screenshots of the tray are in {shots} (all of them in {sheet})")
    server.close_all()
    for helper in helpers:
        helper.terminate()
    shutil.rmtree(root, ignore_errors=True)
    return 0 if exact and installed else 1


if __name__ == "__main__":
    sys.exit(main())
