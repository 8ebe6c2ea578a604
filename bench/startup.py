#!/usr/bin/python3
"""Start-up of rivav as a user sees it, beside minimal Qt programs.

The programs take turns, each started on a fresh Xvfb display per run:
rivav, a bare Qt Widgets window and a bare Qt WebEngine view. For each run:

- window mapped: from the start of the process until the first map (X
  MapNotify) of the main window that is still mapped at the end; a window
  that is mapped and then thrown away does not count;
- native windows: how many top-level windows with the main window's caption
  were mapped on the way (1: no flash);
- rivav only, from a one-pixel row of the screen across the window, read
  every few milliseconds: when the window first shows anything but a plain
  colour, how many different looks it shows before the form, and when the
  loading pane is gone (the row holds the form for good);
- rivav only: a click on navigation button 2 (the first creates the other
  eight windows), back with button 1, and button 2 again; from each release
  until the tools index shows and stays;
- at rest: the CPU time of the whole process tree over 20 s (--idle), in
  per cent of one core; rivav after the tick, with the caret blinking in the
  mobile-number box (before the clicks), the WebEngine view after the memory
  figures (the Widgets window is not measured);
- the resident (RSS) and proportional (PSS) memory of the whole process tree,
  browser helpers included, 5 s after start (rivav: after the clicks, so that
  all three browsers exist; with --idle, some 20 s later);
- rivav only, the PSS at start: after the tick, before any click. The first
  click on button 2 loads the instructions page in the background, which
  starts a page renderer of its own (the start-up pages are discarded at the
  tick), so the later figure holds one page more.

All programs run on one session bus, as on a desktop: without one, each
program would start a bus of its own (libdbus autolaunch), which outlives it
and slows the next start. The bus is started once with dbus-launch and
stopped at the end (dbus-x11). The load average before and after is printed
with the table.

Also runs the region micro-benchmarks (bench/bench_regions), whose floor is
their 1 ms target, and prints one table of medians: figure, ours, floors,
ratios to the WebEngine floor.

With --before DIR, the rivav of another build (DIR/rivav, with its shipped
files beside it) takes its turn too, in a column of its own.

With --assistive, everything runs as with a screen reader about: the
accessibility bus is started on the session bus and Qt is told to use it
(QT_LINUX_ACCESSIBILITY_ALWAYS_ON), so the program and the page engine build
their accessible trees.

Usage: bench/startup.py [--runs N] [--build DIR] [--before DIR] [--idle SECONDS] [--assistive]
"""
import argparse
import json
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

from Xlib import X, display as xdisplay
from Xlib.ext import xtest


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


def cpu_ns(root):
    """Time on the CPU, in ns, of each thread in the tree. The scheduler's own
    account (schedstat) is exact, where the 10 ms ticks of /proc/PID/stat
    would count a few per 20 s."""
    times = {}
    for pid in tree_pids(root):
        try:
            tids = os.listdir(f"/proc/{pid}/task")
        except OSError:
            continue
        for tid in tids:
            try:
                with open(f"/proc/{pid}/task/{tid}/schedstat") as f:
                    times[int(tid)] = int(f.read().split()[0])
            except (OSError, IndexError, ValueError):
                pass
    return times


def start_session_bus():
    """One session bus for all programs; returns the daemon's pid."""
    out = subprocess.run(["dbus-launch"], capture_output=True, text=True, check=True).stdout
    values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
    os.environ["DBUS_SESSION_BUS_ADDRESS"] = values["DBUS_SESSION_BUS_ADDRESS"]
    return int(values["DBUS_SESSION_BUS_PID"])


def cpu_at_rest(session, root, seconds):
    """CPU use of the process tree over the given seconds from 1 s on, in per cent of one core."""
    session.watch(session.now() + 1.0)
    before = cpu_ns(root)
    session.watch(session.now() + seconds)
    after = cpu_ns(root)
    return 100.0 * sum(t - before.get(tid, 0) for tid, t in after.items()) / 1e9 / seconds


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


# Where a user clicks, in the window: the middle of navigation buttons 1 and 2.
BUTTON1 = (77, 120)
BUTTON2 = (202, 120)
# Rows of the window to watch: one across the navigation bar, which the
# loading pane covers, one across the middle, where the tools index differs
# from the main form.
BAR_ROW = 120
MIDDLE_ROW = 300
# The middle of the mobile-number box (Text8).
PHONE_BOX = (176, 412)


