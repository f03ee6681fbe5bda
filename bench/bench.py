"""The benchmark behind run.sh; runs as root inside a private network namespace.

    bench.py UPDATER [--runs N]

Serves random files of 1 MiB, 64 MiB and 512 MiB from vsftpd on 127.0.0.1:21 and over HTTPS from nginx
(as updates.test, with a certificate authority of the run's own that the run's mount namespace trusts), and
times, alternating the tools within each round, the whole updater process (start, download, size check,
hand-off, exit), curl and lftp fetching each file over FTP, and the updater and curl over HTTPS, into the
same temporary folder on local disk. Every download is compared byte for byte with what was served. Then it measures the updater's CPU over 10 s while a
download is paused and while it waits after a failure.
"""

import argparse
import contextlib
import filecmp
import os
import platform
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import desktop as e2e  # noqa: E402  (the e2e tests' X server with a tray host, and one updater run)
from vsftpd import Vsftpd  # noqa: E402

MIB = 1024 * 1024
SIZES = [1 * MIB, 64 * MIB, 512 * MIB]
TOOLS = ["updater", "curl", "lftp", "updater https", "curl https"]
IDLE_SECONDS = 10.0
PAUSE_RATE = 256 * 1024  # bytes per second: the paused download must still be running
CLOCK_TICKS = os.sysconf("SC_CLK_TCK")


def served_name(size):
    return f"setup-{size // MIB}m.run"


def make_installer(path, size):
    """A harmless executable of exactly size bytes: a script that exits at once, padded with random bytes."""
    head = b"#!/bin/true\n"
    with open(path, "wb") as f:
        f.write(head)
        left = size - len(head)
        while left > 0:
            piece = min(left, 4 * MIB)
            f.write(os.urandom(piece))
            left -= piece
    os.chmod(path, 0o644)


def updater_folder(executable, work):
    """The updater as a host application installs it: its own folder with update.cfg beside it."""
    folder = os.path.join(work, "app")
    os.mkdir(folder)
    shutil.copy(executable, os.path.join(folder, "updater"))
    with open(os.path.join(folder, "update.cfg"), "wb") as cfg:
        cfg.write(b"Benchmark App\n")
    return folder


def tool_command(tool, app, name, size, out):
    url = ("https://updates.test/" if tool.endswith("https") else "ftp://127.0.0.1/") + name
    if tool.startswith("updater"):
        return [os.path.join(app, "updater"), url, str(size), "1000"]
    if tool.startswith("curl"):
        return ["curl", "-sS", "--fail", "-o", os.path.join(out, name), url]
    return ["lftp", "-c", f"set cmd:fail-exit yes; get {url} -o {os.path.join(out, name)}"]


def timed_run(command, env, cwd, stats):
    """Runs command under /usr/bin/time; returns wall seconds, CPU seconds and peak RSS in KiB."""
    start = time.perf_counter()
    done = subprocess.run(["/usr/bin/time", "-f", "%U %S %M", "-o", stats, *command], env=env, cwd=cwd,
                          stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, timeout=300)
    wall = time.perf_counter() - start
    if done.returncode != 0:
        raise RuntimeError(f"{command[0]} failed ({done.returncode}): {done.stderr.decode(errors='replace')}")
    with open(stats) as f:
        user, system, rss = f.read().split()[-3:]
    return wall, float(user) + float(system), int(rss)


def time_downloads(desktop, app, served, out, runs):
    """{(size, tool): [(wall, cpu, rss), ...]} over runs rounds after one unrecorded warm-up round."""
    env = dict(desktop.env, TMPDIR=out)
    stats = os.path.join(out, "time.txt")
    results = {}
    for size in SIZES:
        name = served_name(size)
        for round_number in range(runs + 1):
            for tool in TOOLS:
                local = os.path.join(out, name)
                if os.path.exists(local):
                    os.remove(local)
                sample = timed_run(tool_command(tool, app, name, size, out), env, out, stats)
                if not filecmp.cmp(local, os.path.join(served, name), shallow=False):
                    raise RuntimeError(f"{tool}: {name} differs from the served file")
                if tool.startswith("updater") and not os.access(local, os.X_OK):
                    raise RuntimeError("the updater did not hand the file over as a program")
                if round_number > 0:
                    results.setdefault((size, tool), []).append(sample)
        os.remove(os.path.join(out, name))
    return results


def cpu_ticks(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])  # utime, stime


def idle_cpu(run):
    """The share of one core the running updater uses over IDLE_SECONDS."""
    before = cpu_ticks(run.process.pid)
    time.sleep(IDLE_SECONDS)
    if run.process.poll() is not None:
        raise RuntimeError("the updater ended during the idle measurement")
    return (cpu_ticks(run.process.pid) - before) / CLOCK_TICKS / IDLE_SECONDS


def paused_cpu(desktop, served):
    size = 64 * MIB
    with Vsftpd(served, rate=PAUSE_RATE), e2e.Updater(
            desktop, "ftp://127.0.0.1/" + served_name(size), size, 1000) as run:
        local = os.path.join(run.temp, served_name(size))
        e2e.wait_for(lambda: os.path.exists(local), "the download to start")
        run.choose("Down")  # Pause, the first enabled item
        time.sleep(1.0)
        held = os.path.getsize(local)
        share = idle_cpu(run)
        if os.path.getsize(local) != held:
            raise RuntimeError("the download went on while paused")
        return share


def failed_cpu(desktop, served):
    size = 1 * MIB
    with Vsftpd(served), e2e.Updater(desktop, "ftp://127.0.0.1/" + served_name(size), size + 1, 1000) as run:
        e2e.wait_for(lambda: "wrong size" in run.log(), "the failure")
        time.sleep(1.0)
        return idle_cpu(run)


