#!/usr/bin/python3
"""Reading data at the sizes users bring: 100,000 cases of 50 variables as CSV
and a 1000 x 1000 correlation matrix, both written by bench_data_reading, each
opened as the data dialog opens a file, from the bytes on disk to its summary.
The CSV is read natively, by the browser edition's code under Node.js where it
is built, and by R (read.csv, cor, det, eigen) where R is installed. Times are
each program's own, without its start-up; peak memory is the native reader's
above the same program reading nothing.

Then polychoric correlations of questionnaire items: psych's bfi (its 25 items
over the 2436 complete cases) where R is installed, else items of that shape
written by bench_data_reading; the matrix natively and under Node.js, parallel
analysis on 1000 permuted data sets on every core, psych's polychoric and
fa.parallel (20 permuted sets) beside them, and
one contingency table's correlation from 2 x 2 to 10 x 10.

Usage: data_reading.py [BENCH_BUILD] [NODE_BUILD]
"""
import os
import platform
import shutil
import statistics
import subprocess
import sys
import time

bench_build = sys.argv[1] if len(sys.argv) > 1 else "build-bench"
node_build = sys.argv[2] if len(sys.argv) > 2 else "build-webbench"
native = os.path.join(bench_build, "bench", "bench_data_reading")
node_reader = os.path.join(node_build, "bench", "bench_data_reading.js")
folder = os.path.join(bench_build, "data-reading")
runs = int(os.environ.get("RUNS", "5"))
slow_runs = int(os.environ.get("SLOW_RUNS", "3"))

# Everything R needs to do what the data dialog does with the same file.
R_READING = """
file <- commandArgs(TRUE)[1]
seconds <- system.time({
    x <- read.csv(file)
    r <- cor(x)
    d <- det(r)
    e <- eigen(r, only.values = TRUE)$values
})[["elapsed"]]
cat(seconds, "\\n")
"""


# bfi's items as R has them, and psych's time for their polychoric correlations.
R_BFI = """
data(bfi, package = "psych")
write.csv(na.omit(bfi[, 1:25]), commandArgs(TRUE)[1], row.names = FALSE)
"""
R_POLYCHORIC = """
suppressMessages(library(psych))
x <- read.csv(commandArgs(TRUE)[1])
cat(system.time(polychoric(x, correct = 0))[["elapsed"]], "\\n")
"""
R_PARALLEL = """
suppressMessages(library(psych))
x <- read.csv(commandArgs(TRUE)[1])
pdf(NULL)
seconds <- system.time(capture.output(fa.parallel(x, cor = "poly", fa = "pc", n.iter = 20)))
cat(seconds[["elapsed"]], "\\n")
"""


def generated(kind, name):
    path = os.path.join(folder, name)
    if not os.path.exists(path):
        os.makedirs(folder, exist_ok=True)
        subprocess.run([native, kind, path], check=True)
    return path


def timed(command):
    """The seconds the program reports for its own work."""
    run = subprocess.run(command, capture_output=True, text=True)
    if run.returncode != 0:
        sys.exit(f"{' '.join(command)} failed:\n{run.stderr}{run.stdout}")
    return float(run.stdout.split()[0])


def peak_mib(command):
    """The program's peak resident memory."""
    run = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(run.pid, 0)
    if status != 0:
        sys.exit(f"{' '.join(command)} failed")
    return usage.ru_maxrss / 1024


def seconds_of(command, count):
    timed(command)  # warms the file cache and the program
    return [timed(command) for _ in range(count)]


def spread(values):
    return f"{statistics.median(values):6.3f} s ({min(values):.3f} to {max(values):.3f} s)"


raw = generated("raw", "raw.csv")
matrix = generated("matrix", "matrix.csv")
rows = []

native_raw = seconds_of([native, "read", raw], runs)
reading, idle = [], []
for _ in range(runs):
    reading.append(peak_mib([native, "read", raw]))
    idle.append(peak_mib([native, "idle"]))
