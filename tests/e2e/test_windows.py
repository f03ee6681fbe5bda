"""The Windows program, updater.exe, under 64-bit Wine on a tray panel, as a host application starts it
and a person drives it."""

import os
import re
import subprocess
import time
import unittest

from desktop import WAIT, Desktop, FtpServer, Updater, Wine, colour_shares, main, wait_for

URL = "ftp://127.0.0.1/pub/setup.exe"
RETRY = 'Downloading is fault: {}\nDo you want to try again? Click "Yes" to download again or "No" for quit.'
RETRY_DE = "Download abgebrochen: {}\nMochten Sie es nochmals versuchen?"
panel = None


def setUpModule():
    global panel
    # Wine's 32-bit half is not needed for the 64-bit program; where the kernel runs 32-bit code only
    # through an emulator, setting it up would take minutes. This mount namespace is the test's own.
    if os.path.exists("/usr/lib/wine/wine"):
        subprocess.run(["mount", "--bind", "/bin/false", "/usr/lib/wine/wine"], check=True)
    panel = Desktop()
    unittest.addModuleCleanup(panel.close)
    panel.wine = Wine(panel)


def record(message, number="0", line="0"):
    """The error log's record of message, time and system matched loosely."""
    return (f"^\r\n\\*{{5}} Error appeared at [^\r\n]+\r\nWinVer=\\d+\\.\\d+\\.\\d+ [^\r\n]*\r\nModule=updater\r\n"
            f"Version = 1\\.0\\.19\r\nmessage = {re.escape(message)}\r\nerror # =  {number} \r\n"
            f"error descr = [^\r\n]*\r\nerror line =  {line} \r\n\r\n$")


class OnTrayPanel(unittest.TestCase):
    def test_invalid_command_line_is_announced_in_a_box_and_logged(self):
        with Updater(panel, URL, 100) as run:
            self.assertEqual(run.answer("Return"), "Runtime error.")
            self.assertTrue(run.ended())
            self.assertRegex(run.file("orlenza.err").decode("cp1252"), record("Command line syntax error."))

    def test_complete_download_starts_the_installer_in_the_temporary_folder_without_arguments_and_ends(self):
        with FtpServer() as ftp:
            content = ftp.publish(70 * 1024 + 3)
            with Updater(panel, URL, len(content), 1000) as run:
                self.assertTrue(run.ended())
                self.assertEqual(run.file("setup.exe"), content)
                self.assertEqual(run.installed().splitlines(), [panel.wine.windows_temp, "0"])
                self.assertEqual(run.file("orlenza.err"), b"")

    def test_each_failure_turns_the_icon_red_is_logged_and_a_click_asks_whether_to_retry(self):
        cases = [("ftp://127.0.0.1/pub/missing.exe", 100, 1000, "Couldn't open URL ftp://127.0.0.1/pub/missing.exe",
                  RETRY.format("Couldn't open URL.")),
                 ("ftp://127.0.0.2/setup.exe", 100, 1000, "Couldn't connect to ftp serverConnect error #12029. ",
                  RETRY.format("Couldn't connect to ftp server.")),
                 (URL, 20001, 2000, "Downloaded file has wrong size. 20001 20000",
                  RETRY_DE.format("The downgeladenen Datei hat eine falsche Gro\u042fe."))]
        with FtpServer() as ftp:
            ftp.publish(20000)
            for url, size, language, logged, question in cases:
                with self.subTest(url=url, language=language), Updater(panel, url, size, language) as run:
                    wait_for(lambda: colour_shares(panel.pixels(run.icon()))[1] > 0.05, "red frames")  # 16 x 16 in a 20 x 30 place
                    run.click_icon("click", "1")
                    self.assertEqual(run.answer("n"), question)
                    self.assertTrue(run.ended())
                    self.assertIn(f"\r\nmessage = ERROR: {logged}", run.file("orlenza.err").decode("cp1252"))

    def test_yes_downloads_again_from_the_first_byte(self):
        with FtpServer() as ftp:
            ftp.publish(20000)
            with Updater(panel, URL, 24000, 1000) as run:
                wait_for(lambda: b"wrong size" in run.file("orlenza.err"), "the failure")
                content = ftp.publish(24000)
                run.click_icon("click", "1")
                run.answer("Return")
                self.assertTrue(run.ended())
                self.assertEqual(run.file("setup.exe"), content)
                self.assertEqual(run.installed().splitlines(), [panel.wine.windows_temp, "0"])

    def test_pause_freezes_green_frames_and_the_transfer_continue_completes_it_and_cancel_ends_quietly(self):
        with FtpServer(rate=32 * 1024) as ftp:
            content = ftp.publish(160 * 1024)
            with Updater(panel, URL, len(content), 1000) as run:
                wait_for(lambda: colour_shares(panel.pixels(run.icon()))[0] > 0.05, "green frames")
                wait_for(lambda: os.path.exists(run.temp + "/setup.exe"), "the transfer")  # Pause is enabled now
                run.choose("Down")  # Pause, the first enabled item
                time.sleep(1)
                frozen, size = panel.pixels(run.icon()), os.path.getsize(run.temp + "/setup.exe")
                time.sleep(3)  # longer than the whole transfer needs at the server's rate
                self.assertEqual(panel.pixels(run.icon()), frozen)
                self.assertEqual(os.path.getsize(run.temp + "/setup.exe"), size, "a paused download must not go on")
                run.choose("Down", "Down")  # Continue; a Windows menu moves over the disabled Pause too
                self.assertTrue(run.ended())
                self.assertEqual(run.file("setup.exe"), content)
                self.assertEqual(run.installed().splitlines(), [panel.wine.windows_temp, "0"])
            with Updater(panel, URL, len(content), 1000) as run:
                wait_for(lambda: os.path.exists(run.temp + "/setup.exe"), "the transfer")
                run.choose("Up")  # Cancel download, the last item
                self.assertTrue(run.ended())
                self.assertEqual(run.file("orlenza.err") + run.file("setup.exe.ran"), b"")


if __name__ == "__main__":
    main()
