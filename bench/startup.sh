#!/bin/sh
# Measures start-up, process start to window shown and painted, for Trolvane's
# window and for two bare Qt windows built the same way: an empty one, and one
# showing a single line of text; and the peak resident memory of each.
# Needs a display; `make bench` runs it under Xvfb.
set -eu
build="${1:-build-bench}/bench"
runs="${RUNS:-60}"

hyperfine -N --style basic --warmup 5 --runs "$runs" --export-json "$build/startup.json" \
    "$build/startup_empty" "$build/startup_text" "$build/startup_trolvane" >"$build/startup.txt"

least_peak_rss_kib() {
    least=""
    for _ in 1 2 3 4 5 6 7 8 9 10; do
        rss=$(/usr/bin/time -f %M "$1" 2>&1 >/dev/null | tail -n 1)
        if [ -z "$least" ] || [ "$rss" -lt "$least" ]; then least=$rss; fi
    done
    echo "$least"
}

python3 - "$build/startup.json" "$(least_peak_rss_kib "$build/startup_empty")" \
    "$(least_peak_rss_kib "$build/startup_text")" \
    "$(least_peak_rss_kib "$build/startup_trolvane")" <<'PY'
import json, sys
results = json.load(open(sys.argv[1]))["results"]
names = ["empty Qt window", "Qt window with one line of text", "Trolvane"]
times = [r["median"] * 1000 for r in results]
spreads = [r["stddev"] * 1000 for r in results]
rss = [int(kib) / 1024 for kib in sys.argv[2:5]]
for name, time, spread, memory in zip(names, times, spreads, rss):
    print(f"{name:33s} {time:6.1f} ms median (sd {spread:.1f})  peak RSS {memory:5.1f} MiB")
for name, time, memory in zip(names[:2], times[:2], rss[:2]):
    print(f"Trolvane against the {name}: {100 * (times[2] / time - 1):+.1f} % time, "
          f"{rss[2] - memory:+.2f} MiB memory")
PY
