"""The real updater, Linux or Windows (under 64-bit Wine), as a host application starts it and a person drives it
on a tray panel; the Linux one also on a StatusNotifierItem host, without any tray and with a full or read-only
disk, and handed over by the example host of docs/HOSTS.md. Misbehaving servers and each kind of bad signature are tested below (tests/ftp, updater, signatures)."""

import contextlib
import os
import pathlib
import pwd
import re
import shutil
import signal
import subprocess
import tempfile
import time
import unittest

import desktop
from desktop import (EMULATED, INSTALLER, LOG_ENCODING, WAIT, WINDOWS, Desktop, FtpServer, Updater, WebServers,
                     colour_shares, main, trust_test_authority, wait_for)

NAME = INSTALLER[0]
URL = "ftp://127.0.0.1/pub/" + NAME
HTTPS, SCRIPTED, PROXY = "https://updates.test/pub/" + NAME, "http://updates.test:8080/", "http://127.0.0.1:8888"
TITLE = "Demo App Updater"
RETRY = 'Downloading is fault: {}\nDo you want to try again? Click "Yes" to download again or "No" for quit.'
# What the server hears from an updater without update.pem (Wine's WinInet gives the user's name as the
# password and leaves without QUIT; libcurl asks for the folder after the login and sets the type once per
# connection); with it, the signature follows on the same connection.
LOGIN = ["USER anonymous"] + (["PASS " + pwd.getpwuid(os.getuid()).pw_name] if WINDOWS else ["PASS anonymous@", "PWD"])
FETCH = (["TYPE I", "PASV"] if WINDOWS else ["EPSV", "TYPE I"]) + ["RETR pub/" + NAME]
SIGNATURE, QUIT = [c.replace(NAME, NAME + ".sig") for c in FETCH if WINDOWS or c != "TYPE I"], [] if WINDOWS else ["QUIT"]
CONTINUE = ["Down", "Down"] if WINDOWS else ["Down"]  # a Windows menu moves over the disabled Pause too
# What a failed certificate check logs: the code, on Linux also its text (Windows' codes and texts are the
# system's own: Wine gives 12057 for an unknown authority).
CERTIFICATE = {problem: "Couldn't connect to ftp serverHttpSendRequest error #" + (windows if WINDOWS else linux + text)
               for problem, linux, windows, text in (
                   ("authority", "12045", "12057", ". The server's certificate is not issued by a trusted authority."),
                   ("name", "12038", "12038", ". The server's certificate is made out to another name."),
                   ("date", "12037", "12037", ". The server's certificate has expired or is not yet valid."))}
HOST = os.environ.get("EXAMPLE_HOST", "")  # the example host's executable, named by CTest
linux_only = unittest.skipIf(WINDOWS, "a service of Linux desktops")
panel = private = public = web = None


def setUpModule():
    global panel, private, public, web
    if not EMULATED:  # the 32-bit program's few runs are FTP's
        folder = tempfile.mkdtemp(prefix="web-")
        unittest.addModuleCleanup(shutil.rmtree, folder, ignore_errors=True)
        trust_test_authority(folder)  # before the desktop's Wine server reads the roots
        web = WebServers(folder)
        unittest.addModuleCleanup(web.close)
    panel = Desktop()
    unittest.addModuleCleanup(panel.close)
    private = os.path.join(panel.folder, "publisher.key")  # the publisher's P-256 key pair
    subprocess.run(["openssl", "ecparam", "-name", "prime256v1", "-genkey", "-noout", "-out", private], check=True,
                   timeout=WAIT)
    public = subprocess.run(["openssl", "ec", "-in", private, "-pubout"], capture_output=True, check=True,
                            timeout=WAIT).stdout


