#!/usr/bin/python3
"""Start-up time and memory of rivav beside a minimal Qt WebEngine program.

For each program and run: start it on a fresh Xvfb display, time from the
start of the process until its main window is mapped (X MapNotify), and 5 s
after start add up the resident (RSS) and proportional (PSS) memory of the
whole process tree, browser helpers included. Prints medians.

Also runs the region micro-benchmarks (bench/bench_regions), whose floor is
their 1 ms target, and prints one table: figure, ours, floor, ratio.

Usage: bench/startup.py [--runs N] [--build DIR]
"""
import argparse
import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

from Xlib import X, display as xdisplay


def tree_pids(root):
    children = {}
    for pid in os.listdir("/proc"):
        if not pid.isdigit():
            continue
        try:
            with open(f"/proc/{pid}/stat") as f:
                ppid = int(f.read().rsplit(")", 1)[1].split()[1])
        except OSError:
            continue
        children.setdefault(ppid, []).append(int(pid))
    out, todo = [], [root]
    while todo:
        pid = todo.pop()
        out.append(pid)
        todo.extend(children.get(pid, []))
    return out


def memory_kib(root):
    rss = pss = 0
    for pid in tree_pids(root):
        try:
            with open(f"/proc/{pid}/smaps_rollup") as f:
                for line in f:
                    if line.startswith("Rss:"):
                        rss += int(line.split()[1])
                    elif line.startswith("Pss:"):
                        pss += int(line.split()[1])
        except OSError:
            pass
    return rss, pss


def free_display(start):
    number = start
    while os.path.exists(f"/tmp/.X11-unix/X{number}") or os.path.exists(f"/tmp/.X{number}-lock"):
        number += 1
    return number


def start_xvfb(number):
    xvfb = subprocess.Popen(["Xvfb", f":{number}", "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    for _ in range(200):
        if os.path.exists(f"/tmp/.X11-unix/X{number}"):
            return xvfb
        time.sleep(0.02)
    raise RuntimeError("Xvfb did not start")


def window_name(d, window):
    """The window's title, or "" when it is gone already (a short-lived popup)."""
    try:
        wm_name = window.get_full_property(d.intern_atom("_NET_WM_NAME"), 0)
        if wm_name:
            return wm_name.value.decode("utf-8", "replace")
        name = window.get_wm_name() or ""
        return name.decode("utf-8", "replace") if isinstance(name, bytes) else name
    except Exception:
        return ""


def connect_display(number):
    for _ in range(100):
        try:
            return xdisplay.Display(f":{number}")
        except Exception:
            time.sleep(0.02)
    raise RuntimeError(f"cannot connect to display :{number}")


def measure(command, title, cwd, number):
    number = free_display(number)
    xvfb = start_xvfb(number)
    try:
        env = dict(os.environ, DISPLAY=f":{number}")
        if os.geteuid() == 0:
            env["QTWEBENGINE_CHROMIUM_FLAGS"] = "--no-sandbox"
        d = connect_display(number)
        root = d.screen().root
        root.change_attributes(event_mask=X.SubstructureNotifyMask)
        d.sync()
        start = time.monotonic()
        proc = subprocess.Popen(command, cwd=cwd, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        mapped = None
        while mapped is None and time.monotonic() - start < 30:
            while d.pending_events():
                event = d.next_event()
                if event.type == X.MapNotify:
                    if title in window_name(d, event.window):
                        mapped = time.monotonic() - start
                        break
            time.sleep(0.001)
        time.sleep(max(0.0, 5.0 - (time.monotonic() - start)))
        rss, pss = memory_kib(proc.pid)
        proc.terminate()
        try:
            proc.wait(5)
        except subprocess.TimeoutExpired:
            proc.kill()
        d.close()
        return mapped, rss, pss
    finally:
        xvfb.terminate()
        xvfb.wait()


def micro_benchmarks(build):
    """Medians of the region micro-benchmarks, in microseconds."""
    binary = os.path.join(build, "bench", "bench_regions")
    if not os.path.exists(binary):
        return {}
    out = subprocess.run([binary, "--benchmark_repetitions=10", "--benchmark_report_aggregates_only=true",
                          "--benchmark_format=json"], capture_output=True, text=True, check=True,
                         env=dict(os.environ, QT_QPA_PLATFORM="offscreen")).stdout
    medians = {}
    for b in json.loads(out)["benchmarks"]:
        if b.get("aggregate_name") == "median":
            medians[b["run_name"]] = b["real_time"]
    return medians


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--build", default=os.path.join(os.path.dirname(__file__), "..", "build"))
    args = parser.parse_args()
    build = os.path.abspath(args.build)

    workdir = tempfile.mkdtemp()
    shutil.copy(os.path.join(build, "city.txt"), workdir)
    programs = [
        ("rivav", [os.path.join(build, "rivav")], "rivav1.07"),
        ("floor", [os.path.join(build, "webengine-floor")], "webengine-floor"),
    ]
    results = {}
    for run in range(args.runs):
        for name, command, title in programs:
            results.setdefault(name, []).append(measure(command, title, workdir, 150))
    shutil.rmtree(workdir)

    def median(name, column, scale=1.0):
        values = [r[column] * scale for r in results[name] if r[column] is not None]
        return statistics.median(values) if values else float("nan")

    rows = [
        ("main window mapped (ms)", median("rivav", 0, 1000), median("floor", 0, 1000)),
        ("process tree RSS at 5 s (MiB)", median("rivav", 1, 1 / 1024), median("floor", 1, 1 / 1024)),
        ("process tree PSS at 5 s (MiB)", median("rivav", 2, 1 / 1024), median("floor", 2, 1 / 1024)),
    ]
    # The micro-benchmarks have no program to compare with: their floor is the 1 ms target.
    for run_name, value in micro_benchmarks(build).items():
        rows.append((f"{run_name} (us)", value, 1000.0))

    print(f"{'figure':<40}{'ours':>10}{'floor':>10}{'ratio':>8}   (medians; {args.runs} start-ups each)")
    for figure, ours, floor in rows:
        print(f"{figure:<40}{ours:>10.1f}{floor:>10.1f}{ours / floor:>8.2f}")


if __name__ == "__main__":
    sys.exit(main())
