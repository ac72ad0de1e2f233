#!/usr/bin/python3
"""The browser edition's size and start-up: every file of the site compressed
with gzip, then the time from navigation to the window being ready for typing
(the page marks the moment with performance.now()) over repeated loads in
headless Chromium, served from 127.0.0.1. The first load is a first visit; the
later ones are served by the page's service worker, as a returning user's are.

Usage: web_startup.py [SITE_FOLDER] [LOADS]
"""
import functools
import gzip
import http.server
import os
import platform
import statistics
import sys
import tempfile
import threading
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.support.ui import WebDriverWait

site = sys.argv[1] if len(sys.argv) > 1 else "build-web/site"
loads = int(sys.argv[2]) if len(sys.argv) > 2 else 20

files = sorted(os.listdir(site))
sizes = {}
for name in files:
    with open(os.path.join(site, name), "rb") as file:
        data = file.read()
    sizes[name] = (len(data), len(gzip.compress(data, compresslevel=9)))


class Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


server = http.server.ThreadingHTTPServer(("127.0.0.1", 0),
                                         functools.partial(Quiet, directory=site))
threading.Thread(target=server.serve_forever, daemon=True).start()
url = f"http://127.0.0.1:{server.server_port}/"

options = webdriver.ChromeOptions()
options.binary_location = "/usr/bin/chromium"
for argument in ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                 "--disable-background-networking", "--disable-component-update",
                 "--disable-sync", f"--user-data-dir={tempfile.mkdtemp(prefix='trolvane-bench-')}"]:
    options.add_argument(argument)
driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
times = []
try:
    version = driver.capabilities.get("browserVersion", "")
    for _ in range(loads):
        driver.get("about:blank")
        driver.get(url)
        WebDriverWait(driver, 20).until(
            lambda d: d.execute_script("return document.documentElement.dataset.ready === 'true'"))
        times.append(driver.execute_script("return window.trolvaneReadyAt"))
        # The next load finds the service worker in charge, as a returning visit does.
        WebDriverWait(driver, 20).until(
            lambda d: d.execute_script("return document.documentElement.dataset.offline === 'ready'"))
finally:
    driver.quit()
    server.shutdown()

model = next((line.split(":", 1)[1].strip() for line in open("/proc/cpuinfo")
              if line.startswith("model name")), platform.machine())
total_raw = sum(raw for raw, _ in sizes.values())
total_gzip = sum(packed for _, packed in sizes.values())
print(f"Browser edition, {time.strftime('%Y-%m-%d')}, headless Chromium {version}, "
      f"{os.cpu_count()} cores, {model}")
print(f"{'file':24s} {'bytes':>9s} {'gzip':>9s}")
for name in sorted(files, key=lambda name: -sizes[name][1]):
    raw, packed = sizes[name]
    print(f"{name:24s} {raw:9d} {packed:9d}")
print(f"{'all ' + str(len(files)) + ' files':24s} {total_raw:9d} {total_gzip:9d}"
      f"  ({total_gzip / 1024:.1f} KiB gzip-compressed)")
low, _, high = statistics.quantiles(times, n=4)
print(f"Navigation to ready for typing, median of {loads} loads: {statistics.median(times):.1f} ms "
      f"({low:.1f} to {high:.1f} ms; first visit {times[0]:.1f} ms)")
