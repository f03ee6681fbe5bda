"""Debian's vsftpd on 127.0.0.1:21 with a minimal configuration of the benchmark's own.

Anonymous, read-only, passive only, in the foreground; an optional rate limit makes a download slow
enough to pause. The served folder and every folder above it must not be writable by the ftp user.
"""

import os
import shutil
import socket
import subprocess
import tempfile
import time

CONFIG = """\
listen=YES
listen_ipv6=NO
listen_address=127.0.0.1
listen_port=21
background=NO
anonymous_enable=YES
local_enable=NO
write_enable=NO
no_anon_password=YES
anon_root={root}
pasv_enable=YES
port_enable=NO
seccomp_sandbox=NO
secure_chroot_dir={empty}
xferlog_enable=NO
dirmessage_enable=NO
anon_max_rate={rate}
"""


class Vsftpd:
    def __init__(self, root, rate=0):
        """Serves root; rate limits each anonymous transfer to that many bytes per second (0: none)."""
        self.folder = tempfile.mkdtemp(prefix="bench-vsftpd-")
        empty = os.path.join(self.folder, "empty")
        os.mkdir(empty, 0o755)
        config = os.path.join(self.folder, "vsftpd.conf")
        with open(config, "w") as f:
            f.write(CONFIG.format(root=root, empty=empty, rate=rate))
        self.log = os.path.join(self.folder, "stderr.txt")
        with open(self.log, "wb") as log:
            self.process = subprocess.Popen(["vsftpd", config], stdout=subprocess.DEVNULL, stderr=log)
        self._wait_listening()

    def _wait_listening(self, timeout=10.0):
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            if self.process.poll() is not None:
                with open(self.log, "rb") as log:
                    raise RuntimeError("vsftpd ended: " + log.read().decode(errors="replace"))
            try:
                with socket.create_connection(("127.0.0.1", 21), timeout=1.0) as probe:
                    probe.settimeout(2.0)
                    if probe.recv(64).startswith(b"220"):
                        return
            except OSError:
                time.sleep(0.05)
        raise RuntimeError("vsftpd did not answer on 127.0.0.1:21")

    def close(self):
        self.process.terminate()
        try:
            self.process.wait(5)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        shutil.rmtree(self.folder, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
