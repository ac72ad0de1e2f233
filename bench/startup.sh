#!/bin/sh
# Start-up of Trolvane against its peers, a Qt window with one label, the same
# form written plainly, and that form under a plain menu bar with the same
# commands, all from exec to the window's first expose: instructions counted by callgrind (the same on
# every run, the stable measure), then wall clock and peak resident memory over
# alternating runs, as medians with their spread.
# Needs a display; `make bench` runs it under Xvfb.
set -eu
exec python3 - "${1:-build-bench}/bench" "${RUNS:-40}" <<'PY'
import os, platform, statistics, subprocess, sys, tempfile, time

probes_dir, runs = sys.argv[1], int(sys.argv[2])
probes = [("Qt window with one label", os.path.join(probes_dir, "startup_label")),
          ("The form written plainly", os.path.join(probes_dir, "startup_plain_form")),
          ("The plain form with menus", os.path.join(probes_dir, "startup_plain_menus")),
          ("Trolvane", os.path.join(probes_dir, "startup_trolvane"))]

def instructions(path):
    """Instructions from exec to first expose, in the probe's own process."""
    with tempfile.TemporaryDirectory() as folder:
        out = os.path.join(folder, "callgrind")
        run = subprocess.Popen(["valgrind", "--tool=callgrind", "--callgrind-out-file=" + out + ".%p",
                                path], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        run.wait()
        with open(f"{out}.{run.pid}") as profile:
            return next(int(line.split()[1]) for line in profile if line.startswith("totals:"))

def timed_run(path):
    """Wall-clock seconds and peak resident KiB of one run."""
    start = time.perf_counter()
    run = subprocess.Popen([path], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, _, usage = os.wait4(run.pid, 0)
    return time.perf_counter() - start, usage.ru_maxrss

def quartiles(values):
    q = statistics.quantiles(values, n=4)
    return q[0], statistics.median(values), q[2]

counts = [instructions(path) for _, path in probes]
for _, path in probes:
    for _ in range(3):
        timed_run(path)
times, memory = [[] for _ in probes], [[] for _ in probes]
for _ in range(runs):
    for i, (_, path) in enumerate(probes):
        seconds, kib = timed_run(path)
        times[i].append(seconds * 1000)
        memory[i].append(kib / 1024)

model = next((line.split(":", 1)[1].strip() for line in open("/proc/cpuinfo")
              if line.startswith("model name")), platform.machine())
print(f"Start-up, exec to first expose, {time.strftime('%Y-%m-%d')}, {os.cpu_count()} cores, {model}")
print(f"{'':28s} {'instructions':>13s}  {'wall clock, median (quartiles)':>31s}  {'peak memory':>11s}")
for (name, _), count, wall, rss in zip(probes, counts, times, memory):
    low, mid, high = quartiles(wall)
    print(f"{name:28s} {count / 1e6:11.2f} M  {mid:8.1f} ms ({low:.1f} to {high:.1f} ms)  "
          f"{statistics.median(rss):7.1f} MiB")
def against(peer):
    wall = statistics.median(times[-1]) / statistics.median(times[peer])
    return (f"{counts[-1] / counts[peer]:.3f} x instructions, "
            f"{statistics.median(memory[-1]) - statistics.median(memory[peer]):+.2f} MiB peak memory, "
            f"{100 * (wall - 1):+.1f} % wall clock")
print(f"Trolvane against the plain form with menus: {against(2)}")
print(f"Trolvane against the one-label window: {against(0)} ({runs} alternating runs each)")
PY
