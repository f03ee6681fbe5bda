"""A throw-away desktop for the tray tests: an X server, a tray panel, a private session bus and the
test driver. Everything is started here and always ended here; every wait is bounded."""

import os
import queue
import select
import subprocess
import threading
import time

WAIT = 10  # seconds; the bound of every single wait

BUS_CONFIG = """<busconfig>
  <type>session</type>
  <listen>unix:dir={folder}</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
"""


def wait_for(probe, what):
    """Polls probe until it returns something true and returns that."""
    deadline = time.monotonic() + WAIT
    while time.monotonic() < deadline:
        found = probe()
        if found:
            return found
        time.sleep(0.05)
    raise AssertionError("timed out waiting for " + what)


def read_line(fd, what):
    """Reads one line from a pipe, up to its newline."""
    data = b""
    deadline = time.monotonic() + WAIT
    while not data.endswith(b"\n"):
        ready, _, _ = select.select([fd], [], [], max(0.0, deadline - time.monotonic()))
        chunk = os.read(fd, 256) if ready else b""
        if not chunk:
            raise AssertionError("no line from " + what)
        data += chunk
    return data.decode().strip()


class Desktop:
    """Processes of one desktop, ended newest first by stop()."""

    def __init__(self, folder):
        self.folder = folder
        self.env = dict(os.environ, XDG_RUNTIME_DIR=folder, QT_QPA_PLATFORM="xcb")
        suppressions = os.path.join(os.path.dirname(os.path.abspath(__file__)), "qt-leaks.supp")
        self.env["LSAN_OPTIONS"] = ":".join(filter(None, [os.environ.get("LSAN_OPTIONS"), "suppressions=" + suppressions]))
        self.env.pop("DBUS_SESSION_BUS_ADDRESS", None)
        self._started = []
        self._logs = []

    def start(self, args, **options):
        process = subprocess.Popen(args, env=self.env, **options)
        self._started.append(process)
        return process

    def stop(self):
        for process in reversed(self._started):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
            for stream in (process.stdin, process.stdout, process.stderr):
                if stream:
                    stream.close()
        for log in self._logs:
            log.close()

    def start_x_server(self):
        read_end, write_end = os.pipe()
        self.start(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                   pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        try:
            self.env["DISPLAY"] = ":" + read_line(read_end, "Xvfb")
        finally:
            os.close(read_end)

    def start_tray(self, height=24):
        self.start(["trayer", "--edge", "top", "--align", "right", "--widthtype", "pixel", "--width", "100",
                    "--height", str(height)], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def start_session_bus(self):
        config = os.path.join(self.folder, "bus.conf")
        with open(config, "w") as out:
            out.write(BUS_CONFIG.format(folder=self.folder))
        bus = self.start(["dbus-daemon", "--nofork", "--config-file=" + config, "--print-address"],
                         stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = read_line(bus.stdout.fileno(), "dbus-daemon")
        return self.env["DBUS_SESSION_BUS_ADDRESS"]

    def start_driver(self, path):
        self._logs.append(open(os.path.join(self.folder, "driver.log"), "w"))
        return Driver(self.start([path], stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True,
                                 stderr=self._logs[-1]))

    def x(self, *args):
        """Output of an X client; None when it finds nothing."""
        done = subprocess.run(args, env=self.env, capture_output=True, text=True, timeout=WAIT)
        return done.stdout if done.returncode == 0 else None

    def windows(self, pid):
        """Geometry and override-redirect state of the process's viewable windows."""
        found = []
        for wid in (self.x("xdotool", "search", "--onlyvisible", "--pid", str(pid)) or "").split():
            info = self.x("xwininfo", "-id", wid) or ""
            fields = dict(line.strip().split(":", 1) for line in info.splitlines() if ":" in line)
            if fields.get("Map State", "").strip() != "IsViewable":
                continue
            found.append({"id": wid, "x": int(fields["Absolute upper-left X"]),
                          "y": int(fields["Absolute upper-left Y"]), "width": int(fields["Width"]),
                          "height": int(fields["Height"]), "popup": fields["Override Redirect State"].strip() == "yes"})
        return found

    def click(self, x, y, button, repeat=1):
        self.x("xdotool", "mousemove", str(x), str(y))
        self.x("xdotool", "click", "--repeat", str(repeat), "--delay", "80", str(button))

    def pixels(self, window, shot):
        """The window's pixels as (r, g, b); a screenshot of the screen's upper right corner goes to shot."""
        self.x("import", "-window", "root", "-crop", "480x240+544+0", shot)
        crop = "{width}x{height}+{x}+{y}".format(**window)
        ppm = subprocess.run(["import", "-window", "root", "-crop", crop, "-depth", "8", "ppm:-"], env=self.env,
                             capture_output=True, timeout=WAIT, check=True).stdout
        data = ppm.split(b"\n", 3)[3]
        return [tuple(data[i:i + 3]) for i in range(0, len(data) - 2, 3)]


def is_green(pixel):
    r, g, b = pixel
    return g > r + 60 and g > b + 60


def is_red(pixel):
    r, g, b = pixel
    return r > g + 60 and r > b + 60


def colour_shares(pixels):
    """Shares of clearly green and clearly red pixels."""
    return sum(map(is_green, pixels)) / len(pixels), sum(map(is_red, pixels)) / len(pixels)


def green_extent(pixels, width):
    """Width and height of the box around the green pixels of an image width pixels wide."""
    spots = [(i % width, i // width) for i, pixel in enumerate(pixels) if is_green(pixel)]
    xs, ys = [x for x, _ in spots], [y for _, y in spots]
    return max(xs) - min(xs) + 1, max(ys) - min(ys) + 1


class Driver:
    """The test driver: commands in, what reached the form out."""

    def __init__(self, process):
        self.process = process
        self._lines = queue.Queue()
        threading.Thread(target=self._read, daemon=True).start()
        self.until("ready")

    def _read(self):
        for line in self.process.stdout:
            self._lines.put(line.rstrip("\n"))
        self._lines.put(None)

    def send(self, *fields):
        self.process.stdin.write("\t".join(fields) + "\n")
        self.process.stdin.flush()

    def until(self, wanted):
        """The lines before the line wanted."""
        before = []
        deadline = time.monotonic() + WAIT
        while True:
            try:
                line = self._lines.get(timeout=max(0.0, deadline - time.monotonic()))
            except queue.Empty:
                raise AssertionError("no %r after %r" % (wanted, before))
            if line is None:
                raise AssertionError("driver ended before %r, after %r" % (wanted, before))
            if line == wanted:
                return before
            before.append(line)

    def settled(self):
        """What reached the form before the commands sent so far had all run."""
        self.send("ping")
        return self.until("pong")