class Scenarios(unittest.TestCase):
    def assertInstalled(self, run, content):
        """The run ended after starting the installer, exactly content, in the temporary folder without arguments."""
        self.assertTrue(run.ended())
        self.assertEqual(run.file(NAME), content)
        self.assertEqual(wait_for(lambda: run.file(NAME + ".ran").decode(LOG_ENCODING).split(), "the installer's note"),
                         [run.wine.windows_temp if run.wine else run.temp, "0"])

    @unittest.skipUnless(EMULATED, "the 32-bit program's few runs under emulation; the x86-64 one runs all")
    def test_shipped_32_bit_program_installs_a_release_and_logs_a_failure(self):
        # The failure's question is asked through the tray icon, which emulated 32-bit Wine does not dock reliably.
        with FtpServer() as ftp:
            content = ftp.publish(20000)
            with Updater(panel, URL, 20000, 1000) as run:
                self.assertInstalled(run, content)
            with Updater(panel, URL, 20001, 1000) as run:
                self.assertIn("\r\nmessage = ERROR: Downloaded file has wrong size. 20001 20000\r\n",
                              wait_for(run.log, "the failure"))

    def test_start_up_fault_is_announced_in_a_box_and_logged_and_ends_the_program(self):
        for arguments, product, message, number, line in [
                ([URL, 100], "Demo App", "Command line syntax error.", "0", "0"),
                ([URL, 100, 1000], None, "Rintime Error in Form_Load", "53", "\\d+")]:
            with self.subTest(product=product), Updater(panel, *arguments, product=product) as run:
                self.assertEqual(run.answer("Return"), "Runtime error.")
                self.assertTrue(run.ended())
                self.assertRegex(run.log(),  # time and system matched loosely
                                 f"^\r\n\\*{{5}} Error appeared at [^\r\n]+\r\nWinVer=\\d+\\.\\d+\\.\\d+ [^\r\n]*\r\n"
                                 f"Module=updater\r\nVersion = 1\\.0\\.19\r\nmessage = {re.escape(message)}\r\n"
                                 f"error # =  {number} \r\nerror descr = [^\r\n]*\r\nerror line =  {line} \r\n\r\n$")

    def test_release_is_started_and_with_update_pem_only_if_its_signature_fetched_after_it_matches(self):
        with FtpServer() as ftp:
            content = ftp.publish(20000, private)
            for key, heard in ((None, LOGIN + FETCH + QUIT), (public, LOGIN + FETCH + SIGNATURE + QUIT)):
                ftp.commands.clear()
                with self.subTest(key=key is not None), Updater(panel, URL, 20000, 1000, key=key) as run:
                    self.assertInstalled(run, content)
                    self.assertEqual(run.log(), "")
                    self.assertEqual(ftp.commands, heard)
            flipped = bytearray(content)  # a bit flipped on the way
            flipped[100] ^= 0x08
            pathlib.Path(ftp.installer).write_bytes(flipped)
            with self.subTest("a bit flipped"), Updater(panel, URL, 20000, 1000, key=public) as run:
                log = wait_for(run.log, "the failure")
                self.assertEqual(log.count("***** Error appeared"), 1)
                self.assertIn(f"\r\nmessage = ERROR: Signature does not match {URL}\r\nerror # =  0 \r\n", log)
                self.assertFalse(pathlib.Path(run.temp, NAME).exists(), "a file that failed the check is deleted")
                content = ftp.publish(20000, private)
                run.click_icon("click", "1")
                self.assertEqual(run.answer("Return"), RETRY.format("Downloaded file is not signed by the publisher."))
                self.assertInstalled(run, content)

    def test_each_failure_turns_the_icon_red_is_logged_and_a_click_asks_whether_to_retry(self):
        missing = URL.replace("setup", "missing")
        cases = [(missing, 100, 1000, "Couldn't open URL " + missing, RETRY.format("Couldn't open URL.")),
                 ("ftp://127.0.0.2/" + NAME, 100, 1000, "Couldn't connect to ftp serverConnect error #12029. ",
                  RETRY.format("Couldn't connect to ftp server.")),
                 (URL, 20001, 2000, "Downloaded file has wrong size. 20001 20000", "Download abgebrochen: The "
                  "downgeladenen Datei hat eine falsche Gro\u042fe.\nMochten Sie es nochmals versuchen?")]
        with FtpServer() as ftp:
            ftp.publish(20000)
            for url, size, language, logged, question in cases:
                with self.subTest(url=url, language=language), Updater(panel, url, size, language) as run:
                    wait_for(lambda: colour_shares(panel.pixels(run.icon()))[1] > 0.05, "red frames")
                    run.click_icon("click", "1")
                    self.assertEqual(run.answer("n"), question)
                    self.assertTrue(run.ended())
                    self.assertIn(f"\r\nmessage = ERROR: {logged}", run.log())
        self.assertTrue(panel.notifications.empty(), "balloons belong to the panel")

    def test_texts_follow_the_language_number_and_arabic_reads_right_to_left(self):
        refused = "ftp://127.0.0.2/" + NAME
        for language, question in ((20000, "ダウンロードに失敗しました: FTP サーバーに接続できませんでした。\nもう一度試しますか？"
                                            "[はい] をクリックすると再ダウンロードし、[いいえ] をクリックすると終了します。"),
                                   (24000, "فشل التنزيل: تعذر الاتصال بخادم FTP.\nهل تريد المحاولة مرة أخرى؟ انقر فوق \"نعم\" "
                                            "لإعادة التنزيل أو فوق \"لا\" للخروج.")):
            with self.subTest(language=language), Updater(panel, refused, 100, language) as run:
                wait_for(run.log, "the failure")
                if WINDOWS:  # Wine's message boxes ignore the reading order; its menus show their layout
                    run.click_icon("click", "3")
                    layout = wait_for(lambda: panel.run(desktop.WINE, desktop.BOX_READER, "menu"), "the menu")
                    self.assertEqual(layout, "right to left" if language == 24000 else "left to right")
                    run.key(run.menu(), "Escape")
                run.click_icon("click", "1")
                self.assertEqual(run.answer("n"), question)
                self.assertTrue(run.ended())
        with Updater(panel, refused, 100, 3000) as run:  # "&Annuler le téléchargement": A for Cancel in French only
            wait_for(run.log, "the failure")
            run.click_icon("click", "3")
            run.key(run.menu(), "a")
            self.assertTrue(run.ended())

    def test_pause_freezes_a_square_green_frame_and_the_transfer_continue_completes_it_and_cancel_ends_quietly(self):
        with FtpServer(rate=32 * 1024) as ftp:
            content = ftp.publish(160 * 1024)
            with Updater(panel, URL, len(content), 1000) as run:
                wait_for(lambda: colour_shares(panel.pixels(run.icon()))[0] > 0.05, "green frames")
                wait_for(lambda: run.file(NAME), "the transfer")  # Pause is enabled now
                run.choose("Down")  # Pause, the first enabled item
                time.sleep(1)
                icon = run.icon()
                frozen, size = panel.pixels(icon), len(run.file(NAME))
                green = [(i % icon[3], i // icon[3]) for i, pixel in enumerate(frozen) if colour_shares([pixel])[0]]
                width, height = (max(c) - min(c) + 1 for c in zip(*green))
                self.assertLess(icon[3], icon[4])
                self.assertLessEqual(abs(width - height), 1, "frames keep their square shape in an oblong place")
                time.sleep(3)  # at the server's rate, the rest of the transfer would be well on its way
                self.assertEqual(panel.pixels(icon), frozen)
                self.assertEqual(len(run.file(NAME)), size, "a paused download must not go on")
                run.choose(*CONTINUE)
                self.assertInstalled(run, content)
            with Updater(panel, URL, len(content), 1000) as run:
                run.click_icon("mousedown", "3")
                first = panel.pixels(run.icon())
                wait_for(lambda: panel.pixels(run.icon()) != first, "the ball to move")
                self.assertFalse([w for w in run.windows() if w[4] > 50], "the menu opens on release")
                panel.run("xdotool", "mouseup", "3")
                run.key(run.menu(), "Up", "Return")  # Cancel download, the last item
                self.assertTrue(run.ended())
                self.assertEqual((run.log(), run.file(NAME + ".ran")), ("", b""))

    def test_web_releases_arrive_byte_for_byte_signed_chunked_longer_than_announced_redirected_and_proxied(self):
        content = web.publish(20000, private)
        for url, key, proxy in ((HTTPS, public, False), (SCRIPTED + "chunked/" + NAME, None, False),
                                (SCRIPTED + "longer/" + NAME, None, False), ("https://updates.test/r/2", None, False),
                                (HTTPS, None, True)):
            environment = {"https_proxy": PROXY, "http_proxy": PROXY} if proxy else {}
            with self.subTest(url=url, proxy=proxy), Updater(panel, url, 20000, 1000, key=key, env=environment) as run:
                name = url.rsplit("/", 1)[1]
                self.assertTrue(run.ended())
                self.assertEqual((run.log(), run.file(name)), ("", content))
        self.assertIn("CONNECT updates.test:443", web.proxy())
        _, headers = web.scripted.requests[0]
        self.assertEqual((headers["User-Agent"], headers["Accept-Encoding"]), ("Orlenza update client", "identity"))

    def test_each_web_failure_turns_the_icon_red_is_logged_once_and_asks_whether_to_retry(self):
        web.publish(20000)
        refused = " HTTP/1.1 301 Moved Permanently, "
        cases = [(HTTPS.replace("setup", "missing"), 1000, " HTTP/1.1 404 Not Found", "Couldn't open URL."),
                 (SCRIPTED + "failing/" + NAME, 2000, " HTTP/1.1 500 Internal Server Error", "Kann URL nicht \u00f6ffnen."),
                 ("https://updates.test/r/1", 1000, refused + "redirect refused: more than 5 redirects: /pub/" + NAME,
                  "Couldn't open URL."),
                 ("https://updates.test/to-http", 1000, refused + "redirect refused: from https to http: http://"
                  "updates.test/pub/" + NAME, "Couldn't open URL."),
                 ("https://untrusted.test/pub/" + NAME, 1000, CERTIFICATE["authority"], "Couldn't connect to ftp server."),
                 ("https://localhost/pub/" + NAME, 1000, CERTIFICATE["name"], "Couldn't connect to ftp server."),
                 ("https://expired.test/pub/" + NAME, 1000, CERTIFICATE["date"], "Couldn't connect to ftp server."),
                 (SCRIPTED + "stalling/" + NAME, 1000, "Downloaded file has wrong size. 20000 " +
                  ("9216" if WINDOWS else "10000"), "Downloaded file has wrong size."),  # WinInet reads whole blocks
                 (SCRIPTED + "endless/" + NAME, 1000, "Downloaded file has wrong size. 20000 2", "Downloaded file has wrong size.")]
        for url, language, logged, reason in cases:
            with self.subTest(url=url), Updater(panel, url, 20000, language) as run:
                log = wait_for(run.log, "the failure's record", timeout=2 * WAIT)
                self.assertEqual(log.count("***** Error appeared"), 1)
                self.assertIn("\r\nmessage = ERROR: " + ("Couldn't open URL " + url if logged.startswith(" ") else "") +
                              logged, log)
                run.click_icon("click", "1")
                question = run.answer("n")
                self.assertIn(reason, question)
                self.assertTrue(run.ended())

    def test_a_pause_longer_than_every_time_out_loses_nothing_and_cancel_ends_quietly_over_https(self):
        content, url = web.publish(160 * 1024), "https://updates.test/slow/" + NAME
        with Updater(panel, url, len(content), 1000) as run:
            wait_for(lambda: run.file(NAME), "the transfer")
            run.choose("Down")  # Pause
            time.sleep(WAIT + 5)  # the program gives a silent server 30 s
            run.choose(*CONTINUE)
            self.assertInstalled(run, content)
        with Updater(panel, url, len(content), 1000) as run:
            wait_for(lambda: run.file(NAME), "the transfer")
            run.choose("Up")  # Cancel download
            self.assertTrue(run.ended())
            self.assertEqual((run.log(), run.file(NAME + ".ran")), ("", b""))

    @linux_only
    def test_full_or_read_only_temporary_folder_is_a_reported_fault_and_the_program_goes_on(self):
        for options, fault in (("size=64k", "61"), ("ro", "70")):
            small = tempfile.mkdtemp(dir=panel.folder)
            subprocess.run(["mount", "-t", "tmpfs", "-o", options, "tmpfs", small], check=True)
            self.addCleanup(subprocess.run, ["umount", small], check=True)
            with self.subTest(options=options), FtpServer() as ftp:
                ftp.publish(512 * 1024)
                with Updater(panel, URL, 512 * 1024, 1000, temp=small) as run:
                    self.assertEqual(run.answer("Return"), "Runtime error.")
                    log = wait_for(run.log, "the fault's record")
                    self.assertIn("message = Runtime Error in DownloadAppUpdate\r\nerror # =  " + fault, log)
                    run.click_icon("click", "1")
                    self.assertIn("Downloading is fault: ", run.answer("n"))
                    self.assertTrue(run.ended())

    @linux_only
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
                self.assertEqual(run.answer("n"), RETRY.format("Downloaded file has wrong size."))
                self.assertTrue(run.ended())

    @linux_only
    def test_without_a_tray_balloons_are_notifications_and_a_failure_asks_at_once(self):
        desktop = Desktop(tray=False)
        self.addCleanup(desktop.close)
        with Updater(desktop, "ftp://127.0.0.2/setup.run", 100, 1000) as run:
            self.assertEqual(desktop.notifications.get(timeout=WAIT),
                             (TITLE, "Download is fault.\nCouldn't connect to ftp server.", "dialog-error"))
            self.assertEqual(run.answer("n"), RETRY.format("Couldn't connect to ftp server."))
            self.assertTrue(run.ended())
        with FtpServer() as ftp:
            content = ftp.publish(2048)
            with Updater(desktop, URL, 2048, 1000) as run:
                self.assertInstalled(run, content)
        self.assertEqual(desktop.notifications.get(timeout=WAIT), (
            TITLE, "Update downloading is completed.\nClick on Icon for more details.", "dialog-information"))

    @linux_only
    def test_host_installs_and_starts_the_updater_and_exits_at_once_and_the_update_completes_without_it(self):
        folder, temp = pathlib.Path(panel.folder, "app", "updater"), pathlib.Path(panel.folder, "app", "tmp")
        temp.mkdir(parents=True)
        subprocess.run(["cmake", "--install", os.path.dirname(desktop.UPDATER), "--prefix", folder], check=True,
                       capture_output=True, timeout=WAIT)
        (folder / "update.cfg").write_text("Demo App\n")  # as the host's own installer writes it
        with FtpServer(rate=32 * 1024) as ftp:
            content = ftp.publish(96 * 1024)
            host = subprocess.Popen([HOST, folder / "updater", URL, str(len(content))], env=dict(panel.env, TMPDIR=temp),
                                    stdout=subprocess.PIPE, stderr=subprocess.PIPE, start_new_session=True)
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