class Session:
    """One program on its own display: the top-level windows it maps, and rows of the screen."""

    def __init__(self, d, start):
        self.d = d
        self.root = d.screen().root
        self.start = start
        self.windows = {}  # id -> {"title", "maps": [t], "mapped", "window"}

    def now(self):
        return time.monotonic() - self.start

    def pump(self):
        while self.d.pending_events():
            event = self.d.next_event()
            if event.type == X.MapNotify:
                w = self.windows.setdefault(event.window.id, {"title": window_name(self.d, event.window),
                                                             "maps": [], "window": event.window})
                w["maps"].append(self.now())
                w["mapped"] = True
            elif event.type in (X.UnmapNotify, X.DestroyNotify) and event.window.id in self.windows:
                self.windows[event.window.id]["mapped"] = False

    def titled(self, title):
        return [w for w in self.windows.values() if title in w["title"]]

    def row(self, y):
        width = self.root.get_geometry().width
        return self.root.get_image(0, y, width, 1, X.ZPixmap, 0xffffffff).data

    def watch(self, until, y=None):
        """Follows the windows until the given time; with y, reads that screen row meanwhile."""
        samples = []
        while self.now() < until:
            self.pump()
            if y is not None:
                samples.append((self.now(), self.row(y)))
            time.sleep(0.004)
        self.pump()
        return samples

    def click(self, x, y):
        xtest.fake_input(self.d, X.MotionNotify, x=x, y=y)
        xtest.fake_input(self.d, X.ButtonPress, 1)
        xtest.fake_input(self.d, X.ButtonRelease, 1)
        self.d.sync()
        return self.now()


def plain(row):
    return len(set(row[i:i + 4] for i in range(0, len(row), 4))) <= 1


def settled(samples, since):
    """When the row took on its last look for good, in seconds after since."""
    last = samples[-1][1]
    t = samples[-1][0]
    for when, row in reversed(samples):
        if row != last:
            break
        t = when
    return t - since


