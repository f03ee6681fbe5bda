"""The publisher's signature on the real updater: switched on by update.pem beside it, checked against the
.sig a real FTP server serves beside the release, and without update.pem not one command more."""

import os
import pathlib
import shutil
import subprocess
import tempfile
import unittest

from desktop import WAIT, Desktop, FtpServer, Updater, main, wait_for

URL = "ftp://127.0.0.1/pub/setup.run"
NOT_SIGNED = ('Downloading is fault: Downloaded file is not signed by the publisher.\n'
              'Do you want to try again? Click "Yes" to download again or "No" for quit.')
# What the server hears from an updater without update.pem.
TODAY = ["USER anonymous", "PASS anonymous@", "TYPE I", "EPSV", "RETR pub/setup.run", "QUIT"]
panel = keys = None


def setUpModule():
    global panel, keys
    keys = tempfile.mkdtemp(prefix="keys-")
    unittest.addModuleCleanup(shutil.rmtree, keys, ignore_errors=True)
    for name, curve in (("publisher", "prime256v1"), ("other", "prime256v1"), ("p384", "secp384r1")):
        key = os.path.join(keys, name)
        for command in (["ecparam", "-name", curve, "-genkey", "-noout", "-out", key + ".key"],
                        ["ec", "-in", key + ".key", "-pubout", "-out", key + ".pem"]):
            subprocess.run(["openssl", *command], check=True, stderr=subprocess.DEVNULL, timeout=WAIT)
    panel = Desktop()
    unittest.addModuleCleanup(panel.close)


def public(name):
    return pathlib.Path(keys, name + ".pem").read_bytes()


def private(name):
    return os.path.join(keys, name + ".key")


class SignedReleases(unittest.TestCase):
    def test_a_signed_release_is_fetched_with_its_signature_and_started_and_without_the_key_nothing_more(self):
        with FtpServer() as ftp:
            content = ftp.publish(3000)
            ftp.sign(private("publisher"))
            for key, heard in ((None, TODAY), (public("publisher"), TODAY[:-1] + ["TYPE I", "EPSV",
                                                                                    "RETR pub/setup.run.sig", "QUIT"])):
                ftp.commands.clear()
                with self.subTest(key=key is not None), Updater(panel, URL, 3000, 1000, key=key) as run:
                    self.assertTrue(run.ended())
                    self.assertEqual(run.file("setup.run"), content)
                    self.assertEqual(run.installed(), run.temp)
                    self.assertEqual(run.file("orlenza.err"), b"")
                    self.assertEqual(ftp.commands, heard)

    def test_each_failure_deletes_the_file_logs_once_and_yes_after_the_server_is_fixed_starts_it(self):
        def sig(ftp, data):
            pathlib.Path(ftp.root, "pub", "setup.run.sig").write_bytes(data)

        def flip(ftp):
            path = pathlib.Path(ftp.root, "pub", "setup.run")
            data = bytearray(path.read_bytes())
            data[100] ^= 0x08
            path.write_bytes(bytes(data))

        no_signature, mismatch = "No signature for " + URL, "Signature does not match " + URL
        cases = [  # what is wrong, the key beside the program, what the server serves wrong, the log's reason
            ("garbage key", b"not a key\n", lambda ftp: None, "Publisher key is not valid {}/update.pem"),
            ("key of another curve", public("p384"), lambda ftp: ftp.sign(private("p384")),
             "Publisher key is not valid {}/update.pem"),
            ("no signature", public("publisher"), lambda ftp: os.remove(ftp.root + "/pub/setup.run.sig"), no_signature),
            ("empty signature", public("publisher"), lambda ftp: sig(ftp, b""), no_signature),
            ("oversized signature", public("publisher"), lambda ftp: sig(ftp, os.urandom(1025)), no_signature),
            ("truncated signature", public("publisher"), lambda ftp: sig(ftp, ftp.signature[:-1]), mismatch),
            ("another key's signature", public("publisher"), lambda ftp: ftp.sign(private("other")), mismatch),
            ("a bit flipped on the way", public("publisher"), flip, mismatch),
        ]
        with FtpServer() as ftp:
            for what, key, spoil, reason in cases:
                ftp.publish(3000)
                ftp.sign(private("publisher"))
                ftp.signature = pathlib.Path(ftp.root, "pub", "setup.run.sig").read_bytes()
                spoil(ftp)
                with self.subTest(what), Updater(panel, URL, 3000, 1000, key=key) as run:
                    log = wait_for(lambda: run.file("orlenza.err").decode(), "the failure")
                    self.assertEqual(log.count("***** Error appeared"), 1)
                    self.assertIn(f"\r\nmessage = ERROR: {reason.format(run.folder)}\r\nerror # =  0 \r\n", log)
                    self.assertFalse(os.path.exists(run.temp + "/setup.run"), "a file that failed the check is deleted")
                    content = ftp.publish(3000)
                    ftp.sign(private("publisher"))
                    run.click_icon("click", "1")
                    fixable = "key" not in what
                    self.assertEqual(run.answer("Return" if fixable else "Escape"), NOT_SIGNED)
                    self.assertTrue(run.ended())
                    if fixable:
                        self.assertEqual(run.file("setup.run"), content)
                        self.assertEqual(run.installed(), run.temp)

    def test_the_size_check_comes_first(self):
        with FtpServer() as ftp:
            ftp.publish(3000)
            with Updater(panel, URL, 3001, 1000, key=public("publisher")) as run:
                wait_for(lambda: b"wrong size. 3001 3000" in run.file("orlenza.err"), "the failure")
                run.click_icon("click", "1")
                run.answer("Escape")
                self.assertTrue(run.ended())
                self.assertEqual(len(run.file("setup.run")), 3000)
                self.assertEqual(ftp.commands, TODAY)


if __name__ == "__main__":
    main()
