"""A host application hands an update over as docs/HOSTS.md describes: the updater is installed into
the host's folder with the project's install rules, the host starts it detached and exits at once, and
the download completes and the installer runs after the host is gone."""

import os
import signal
import subprocess
import tempfile
import unittest

import desktop
from desktop import WAIT, Desktop, FtpServer, main, wait_for

HOST = os.environ.get("EXAMPLE_HOST", "")  # the example host's executable, named by CTest


class HostHandsOver(unittest.TestCase):
    def test_host_exits_at_once_and_the_update_completes_without_it(self):
        screen = Desktop()
        self.addCleanup(screen.close)
        app = tempfile.mkdtemp(prefix="app-", dir=screen.folder)
        folder, temp = os.path.join(app, "updater"), os.path.join(app, "tmp")
        os.mkdir(temp)
        subprocess.run(["cmake", "--install", os.path.dirname(desktop.UPDATER), "--prefix", folder], check=True,
                       capture_output=True, timeout=WAIT)
        with open(os.path.join(folder, "update.cfg"), "w") as cfg:  # as the host's own installer writes it
            cfg.write("Demo App\n")
        with FtpServer(rate=32 * 1024) as ftp:
            content = ftp.publish(96 * 1024)
            host = subprocess.Popen([HOST, os.path.join(folder, "updater"), "ftp://127.0.0.1/pub/setup.run",
                                     str(len(content))], env=dict(screen.env, TMPDIR=temp),
                                    stdout=subprocess.PIPE, stderr=subprocess.PIPE, start_new_session=True)
            out, err = host.communicate(timeout=WAIT)  # ends when nothing holds the host's output any more
            self.assertEqual(host.returncode, 0, err)
            self.assertIn(b"taken over", out)
            self.assertFalse(os.path.exists(os.path.join(temp, "setup.run.ran")), "the host waited for the update")
            try:  # the host's session ends as a closed terminal's does; the updater must not go with it
                os.killpg(host.pid, signal.SIGHUP)
                os.killpg(host.pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
            ran = wait_for(lambda: os.path.exists(os.path.join(temp, "setup.run.ran")), "the installer")
            self.assertTrue(ran)
            with open(os.path.join(temp, "setup.run"), "rb") as downloaded:
                self.assertEqual(downloaded.read(), content)
            self.assertFalse(os.path.exists(os.path.join(folder, "orlenza.err")))


if __name__ == "__main__":
    main()
