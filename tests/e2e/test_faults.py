"""The real updater against FTP peers that misbehave on purpose, a full or read-only disk and hostile names.
Every fault must end in the failure report, a readable log record and the retry question: no crash,
no hang, no socket left open, and never an installer started for an incomplete file."""

import os
import socket
import subprocess
import tempfile
import threading
import unittest

from desktop import Desktop, FtpServer, Updater, main, wait_for

SIZE = 4000
FILE = b"#!/bin/sh\npwd > \"$0.ran\"\n" + b"#" * (SIZE - 26) + b"\n"
STALL = object()  # the peer goes silent
STANDARD = {"greeting": b"220 ready\r\n", "USER": b"331 password\r\n", "PASS": b"230 in\r\n", "TYPE": b"200 ok\r\n",
            "EPSV": "229 (|||{port}|)\r\n", "PASV": "227 ({host},{p1},{p2})\r\n", "RETR": b"150 data\r\n",
            "QUIT": b"221 bye\r\n", "data": FILE, "data_end": "close", "final": b"226 done\r\n", "host": "127,0,0,1"}
# Each peer: what differs from a well-behaved server, and the log line that must follow (None: success).
PEERS = [
    ({"greeting": b"421 Too many users\r\n"}, "Couldn't connect to ftp serverConnect error #12003."),
    ({"greeting": b"HTTP/1.1 400 Bad Request\r\n\r\n"}, "Couldn't connect to ftp serverConnect error #"),
    ({"PASS": b"530 Login incorrect.\r\n"}, "Couldn't connect to ftp serverConnect error #12003."),
    ({"RETR": b"550 No such file.\r\n"}, "Couldn't open URL"),
    ({"RETR": b"425 Can't open data connection.\r\n"}, "Couldn't open URL"),
    ({"EPSV": b"500 unknown\r\n", "host": "10,1,2,3"}, None),  # data still comes from the control peer
    ({"data": FILE[:3000]}, "wrong size. 4000 3000"),
    ({"data": FILE[:3000], "final": None}, "wrong size. 4000 3000"),  # control closed, no final reply
    ({"final": b"426 Transfer aborted.\r\n"}, None),  # all bytes arrived: the size decides
    ({"data": FILE + b"more" * 1000}, "wrong size. 4000 8000"),
    ({"data": FILE[:2000], "data_end": "reset"}, "wrong size. 4000 2000"),
    ({"USER": STALL}, "Couldn't connect to ftp serverConnect error #12002."),
    ({"RETR": STALL}, "Couldn't open URL"),
    ({"data": FILE[:2000], "data_end": "stall"}, "wrong size. 4000 2000"),
    ({"bytewise": True}, None),
    ({"greeting": b"220 " + b"x" * 5000 + b"\r\n"}, "Couldn't connect to ftp serverConnect error #12152."),
    ({"PASS": b"530-\x00\x07\x1b[31mno\x7f\r\n530 \x01end\r\n"}, "FTP response:\r\n     530-???[31mno?"),
]


class Peer:
    """A one-connection-at-a-time FTP server on 127.0.0.1:21 that behaves as script says."""

    def __init__(self, script):
        self.script = dict(STANDARD, **script)
        self.listener = socket.create_server(("127.0.0.1", 21))
        threading.Thread(target=self.serve, daemon=True).start()

    def serve(self):
        try:
            while True:
                control, _ = self.listener.accept()
                with control:
                    self.session(control)
        except OSError:
            pass  # closed

    def send(self, sock, reply):
        for chunk in ([reply[i:i + 1] for i in range(len(reply))] if self.script.get("bytewise") else [reply]):
            sock.sendall(chunk)

    def session(self, control):
        s = self.script
        self.send(control, s["greeting"])
        data = None
        for line in control.makefile("rb"):
            verb = line.split()[0].decode().upper() if line.split() else ""
            reply = s.get(verb, b"502 not here\r\n")
            if reply is STALL:
                control.recv(1)  # until the client gives up
                return
            if verb in ("EPSV", "PASV") and reply[:1] == "2":
                data = socket.create_server(("127.0.0.1", 0))
                port = data.getsockname()[1]
                reply = reply.format(port=port, host=s["host"], p1=port // 256, p2=port % 256).encode()
            self.send(control, reply)
            if verb == "RETR" and reply.startswith(b"150") and data:
                self.transfer(control, data)
            if verb == "QUIT":
                return

    def transfer(self, control, listener):
        s = self.script
        with listener:
            conn, _ = listener.accept()
        conn.sendall(s["data"])
        if s["data_end"] == "stall":
            control.recv(1)
        if s["data_end"] == "reset":
            conn.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, b"\x01\x00\x00\x00\x00\x00\x00\x00")
        conn.close()
        if s["final"]:
            self.send(control, s["final"])
        else:
            control.close()

    def close(self):
        self.listener.shutdown(socket.SHUT_RDWR)  # wakes the accepting thread; a plain close would not
        self.listener.close()


