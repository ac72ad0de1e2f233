#!/usr/bin/python3
"""Parallel analysis of 1000 random data sets, the minimum average partial, bfi's
maximum-likelihood factor models for k = 1 to 8 and the factor rules with
parallel analysis: bench_retention's native times beside the browser edition's
code under Node.js where it is built, then psych's bfi (2436 cases x 25
variables) against R where R is installed, running psych's fa.parallel, the
same Wishart route written in plain R, and factanal for k = 1 to 8. Times are
each program's own, without its start-up.

Usage: retention.py [BENCH_BUILD] [NODE_BUILD]
"""
import json
import os
import shutil
import statistics
import subprocess
import sys

bench_build = sys.argv[1] if len(sys.argv) > 1 else "build-bench"
node_build = sys.argv[2] if len(sys.argv) > 2 else "build-webbench"
native = os.path.join(bench_build, "bench", "bench_retention")
node_bench = os.path.join(node_build, "bench", "bench_retention.js")
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
R_CALLS = (
    ("psych's fa.parallel(fa = \"pc\")",
     'invisible(fa.parallel(r, n.obs = n, fa = "pc", n.iter = 1000, plot = FALSE))'),
    ("the same Wishart route in plain R", "invisible(wishart(p, n, 1000))"),
)
R_FACTANAL = "for (k in 1:8) factanal(covmat = r, factors = k, n.obs = n)"


def native_seconds():
    """Each case's median wall clock, by the name Google Benchmark gives it."""
    run = subprocess.run([native, f"--benchmark_repetitions={runs}", "--benchmark_format=json"],
                         capture_output=True, text=True, check=True)
    times = {}
    for case in json.loads(run.stdout)["benchmarks"]:
        if case.get("run_type") == "iteration":
            times.setdefault(case["run_name"].removesuffix("/real_time"), []).append(
                case["real_time"] / 1000)
    return {name: statistics.median(seconds) for name, seconds in times.items()}


# bench_retention.js's name for each case natively named.
NODE_CASES = {"ParallelAnalysis1000Sets": "parallel", "MinimumAveragePartialOf": "partial",
              "BfiFactorModels1To8": "factors", "BfiFactorRulesWithParallelAnalysis": "rules"}


def node_seconds(name):
    """The browser edition's median time of the case named as natively."""
    case, *args = name.split("/")
    command = ["node", "--no-experimental-fetch", node_bench, NODE_CASES[case]]
    command += [arg.split(":")[1] for arg in args] + [str(slow_runs)]
    return float(subprocess.run(command, capture_output=True, text=True, check=True).stdout)


def r_seconds(call):
    script = R_SETUP + "".join(
        f'cat("seconds", system.time({call})[["elapsed"]], "\\n")\n' for _ in range(slow_runs))
    run = subprocess.run(["Rscript", "-e", script], capture_output=True, text=True, check=True)
    # fa.parallel prints its own suggestion between the times.
    return statistics.median(float(line.split()[1]) for line in run.stdout.splitlines()
                             if line.startswith("seconds "))


times = native_seconds()
with_node = os.path.exists(node_bench)
print("Parallel analysis (1000 random data sets), MAP and the factor rules, wall clock, median")
print(f"{'':40s} {'native':>10s}" + (f" {'Node.js':>10s} {'ratio':>7s}" if with_node else ""))
for name, seconds in times.items():
    line = f"{name:40s} {seconds * 1000:7.1f} ms"
    if with_node:
        node = node_seconds(name)
        line += f" {node * 1000:7.1f} ms {node / seconds:6.2f}x"
    print(line)
if shutil.which("Rscript"):
    bfi = times["ParallelAnalysis1000Sets/p:25/n:2436"]
    print("bfi, 2436 cases x 25 variables, 1000 random data sets:")
    for what, call in R_CALLS:
        seconds = r_seconds(call)
        print(f"  {what:38s} {seconds * 1000:7.1f} ms, {seconds / bfi:6.1f} x Trolvane's")
    fits = times["BfiFactorModels1To8"]
    seconds = r_seconds(R_FACTANAL)
    print("bfi's maximum-likelihood factor models, k = 1 to 8:")
    print(f"  {'R factanal':38s} {seconds * 1000:7.1f} ms, {seconds / fits:6.1f} x Trolvane's")
rules = times["BfiFactorRulesWithParallelAnalysis"] / times["ParallelAnalysis1000Sets/p:25/n:2436"]
print(f"bfi's factor rules with parallel analysis: {rules:.2f} x parallel analysis alone")
print(f"(native {runs} runs each, Node.js and R {slow_runs})")
