#!/usr/bin/python3
"""Parallel analysis of psych's bfi (2436 cases x 25 variables, 1000 random
data sets): Trolvane's native time from bench_retention against R, where R is
installed, running psych's fa.parallel and the same Wishart route written in
plain R. Times are each program's own, without its start-up.

Usage: retention.py [BENCH_BUILD]
"""
import json
import os
import shutil
import statistics
import subprocess
import sys

bench_build = sys.argv[1] if len(sys.argv) > 1 else "build-bench"
native = os.path.join(bench_build, "bench", "bench_retention")
runs = int(os.environ.get("RUNS", "5"))
slow_runs = int(os.environ.get("SLOW_RUNS", "3"))

R_SETUP = """
suppressMessages(library(psych))
data(bfi, package = "psych")
x <- na.omit(bfi[, 1:25])
r <- cor(x)
n <- nrow(x)
p <- ncol(x)
wishart <- function(p, n, sets, q = .95) {
    e <- replicate(sets, {
        l <- matrix(0, p, p)
        l[lower.tri(l)] <- rnorm(p * (p - 1) / 2)
        diag(l) <- sqrt(rchisq(p, n - seq_len(p)))
        w <- tcrossprod(l)
        s <- 1 / sqrt(diag(w))
        eigen(w * tcrossprod(s), symmetric = TRUE, only.values = TRUE)$values
    })
    list(mean = rowMeans(e), percentile = apply(e, 1, quantile, q))
}
"""
R_CALLS = {
    "psych": 'invisible(fa.parallel(r, n.obs = n, fa = "pc", n.iter = 1000, plot = FALSE))',
    "plain": "invisible(wishart(p, n, 1000))",
}


def trolvane_seconds():
    run = subprocess.run([native, "--benchmark_filter=ParallelAnalysis1000Sets/p:25/n:2436/",
                          f"--benchmark_repetitions={runs}", "--benchmark_format=json"],
                         capture_output=True, text=True, check=True)
    times = [b["real_time"] for b in json.loads(run.stdout)["benchmarks"]
             if b.get("run_type") == "iteration"]
    return statistics.median(times) / 1000


def r_seconds(call):
    script = R_SETUP + "".join(
        f'cat("seconds", system.time({call})[["elapsed"]], "\\n")\n' for _ in range(slow_runs))
    run = subprocess.run(["Rscript", "-e", script], capture_output=True, text=True, check=True)
    # fa.parallel prints its own suggestion between the times.
    return statistics.median(float(line.split()[1]) for line in run.stdout.splitlines()
                             if line.startswith("seconds "))


trolvane = trolvane_seconds()
print("Parallel analysis of bfi, 2436 cases x 25 variables, 1000 random data sets, wall clock")
print(f"{'Trolvane, native':40s} {trolvane * 1000:9.1f} ms")
if shutil.which("Rscript"):
    for name, what in (("psych", "psych's fa.parallel(fa = \"pc\")"),
                       ("plain", "the same Wishart route in plain R")):
        seconds = r_seconds(R_CALLS[name])
        print(f"{what:40s} {seconds * 1000:9.1f} ms  {seconds / trolvane:6.1f} x Trolvane's time")
print(f"(Trolvane's median of {runs} runs, R's of {slow_runs})")