memory = statistics.median(reading) - statistics.median(idle)
rows.append(("raw data 100,000 x 50, native", raw, native_raw, f"{memory:+7.1f} MiB"))

if os.path.exists(node_reader):
    node = seconds_of(["node", "--no-experimental-fetch", node_reader, "read", raw], slow_runs)
    rows.append(("raw data 100,000 x 50, Node.js", raw, node, ""))

r_version = None
if shutil.which("Rscript"):
    r_version = subprocess.run(["Rscript", "-e", "cat(paste(R.version$major, R.version$minor, sep='.'))"],
                               capture_output=True, text=True, check=True).stdout.strip()
    r_times = seconds_of(["Rscript", "-e", R_READING, raw], slow_runs)
    rows.append((f"raw data 100,000 x 50, R {r_version}", raw, r_times, ""))

rows.append(("matrix 1000 x 1000, native", matrix,
             seconds_of([native, "read", matrix], slow_runs), ""))

model = next((line.split(":", 1)[1].strip() for line in open("/proc/cpuinfo")
              if line.startswith("model name")), platform.machine())
print(f"Reading data, bytes on disk to summary, {time.strftime('%Y-%m-%d')}, "
      f"{os.cpu_count()} cores, {model}")
print(f"{'':32s} {'bytes':>9s}  {'wall clock, median (range)':>29s}  {'peak memory':>11s}")
for name, path, seconds, extra in rows:
    print(f"{name:32s} {os.path.getsize(path):9d}  {spread(seconds):>29s}  {extra:>11s}")
print(f"(the raw data {runs} times natively, the rest {slow_runs} times each; peak memory above "
      f"the same program reading nothing)")
if r_version:
    ratio = statistics.median(r_times) / statistics.median(native_raw)
    print(f"R (read.csv, cor, det, eigen) takes {ratio:.1f} x Trolvane's native time on the same CSV")

if r_version:
    items = os.path.join(folder, "bfi.csv")
    if not os.path.exists(items):
        subprocess.run(["Rscript", "-e", R_BFI, items], check=True)
    source = "bfi, 2436 cases x 25 items"
else:
    items = generated("questionnaire", "questionnaire.csv")
    source = "2436 cases x 25 items answered 1 to 6"
print()
print(f"Polychoric correlations of {source}, wall clock, median (range)")
matrix_times = seconds_of([native, "polychoric", items], runs)
print(f"{'matrix, native':40s} {spread(matrix_times):>29s}")
if os.path.exists(node_reader):
    node = seconds_of(["node", "--no-experimental-fetch", node_reader, "polychoric", items], slow_runs)
    print(f"{'matrix, Node.js':40s} {spread(node):>29s}  "
          f"{statistics.median(node) / statistics.median(matrix_times):.1f} x native")
set_times = seconds_of([native, "permuted", items], slow_runs)
print(f"{f'1000 permuted sets, {os.cpu_count()} cores, native':40s} {spread(set_times):>29s}")
if r_version:
    psych = seconds_of(["Rscript", "-e", R_POLYCHORIC, items], 1)
    print(f"{'psych polychoric(correct = 0), R':40s} {spread(psych):>29s}  "
          f"{statistics.median(psych) / statistics.median(matrix_times):.0f} x native")
    parallel = seconds_of(["Rscript", "-e", R_PARALLEL, items], 1)
    print(f"{'psych fa.parallel, 20 permuted sets, R':40s} {spread(parallel):>29s}  "
          f"{statistics.median(parallel) / 20 * 1000 / statistics.median(set_times):.0f} x "
          f"native per set")
tables = subprocess.run([native, "tables"], capture_output=True, text=True, check=True).stdout
print("One table's correlation, native: " + ", ".join(
    f"{size} x {size} {float(micro):.1f} us" for size, micro, _ in
    (line.split("\t") for line in tables.splitlines())))