def open_sockets(run):
    """The program's TCP sockets, as ss shows them."""
    listing = subprocess.run(["ss", "-tanp"], capture_output=True, text=True).stdout
    return [line for line in listing.splitlines() if f"pid={run.process.pid}," in line]


class Faults(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.panel = Desktop()

    @classmethod
    def tearDownClass(cls):
        cls.panel.close()

    def expect_failure(self, run, logged, reason):
        log = wait_for(lambda: logged.encode() in run.file("orlenza.err") and run.file("orlenza.err"),
                       "the failure record", timeout=70)
        self.assertFalse([b for b in log if b < 0x20 and b not in b"\r\n"], "control bytes in the log")
        self.assertLess(len(log), 3000)
        wait_for(lambda: not open_sockets(run), "the connections to close")
        run.click_icon("click", "1")
        self.assertIn(reason, run.answer("Escape"))
        self.assertTrue(run.ended())
        self.assertFalse(os.path.exists(os.path.join(run.temp, "setup.run.ran")), "installer of an incomplete file")

    def test_every_misbehaving_peer_ends_in_the_failure_report_or_an_exact_download(self):
        for script, logged in PEERS:
            peer = Peer(script)
            with self.subTest(script=script), Updater(self.panel, "ftp://127.0.0.1/setup.run", SIZE, 1000) as run:
                if logged is None:
                    self.assertTrue(run.ended())
                    self.assertEqual(run.file("setup.run"), FILE)
                else:
                    self.expect_failure(run, logged, "Downloading is fault: ")
            peer.close()

    def test_full_or_read_only_temporary_folder_is_a_reported_fault_and_the_program_goes_on(self):
        for options, fault in (("size=64k", "61"), ("ro", "70")):
            with self.subTest(options=options), tempfile.TemporaryDirectory() as small, FtpServer() as ftp:
                subprocess.run(["mount", "-t", "tmpfs", "-o", options, "tmpfs", small], check=True)
                try:
                    ftp.publish(512 * 1024)
                    with Updater(self.panel, "ftp://127.0.0.1/pub/setup.run", 512 * 1024, 1000, temp=small) as run:
                        self.assertEqual(run.answer("Return"), "Runtime error.")
                        self.expect_failure(run, "message = Runtime Error in DownloadAppUpdate\r\nerror # =  " + fault,
                                            "Downloading is fault: ")
                finally:
                    subprocess.run(["umount", small], check=True)

    def test_hostile_names_reach_the_installer_as_names_and_never_a_shell(self):
        name = "-rf$(touch${IFS}pwned);\u20ac\x01.run"
        with FtpServer() as ftp:
            content = ftp.publish(SIZE)
            os.rename(os.path.join(ftp.root, "pub", "setup.run"), os.path.join(ftp.root, "pub", name))
            with Updater(self.panel, "ftp://127.0.0.1/pub/" + name, SIZE, 1000) as run:
                self.assertTrue(run.ended())
                self.assertEqual(run.file(name), content)
                wait_for(lambda: run.file(name + ".ran"), "the installer")
                self.assertFalse(os.path.exists(os.path.join(run.temp, "pwned")))


if __name__ == "__main__":
    main()
