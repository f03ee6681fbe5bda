"""The real updater as a host application starts it and a person drives it, on a tray panel, on a
StatusNotifierItem host and without any tray, with a full or read-only disk. How the FTP client meets
misbehaving servers is tested below it (tests/ftp), against a scripted server."""

import os
import re
import subprocess
import tempfile
import time
import unittest

from desktop import WAIT, Desktop, FtpServer, Updater, colour_shares, main, wait_for

URL = "ftp://127.0.0.1/pub/setup.run"
TITLE = "Demo App Updater"
RETRY = 'Downloading is fault: {}\nDo you want to try again? Click "Yes" to download again or "No" for quit.'
panel = None


def setUpModule():
    global panel
    panel = Desktop()
    unittest.addModuleCleanup(panel.close)


class OnTrayPanel(unittest.TestCase):
    def test_start_up_fault_is_announced_in_a_box_and_logged_and_ends_the_program(self):
        for arguments, product, message, number, line in [
                ([], "Demo App", "Command line syntax error.", "0", "0"),
                ([URL, 100], "Demo App", "Command line syntax error.", "0", "0"),
                ([URL, 0, 1000], "Demo App", "Command line syntax error.", "0", "0"),
                ([URL, 100, 1000], None, "Rintime Error in Form_Load", "53", "\\d+")]:
            with self.subTest(arguments=arguments, product=product), \
                    Updater(panel, *arguments, product=product) as run:
                self.assertEqual(run.answer("Return"), "Runtime error.")
                self.assertTrue(run.ended())
                self.assertRegex(run.file("orlenza.err").decode(),  # time and system matched loosely
                                 f"^\r\n\\*{{5}} Error appeared at [^\r\n]+\r\nWinVer=\\d+\\.\\d+\\.\\d+ [^\r\n]*\r\n"
                                 f"Module=updater\r\nVersion = 1\\.0\\.19\r\nmessage = {re.escape(message)}\r\n"
                                 f"error # =  {number} \r\nerror descr = [^\r\n]*\r\nerror line =  {line} \r\n\r\n$")

    def test_complete_download_starts_the_installer_in_the_temporary_folder_and_ends(self):
        for size in (2048, 300 * 1024 + 7):
            with self.subTest(size=size), FtpServer() as ftp:
                content = ftp.publish(size)
                with Updater(panel, URL, size, 1000) as run:
                    self.assertTrue(run.ended())
                    self.assertEqual(run.file("setup.run"), content)
                    self.assertEqual(run.installed(), run.temp)
                    self.assertEqual(run.file("orlenza.err"), b"")

    def test_each_failure_turns_the_icon_red_is_logged_and_a_click_asks_whether_to_retry(self):
        cases = [("ftp://127.0.0.1/pub/missing.run", 100, 1000, "Couldn't open URL ftp://127.0.0.1/pub/missing.run",
                  RETRY.format("Couldn't open URL.")),
                 (URL, 3001, 1000, "Downloaded file has wrong size. 3001 3000",
                  RETRY.format("Downloaded file has wrong size.")),
                 ("ftp://127.0.0.2/setup.run", 100, 1000, "Couldn't connect to ftp serverConnect error #12029. A "
                  "connection to the server could not be made.\r\n", RETRY.format("Couldn't connect to ftp server.")),
                 ("ftp://127.0.0.1", 100, 2000, "Ftp URL is not valid ftp://127.0.0.1",
                  "Download abgebrochen: Ftp URL ist nicht g\u00fcltig.\nMochten Sie es nochmals versuchen?")]
        with FtpServer() as ftp:
            ftp.publish(3000)
            for url, size, language, logged, question in cases:
                with self.subTest(url=url, language=language), Updater(panel, url, size, language) as run:
                    wait_for(lambda: colour_shares(panel.pixels(run.icon()))[1] > 0.1, "red frames")
                    run.click_icon("click", "1")
                    self.assertEqual(run.answer("Escape"), question)
                    self.assertTrue(run.ended())
                    self.assertIn(f"\r\nmessage = ERROR: {logged}\r\nerror # =  0 \r\nerror descr = \r\n",
                                  run.file("orlenza.err").decode())
        self.assertTrue(panel.notifications.empty(), "balloons belong to the panel")

    def test_full_or_read_only_temporary_folder_is_a_reported_fault_and_the_program_goes_on(self):
        for options, fault in (("size=64k", "61"), ("ro", "70")):
            with self.subTest(options=options), tempfile.TemporaryDirectory() as small, FtpServer() as ftp:
                subprocess.run(["mount", "-t", "tmpfs", "-o", options, "tmpfs", small], check=True)
                try:
                    ftp.publish(512 * 1024)
                    with Updater(panel, URL, 512 * 1024, 1000, temp=small) as run:
                        self.assertEqual(run.answer("Return"), "Runtime error.")
                        log = wait_for(lambda: run.file("orlenza.err"), "the fault's record").decode()
                        self.assertIn("message = Runtime Error in DownloadAppUpdate\r\nerror # =  " + fault, log)
                        run.click_icon("click", "1")
                        self.assertIn("Downloading is fault: ", run.answer("Escape"))
                        self.assertTrue(run.ended())
                finally:
                    subprocess.run(["umount", small], check=True)

    def test_yes_downloads_again_from_the_first_byte(self):
        with FtpServer() as ftp:
            ftp.publish(5000)
            with Updater(panel, URL, 6000, 1000) as run:
                wait_for(lambda: b"wrong size" in run.file("orlenza.err"), "the failure")
                content = ftp.publish(6000)
                run.click_icon("click", "1")
                run.answer("Return")
                self.assertTrue(run.ended())
                self.assertEqual(run.file("setup.run"), content)
                self.assertEqual(run.installed(), run.temp)

    def test_menu_opens_on_release_and_cancel_ends_a_running_download_quietly(self):
        with FtpServer(rate=32 * 1024) as ftp:
            ftp.publish(400 * 1024)
            with Updater(panel, URL, 400 * 1024, 1000) as run:
                run.click_icon("mousedown", "3")
                first = panel.pixels(run.icon())
                wait_for(lambda: panel.pixels(run.icon()) != first, "the ball to move")
                self.assertFalse([w for w in run.windows() if w[4] > 50], "the menu opens on release")
                panel.run("xdotool", "mouseup", "3")
                run.key(run.menu(), "Up", "Return")  # Cancel download, the last item
                self.assertTrue(run.ended())
                self.assertEqual(run.file("orlenza.err") + run.file("setup.run.ran"), b"")

    def test_pause_freezes_a_square_green_frame_and_the_transfer_and_continue_completes_it_exactly(self):
        with FtpServer(rate=64 * 1024) as ftp:
            content = ftp.publish(192 * 1024)
            with Updater(panel, URL, len(content), 1000) as run:
                wait_for(lambda: os.path.exists(run.temp + "/setup.run"), "the transfer")  # Pause is enabled now
                run.choose("Down")  # Pause, the first enabled item
                icon = run.icon()
                frozen = panel.pixels(icon)
                green = [(i % icon[3], i // icon[3]) for i, pixel in enumerate(frozen) if colour_shares([pixel])[0]]
                width, height = (max(c) - min(c) + 1 for c in zip(*green))
                self.assertGreater(len(green), 10)
                self.assertLess(icon[3], icon[4])
                self.assertLessEqual(abs(width - height), 1, "frames keep their square shape in an oblong place")
                time.sleep(4)  # longer than the whole transfer needs at the server's rate
                self.assertIsNone(run.process.poll(), "a paused download must not finish")
                self.assertEqual(panel.pixels(icon), frozen)
                run.choose("Down")  # Continue, now the first enabled item
                self.assertTrue(run.ended())
                self.assertEqual(run.file("setup.run"), content)
                self.assertEqual(run.installed(), run.temp)


class WithoutPanel(unittest.TestCase):
    def test_status_notifier_item_shows_progress_and_frames_and_takes_clicks(self):
        desktop = Desktop(tray=False, watcher=True)
        self.addCleanup(desktop.close)

        def frames():  # (green, red) shares of the item's ARGB frame at each size
            return {w: colour_shares([tuple(d[i + 1:i + 4]) for i in range(0, len(d), 4)])
                    for w, h, d in desktop.item_property(item, "IconPixmap")}

        with FtpServer(rate=32 * 1024) as ftp:
            ftp.publish(96 * 1024)
            with Updater(desktop, URL, 96 * 1024 + 1, 1000) as run:
                item = desktop.items.get(timeout=WAIT)
                self.assertRegex(wait_for(lambda: desktop.item_property(item, "ToolTip")[2], "the tooltip"),
                                 f"^{TITLE}: \\d+ kb of \\d+ is downloaded\\.$")
                wait_for(lambda: frames().get(16, (0, 0))[0] > 0.2, "green frames")
                self.assertTrue({16, 22, 24, 32, 48, 64} <= frames().keys())
                self.assertEqual(desktop.notifications.get(timeout=WAIT),
                                 (TITLE, "Download is fault.\nDownloaded file has wrong size.", "dialog-error"))
                wait_for(lambda: frames()[64][1] > 0.2, "red frames")
                desktop.item_call(item, "ContextMenu")
                run.key(run.menu(), "Escape")
                desktop.item_call(item, "Activate")
                self.assertEqual(run.answer("Escape"), RETRY.format("Downloaded file has wrong size."))
                self.assertTrue(run.ended())

    def test_without_a_tray_balloons_are_notifications_and_a_failure_asks_at_once(self):
        desktop = Desktop(tray=False)
        self.addCleanup(desktop.close)
        with Updater(desktop, "ftp://127.0.0.2/setup.run", 100, 1000) as run:
            self.assertEqual(desktop.notifications.get(timeout=WAIT),
                             (TITLE, "Download is fault.\nCouldn't connect to ftp server.", "dialog-error"))
            self.assertEqual(run.answer("Escape"), RETRY.format("Couldn't connect to ftp server."))
            self.assertTrue(run.ended())
        with FtpServer() as ftp:
            ftp.publish(2048)
            with Updater(desktop, URL, 2048, 1000) as run:
                self.assertTrue(run.ended())
                self.assertEqual(run.installed(), run.temp)
        self.assertEqual(desktop.notifications.get(timeout=WAIT), (
            TITLE, "Update downloading is completed.\nClick on Icon for more details.", "dialog-information"))


if __name__ == "__main__":
    main()