def measure(program, cwd, number, idle):
    name, command, title = program
    number = free_display(number)
    xvfb = start_xvfb(number)
    try:
        env = dict(os.environ, DISPLAY=f":{number}")
        if os.geteuid() == 0:
            env["QTWEBENGINE_CHROMIUM_FLAGS"] = "--no-sandbox"
        d = connect_display(number)
        d.screen().root.change_attributes(event_mask=X.SubstructureNotifyMask)
        d.sync()
        result = {}
        s = Session(d, time.monotonic())
        proc = subprocess.Popen(command, cwd=cwd, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        while not s.titled(title) and s.now() < 30:
            s.watch(s.now() + 0.001)
        samples = []
        if s.titled(title):
            first = s.titled(title)[0]
            geometry = first["window"].get_geometry()
            top, mapped = geometry.y, first["maps"][0]
            # rivav: until its start-up timer has fired, 2 s after the window was made.
            samples = s.watch(max(3.5, mapped + 2.8), top + BAR_ROW if name in ("rivav", "before") else None)
        # The window that stays is the one mapped now, before any click hides it.
        main = s.titled(title)
        staying = [w["maps"][0] for w in main if w.get("mapped")]
        result["mapped"] = min(staying) if staying else None
        result["windows"] = len(main)
        # Looks from the first map on; the last one is the form.
        looks = [row for t, row in samples if t >= mapped and not plain(row)]
        if looks:
            result["painted"] = next(t for t, row in samples if t >= mapped and not plain(row))
            result["looks"] = len(set(looks)) - 1
            result["pane hidden"] = settled(samples, 0)
            result["pss at start"] = memory_kib(proc.pid)[1]
            if idle:
                # At rest after the tick, as at start: the caret blinks in the mobile-number box.
                s.click(geometry.x + PHONE_BOX[0], top + PHONE_BOX[1])
                result["idle"] = cpu_at_rest(s, proc.pid, idle)
            clicks = []
            for x, y, wait in (BUTTON2 + (0.6,), BUTTON1 + (0.4,), BUTTON2 + (0.6,)):
                at = s.click(geometry.x + x, top + y)
                clicks.append(settled(s.watch(at + wait, top + MIDDLE_ROW), at))
            result["first click"], result["later click"] = clicks[0], clicks[2]
        s.watch(max(5.0, s.now()))
        result["rss"], result["pss"] = memory_kib(proc.pid)
        # The floors hold their one page from the start.
        if name not in ("rivav", "before"):
            result["pss at start"] = result["pss"]
        if idle and name == "webengine" and s.titled(title):
            result["idle"] = cpu_at_rest(s, proc.pid, idle)
        proc.terminate()
        try:
            proc.wait(5)
        except subprocess.TimeoutExpired:
            proc.kill()
        d.close()
        return result
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
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--build", default=os.path.join(os.path.dirname(__file__), "..", "build"))
    parser.add_argument("--before", help="build folder of a rivav to compare with")
    parser.add_argument("--idle", type=float, default=20.0,
                        help="seconds of CPU use measured at rest (0: not measured)")
    parser.add_argument("--assistive", action="store_true",
                        help="as with assistive technology running: the accessibility bus is up "
                             "and Qt is told to use it, as a screen reader would have it")
    args = parser.parse_args()
    build = os.path.abspath(args.build)

    workdir = tempfile.mkdtemp()
    shutil.copy(os.path.join(build, "city.txt"), workdir)
    programs = [
        ("rivav", [os.path.join(build, "rivav")], "rivav1.07"),
        ("widgets", [os.path.join(build, "widgets-floor")], "widgets-floor"),
        ("webengine", [os.path.join(build, "webengine-floor")], "webengine-floor"),
    ]
    if args.before:
        programs.insert(1, ("before", [os.path.join(os.path.abspath(args.before), "rivav")], "rivav1.07"))
    results = {}
    load_before = os.getloadavg()
    bus = start_session_bus()
    helpers = []
    if args.assistive:
        helpers.append(subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"]))
        os.environ["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        time.sleep(1)
    try:
        for run in range(args.runs):
            for program in programs:
                results.setdefault(program[0], []).append(measure(program, workdir, 150, args.idle))
    finally:
        for helper in helpers:
            helper.terminate()
            helper.wait()
        os.kill(bus, signal.SIGTERM)
    load_after = os.getloadavg()
    shutil.rmtree(workdir)

    def median(name, key, scale=1.0):
        values = [r[key] * scale for r in results.get(name, []) if r.get(key) is not None]
        return statistics.median(values) if values else float("nan")

    columns = [name for name, _, _ in programs]
    figures = [
        ("main window mapped, stays (ms)", "mapped", 1000),
        ("native main windows mapped", "windows", 1),
        ("window shows the loading look (ms)", "painted", 1000),
        ("looks before the form (1: the pane's alone)", "looks", 1),
        ("loading pane hidden (ms)", "pane hidden", 1000),
        ("first click on button 2 to visible (ms)", "first click", 1000),
        ("later click on button 2 to visible (ms)", "later click", 1000),
        ("process tree RSS (MiB)", "rss", 1 / 1024),
        ("process tree PSS (MiB)", "pss", 1 / 1024),
        ("process tree PSS at start (MiB)", "pss at start", 1 / 1024),
        (f"process tree CPU at rest over {args.idle:g} s (%)", "idle", 1),
    ]
    # Figures of a few per cent get two decimals.
    rows = [(figure, [median(name, key, scale) for name in columns], 2 if key == "idle" else 1)
            for figure, key, scale in figures]
    # The micro-benchmarks have no program to compare with: their floor is the 1 ms target.
    nan = float("nan")
    for run_name, value in micro_benchmarks(build).items():
        rows.append((f"{run_name} (us)", [value] + [nan] * (len(columns) - 2) + [1000.0], 1))

    print(f"{'figure':<44}" + "".join(f"{name[:9]:>10}" for name in columns) +
          f"{'ratio':>7}   (medians; {args.runs} start-ups each; ratio = rivav / webengine)")
    for figure, values, digits in rows:
        ratio = values[0] / values[-1] if values[-1] else float("nan")
        print(f"{figure:<44}" + "".join(f"{v:>10.{digits}f}" for v in values) + f"{ratio:>7.2f}")
    print("load average (1, 5, 15 min): before " + " ".join(f"{v:.2f}" for v in load_before) +
          ", after " + " ".join(f"{v:.2f}" for v in load_after))

if __name__ == "__main__":
    sys.exit(main())