def machine():
    with open("/proc/cpuinfo") as f:
        model = next((line.split(":", 1)[1].strip() for line in f if line.startswith("model name")), "?")
    with open("/proc/meminfo") as f:
        memory = int(f.readline().split()[1]) // (1024 * 1024)
    release = "?"
    if os.path.exists("/etc/os-release"):
        with open("/etc/os-release") as f:
            release = next((line.split("=", 1)[1].strip().strip('"') for line in f if line.startswith("PRETTY_NAME")),
                           "?")

    def first_line(*command):
        done = subprocess.run(command, capture_output=True, text=True, stdin=subprocess.DEVNULL)
        return (done.stdout or done.stderr).strip().splitlines()[0]

    return (f"{model}, {os.cpu_count()} cores, {memory} GiB, {release}, Linux {platform.release()}; "
            f"{first_line('curl', '--version').split(' (')[0]}, "
            f"lftp {first_line('lftp', '--version').split('Version')[1].split('|')[0].strip()}, "
            f"vsftpd {first_line('dpkg-query', '-W', '-f=${Version}', 'vsftpd')}, "
            f"nginx {first_line('dpkg-query', '-W', '-f=${Version}', 'nginx-light')}")


def report(results, runs, paused, failed):
    """Prints the figures and the targets; returns whether every target was met."""
    medians = {key: statistics.median(s[0] for s in samples) for key, samples in results.items()}
    rss = {size: statistics.median(s[2] for s in results[(size, "updater")]) / 1024 for size in SIZES}
    print(f"\nWhole-process times over {runs} runs each, tools alternating within each round.\n")
    print("| size | tool | wall s: median (min-max) | MiB/s | CPU s | peak RSS MiB | updater/tool |")
    print("|---|---|---|---|---|---|---|")
    for size in SIZES:
        for tool in TOOLS:
            samples = results[(size, tool)]
            walls = [s[0] for s in samples]
            median = medians[(size, tool)]
            against = "updater https" if tool.endswith("https") else "updater"
            ratio = "" if tool.startswith("updater") else f"{medians[(size, against)] / median:.2f}"
            print(f"| {size // MIB} MiB | {tool} | {median:.3f} ({min(walls):.3f}-{max(walls):.3f}) | "
                  f"{size / MIB / median:.0f} | {statistics.median(s[1] for s in samples):.2f} | "
                  f"{statistics.median(s[2] for s in samples) / 1024:.1f} | {ratio} |")
    small, large = SIZES[0], SIZES[-1]
    print(f"\nupdater peak RSS: {small // MIB} MiB download {rss[small]:.1f} MiB, {large // MIB} MiB download "
          f"{rss[large]:.1f} MiB")
    print(f"updater CPU over {IDLE_SECONDS:.0f} s: paused {paused * 100:.2f} % of a core, "
          f"waiting after a failure {failed * 100:.2f} % of a core")

    def ratio(size, tool):
        return medians[(size, "updater")] / medians[(size, tool)]

    targets = [
        ("512 MiB FTP: updater/curl <= 0.5", ratio(large, "curl"), 0.5),
        ("64 MiB FTP: updater/curl <= 1.2", ratio(64 * MIB, "curl"), 1.2),
        ("512 MiB HTTPS: updater/curl <= 1.0", medians[(large, "updater https")] / medians[(large, "curl https")], 1.0),
        ("1 MiB FTP, mostly start and end: updater/curl <= 4.0", ratio(small, "curl"), 4.0),
        ("peak RSS 512 MiB - 1 MiB <= 2 MiB", rss[large] - rss[small], 2.0),
        ("CPU while paused < 1 %", paused * 100, 1.0),
        ("CPU waiting after a failure < 1 %", failed * 100, 1.0),
    ]
    print("\nTargets:")
    for name, value, limit in targets:
        print(f"  {'met   ' if value <= limit else 'MISSED'} {name}: {value:.2f}")
    moonshot = ratio(large, "lftp")
    print(f"  {'met   ' if moonshot < 1.0 else 'not yet'} moonshot, 512 MiB: updater/lftp < 1.0: {moonshot:.2f}")
    return all(value <= limit for _, value, limit in targets)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("updater")
    parser.add_argument("--runs", type=int, default=7)
    args = parser.parse_args()
    if args.runs < 5:
        parser.error("use at least 5 runs")
    if os.geteuid() != 0:
        sys.exit("the benchmark needs root (run bench/run.sh)")
    subprocess.run(["ip", "link", "set", "lo", "up"], check=True)
    executable = os.path.abspath(args.updater)

    # Local disk rather than a tmpfs /tmp: the output is written where an update would go.
    work = tempfile.mkdtemp(prefix="updater-bench-", dir="/var/tmp")
    os.chmod(work, 0o755)
    try:
        served = os.path.join(work, "served")
        out = os.path.join(work, "out")
        os.mkdir(served, 0o755)
        os.mkdir(out)
        for size in SIZES:
            make_installer(os.path.join(served, served_name(size)), size)
        app = updater_folder(executable, work)
        print("Machine:", machine(), flush=True)
        e2e.UPDATER = executable
        web = os.path.join(work, "web")
        os.mkdir(web)
        e2e.trust_test_authority(web)
        with contextlib.closing(e2e.Desktop()) as desktop:
            with Vsftpd(served), e2e.WebServers(web, root=served):
                results = time_downloads(desktop, app, served, out, args.runs)
            paused = paused_cpu(desktop, served)
            failed = failed_cpu(desktop, served)
        met = report(results, args.runs, paused, failed)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    sys.exit(0 if met else 1)


if __name__ == "__main__":
    main()
