"""A host application hands an update over as docs/HOSTS.md describes: the updater is installed into
the host's folder with the project's install rules, the host starts it detached and exits at once, and
the download completes and the installer runs after the host is gone."""

import contextlib
import os
import pathlib
import signal
import subprocess
import unittest

import desktop
from desktop import WAIT, Desktop, FtpServer, main, wait_for

HOST = os.environ.get("EXAMPLE_HOST", "")  # the example host's executable, named by CTest


class HostHandsOver(unittest.TestCase):
    def test_host_exits_at_once_and_the_update_completes_without_it(self):
        screen = Desktop()
        self.addCleanup(screen.close)
        folder, temp = pathlib.Path(screen.folder, "app", "updater"), pathlib.Path(screen.folder, "app", "tmp")
        temp.mkdir(parents=True)
        subprocess.run(["cmake", "--install", os.path.dirname(desktop.UPDATER), "--prefix", folder], check=True,
                       capture_output=True, timeout=WAIT)
        (folder / "update.cfg").write_text("Demo App\n")  # as the host's own installer writes it
        with FtpServer(rate=32 * 1024) as ftp:
            content = ftp.publish(96 * 1024)
            host = subprocess.Popen([HOST, folder / "updater", "ftp://127.0.0.1/pub/setup.run", str(len(content))],
                                    env=dict(screen.env, TMPDIR=temp), stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                    start_new_session=True)
            out, err = host.communicate(timeout=WAIT)  # ends when nothing holds the host's output any more
            self.assertEqual(host.returncode, 0, err)
            self.assertIn(b"taken over", out)
            self.assertFalse((temp / "setup.run.ran").exists(), "the host waited for the update")
            with contextlib.suppress(ProcessLookupError):  # the host's session ends as a closed terminal's does
                os.killpg(host.pid, signal.SIGHUP)
                os.killpg(host.pid, signal.SIGTERM)
            wait_for((temp / "setup.run.ran").exists, "the installer, the updater having outlived the host")
            self.assertEqual((temp / "setup.run").read_bytes(), content)
            self.assertFalse((folder / "orlenza.err").exists())


if __name__ == "__main__":
    main()
