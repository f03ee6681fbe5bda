"""Start-up of the real program: a rejected command line and a missing update.cfg."""

import os
import re
import sys
import unittest

import harness

UPDATER = None


def record_pattern(message, number, line=None):
    """The ten lines of one log record, the time and system lines matched loosely; line None: any."""
    line_pattern = " \\d+ " if line is None else re.escape(line)
    return ("\r\n\\*\\*\\*\\*\\* Error appeared at [^\r\n]+\r\nWinVer=\\d+\\.\\d+\\.\\d+ [^\r\n]*\r\n"
            "Module=updater\r\nVersion = 1\\.0\\.19\r\n"
            f"message = {re.escape(message)}\r\nerror # = {re.escape(number)}\r\n"
            f"error descr = [^\r\n]*\r\nerror line = {line_pattern}\r\n\r\n")


class Startup(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.desktop = harness.Desktop()

    @classmethod
    def tearDownClass(cls):
        cls.desktop.close()

    def test_rejected_command_line_is_reported_in_a_box_and_the_log(self):
        for arguments in ([], ["ftp://127.0.0.1/setup.exe", "100"], ["ftp://127.0.0.1/setup.exe", "0", "1000"]):
            with self.subTest(arguments=arguments), harness.Updater(self.desktop, UPDATER, arguments) as run:
                box = run.message_box()
                self.assertEqual(self.desktop.name(box), "Updater")
                self.assertEqual(run.box_text(box).strip(), "Runtime error.")
                self.assertEqual(run.log(), "", "the record is written once the box is closed")
                self.desktop.key(box, "Return")
                self.assertEqual(run.wait_exit(), 0)
                self.assertRegex(run.log(), "^" + record_pattern("Command line syntax error.", " 0 ", " 0 ") + "$")
                self.assertFalse(os.listdir(run.temp))

    def test_missing_update_cfg_ends_the_program_after_one_report(self):
        with harness.Updater(self.desktop, UPDATER, ["ftp://127.0.0.1/setup.exe", "100", "1000"],
                             product=None) as run:
            box = run.message_box()
            self.assertEqual(run.box_text(box).strip(), "Runtime error.")
            self.desktop.key(box, "Return")
            self.assertEqual(run.wait_exit(), 0)
            self.assertRegex(run.log(), "^" + record_pattern("Rintime Error in Form_Load", " 53 ") + "$")


if __name__ == "__main__":
    harness.enter_private_network()
    UPDATER = sys.argv.pop(1)
    unittest.main()
