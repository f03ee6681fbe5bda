"""Whole updates with the real program: a real FTP server on port 21, a real X server with a tray."""

import os
import shutil
import sys
import tempfile
import time
import unittest

import harness

UPDATER = None
URL = "ftp://127.0.0.1/pub/setup.run"


class Download(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.desktop = harness.Desktop()

    @classmethod
    def tearDownClass(cls):
        cls.desktop.close()

    def setUp(self):
        self.root = tempfile.mkdtemp(prefix="ftp-root-")
        os.mkdir(os.path.join(self.root, "pub"))

    def tearDown(self):
        shutil.rmtree(self.root, ignore_errors=True)

    def publish(self, content, name="pub/setup.run"):
        with open(os.path.join(self.root, name), "wb") as f:
            f.write(content)
        return content

    def run_updater(self, *arguments, product="Demo App"):
        return harness.Updater(self.desktop, UPDATER, [str(a) for a in arguments], product=product)

    def assert_installer_ran(self, run, name="setup.run"):
        marker = os.path.join(run.temp, name + ".ran")
        harness.wait_for(lambda: os.path.exists(marker) and os.path.getsize(marker) > 0, "the installer")
        with open(marker) as f:
            self.assertEqual(f.read().strip(), run.temp)

    def fail_and_answer(self, run, key):
        """Clicks the red icon once the failure is on show and answers the retry question."""
        run.click_icon(1)
        box = run.message_box()
        text = run.box_text(box)
        self.desktop.key(box, key)
        return text

    def test_complete_download_starts_the_installer_and_ends(self):
        for size in (2048, 300 * 1024 + 7):
            with self.subTest(size=size), harness.FtpServer(self.root):
                content = self.publish(harness.installer(size))
                with self.run_updater(URL, size, 1000) as run:
                    self.assertEqual(run.wait_exit(), 0)
                    self.assertEqual(run.local_file("setup.run"), content)
                    self.assert_installer_ran(run)
                    self.assertEqual(run.log(), "")

    def test_each_failure_is_logged_and_no_ends_the_program(self):
        cases = [
            ("127.0.0.1/setup.run", 100, "ERROR: Ftp URL is not valid 127.0.0.1/setup.run\r\n",
             "Ftp URL is not valid."),
            ("ftp://127.0.0.1/pub/missing.run", 100, "ERROR: Couldn't open URL ftp://127.0.0.1/pub/missing.run\r\n",
             "Couldn't open URL."),
            (URL, 3001, "ERROR: Downloaded file has wrong size. 3001 3000\r\n", "Downloaded file has wrong size."),
        ]
        with harness.FtpServer(self.root):
            self.publish(harness.installer(3000))
            for url, size, logged, reason in cases:
                with self.subTest(url=url), self.run_updater(url, size, 1000) as run:
                    text = self.fail_and_answer(run, "Escape")
                    self.assertIn("Downloading is fault: " + reason, text)
                    self.assertIn('Click "Yes" to download again or "No" for quit.', text)
                    self.assertEqual(run.wait_exit(), 0)
                    self.assertIn("message = " + logged + "error # =  0 \r\nerror descr = \r\nerror line =  0 \r\n",
                                  run.log())
                    self.assertFalse(os.path.exists(os.path.join(run.temp, "setup.run.ran")))

    def test_no_server_listening_fails_with_the_connection_error(self):
        with self.run_updater(URL, 100, 1000) as run:
            self.fail_and_answer(run, "Escape")
            self.assertEqual(run.wait_exit(), 0)
            self.assertIn("message = ERROR: Couldn't connect to ftp serverConnect error #12029. ", run.log())

    def test_german_failure_texts(self):
        with self.run_updater("ftp://127.0.0.1", 100, 2000) as run:
            text = self.fail_and_answer(run, "Escape")
            self.assertEqual(text.replace("\r", "").strip(),
                             "Download abgebrochen: Ftp URL ist nicht g\u00fcltig.\nMochten Sie es nochmals versuchen?")
            self.assertEqual(run.wait_exit(), 0)

    def test_yes_tries_again_from_the_first_byte(self):
        with harness.FtpServer(self.root):
            self.publish(harness.installer(5000))
            with self.run_updater(URL, 6000, 1000) as run:
                run.icon()
                harness.wait_for(lambda: "wrong size" in run.log(), "the failure")
                content = self.publish(harness.installer(6000))
                self.fail_and_answer(run, "Return")
                self.assertEqual(run.wait_exit(), 0)
                self.assertEqual(run.local_file("setup.run"), content)
                self.assert_installer_ran(run)

    def test_cancel_during_the_download_ends_quietly(self):
        with harness.FtpServer(self.root, rate=32 * 1024):
            self.publish(harness.installer(400 * 1024))
            with self.run_updater(URL, 400 * 1024, 1000) as run:
                run.choose("Up")  # Cancel download, the last item
                self.assertEqual(run.wait_exit(), 0)
                self.assertEqual(run.log(), "")
                self.assertFalse(os.path.exists(os.path.join(run.temp, "setup.run.ran")))

    def test_pause_holds_the_transfer_and_continue_completes_it_exactly(self):
        with harness.FtpServer(self.root, rate=64 * 1024):
            content = self.publish(harness.installer(320 * 1024))
            with self.run_updater(URL, len(content), 1000) as run:
                # Pause can be chosen once the transfer runs, that is once the local file exists.
                harness.wait_for(lambda: os.path.exists(os.path.join(run.temp, "setup.run")), "the transfer")
                run.choose("Down")  # Pause, the first enabled item
                time.sleep(7)  # longer than the whole transfer needs at the server's rate
                self.assertTrue(run.running(), "a paused download must not finish")
                run.choose("Down")  # Continue, now the first enabled item
                self.assertEqual(run.wait_exit(), 0)
                self.assertEqual(run.local_file("setup.run"), content)
                self.assert_installer_ran(run)


if __name__ == "__main__":
    harness.enter_private_network()
    UPDATER = sys.argv.pop(1)
    unittest.main()
