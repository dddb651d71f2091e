#!/usr/bin/env python3
"""The program used the way a user uses it, on an X display (Xvfb), with real
mouse clicks and key presses, started from a directory that is not its own
with a SHAMSI table in C:\ (a Wine-style C: drive of the test's own for the
Linux program; the test's table linked into the fresh Wine prefix of
qrx2.exe).

The whole job: press "OK" on the splash window and "Run" on the main window,
answer each "Date Not Found" box with Enter, press "Exit", and check the
table against an independent calendar.

With --tour: the About window from the splash ("System Info..." without a
system-information tool gives a box), the instruction viewer from the main
window's instruction area, its "Visual Tour" through every page with
"Next>>", the disabled "Next>>" on the last page, Escape and "<<Prev" back,
"Close"; then a second start in which "System Info..." starts the tool (a
script on the search path of the Linux program; Wine's msinfo32.exe,
registered in the registry of the Wine prefix, for qrx2.exe).

With --wm, a real window manager runs on the display, and the windows are
checked as it frames them: the whole window (its frame included) centred on
the screen, each "Date Not Found" box answered by Enter to the window that
has the keyboard, and the main window active again after the last box, so
that Enter presses the focused "Run" once more without a click, as a second
run.

With --exact: the exact start ("--exact"; "/exact" for qrx2.exe), driven by
key presses only (space on "OK", space on "Run"), on a table of every day of
2024 to 2030: the caption "QRX Ver. 2.0 - exact", no box, the
success picture, every date placed by the calendar; then the default start
on a few of those days still gives a "Date Not Found" box for each date and
leaves the fields empty.

With --wine WINE_RUN, the program is qrx2.exe, started through the build's
wine-run wrapper (cmake/wine-run.sh).

Usage: qrx2_e2e.py [--wm WINDOW_MANAGER] [--wine WINE_RUN] [--tour | --exact]
                   [--screenshots DIR] PATH/TO/qrx2
       (exit status 77: a tool is missing)
"""

import argparse
import datetime
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time

SCREEN = (1024, 768)
# Client areas and control rectangles of the designs, in pixels.
SPLASH = (296, 224)
SPLASH_OK = (232, 160, 57, 18)
MAIN = (185, 125)
MAIN_RUN = (8, 104, 81, 18)
MAIN_EXIT = (96, 104, 81, 18)
PIC_RUN_INTERIOR = (8 + 2, 8 + 2, 169 - 4, 89 - 4)
# The instruction area: a click area inside picRun's border.
MAIN_INSTRUCTION = (8 + 2 + 64, 8 + 2 + 24, 97, 25)
SPLASH_ABOUT = (232, 184, 57, 18)
ABOUT = (221, 160)
ABOUT_CLIENT_AT = (136, 106)
ABOUT_OK = (144, 64, 68, 23)
ABOUT_SYSINFO = (144, 96, 67, 23)
INSTRUCTION = (408, 461)
PAGE_INTERIOR = (2, 8 + 2, 401 - 4, 425 - 4)
VIEWER_PREV = (24, 440, 57, 17)
VIEWER_NEXT = (88, 440, 57, 17)
VIEWER_VISUAL = (248, 440, 73, 17)
VIEWER_CLOSE = (328, 440, 73, 17)
PAGES = 15
MAIN_TITLE = "QRX Ver. 2.0"
EXACT_TITLE = "QRX Ver. 2.0 - exact"


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


# ---------------------------------------------------------------- the calendar

def jalali(day):
    """Gregorian date -> (year, month, day) of the Solar Hijri calendar, by the
    33-year arithmetic rule (exact for 1800 to 2100), sharing nothing with the
    program's table lookup."""
    gy, gm, gd = day.year, day.month, day.day
    days_before = [0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334]
    gy2 = gy + 1 if gm > 2 else gy
    days = (355666 + 365 * gy + (gy2 + 3) // 4 - (gy2 + 99) // 100 + (gy2 + 399) // 400 + gd
            + days_before[gm - 1])
    jy = -1595 + 33 * (days // 12053)
    days %= 12053
    jy += 4 * (days // 1461)
    days %= 1461
    if days > 365:
        jy += (days - 1) // 365
        days = (days - 1) % 365
    if days < 186:
        return jy, 1 + days // 31, 1 + days % 31
    return jy, 7 + (days - 186) // 30, 1 + (days - 186) % 30


def expected_text(date_field, exact=False):
    """What the program stores for a date field's 8 bytes (10-character field),
    by the date table, or with `exact` by the calendar."""
    if date_field.strip(b" 0") == b"":
        return b" ".ljust(10)
    day = datetime.date(int(date_field[:4]), int(date_field[4:6]), int(date_field[6:]))
    if not exact and not 1980 <= day.year <= 2023:
        return b"".ljust(10)
    y, m, d = jalali(day)
    return ("%02d/%02d/%02d" % (y % 100, m, d)).encode().ljust(10)


# ---------------------------------------------------------------- the table

FIELDS = [  # name, type, width: the run's eight fields among others
    ("ID", "N", 5), ("NAME", "C", 24), ("ES", "D", 8), ("EF", "D", 8),
    ("SHES", "C", 10), ("SHEF", "C", 10), ("COST", "N", 10), ("ES_T1", "D", 8),
    ("EF_T1", "D", 8), ("SHTS", "C", 10), ("SHTF", "C", 10), ("DONE", "L", 1),
]
SOURCES = {"SHES": "ES", "SHEF": "EF", "SHTS": "ES_T1", "SHTF": "EF_T1"}


def offsets():
    at, result = 1, {}
    for name, _, width in FIELDS:
        result[name] = (at, width)
        at += width
    return result, at


def sample_records():
    """Three dozen activities over 1994 to 2023: all four dates, some empty
    (blanks and zeros), around the Shamsi new year, and one date of 1975."""
    records = []
    start = datetime.date(1994, 3, 19)
    for i in range(36):
        es = start + datetime.timedelta(days=i * 311 + (i * i) % 17)
        ef = es + datetime.timedelta(days=3 + i % 40)
        dates = [es, ef, es + datetime.timedelta(days=1), ef + datetime.timedelta(days=2)]
        fields = [d.strftime("%Y%m%d").encode() for d in dates]
        if i % 5 == 1:
            fields[2] = b" " * 8
        if i % 7 == 3:
            fields[3] = b"0" * 8
        records.append((i + 1, "Activity %d" % (i + 1), fields))
    records.append((37, "Nowruz 2002", [b"20020320", b"20020321", b"20030320", b"20030321"]))
    records.append((38, "Too early", [b"19750601", b" " * 8, b" " * 8, b"20231231"]))
    records.append((39, "Nothing planned", [b" " * 8] * 4))
    return records


def write_table(path, records):
    place, record_length = offsets()
    header_length = 32 + 32 * len(FIELDS) + 1
    out = bytearray(struct.pack("<BBBBIHH20x", 3, 124, 1, 1, len(records), header_length,
                                record_length))
    for name, kind, width in FIELDS:
        out += struct.pack("<11sc4xBB14x", name.encode(), kind.encode(), width, 0)
    out += b"\x0d"
    for ident, name, dates in records:
        row = bytearray(b" " * record_length)
        values = {"ID": str(ident).rjust(5).encode(), "NAME": name.encode().ljust(24),
                  "ES": dates[0], "EF": dates[1], "ES_T1": dates[2], "EF_T1": dates[3],
                  "SHES": b"old".ljust(10), "SHEF": b"old".ljust(10),
                  "SHTS": b"old".ljust(10), "SHTF": b"old".ljust(10),
                  "COST": b"1234.50".rjust(10), "DONE": b"T" if ident % 2 else b"F"}
        for field, value in values.items():
            at, width = place[field]
            row[at:at + width] = value
        out += row
    out += b"\x1a"
    with open(path, "wb") as f:
        f.write(out)
    return bytes(out)


def every_day_records(first, last):
    """Records holding every day from `first` to `last`, four a record."""
    days = [first + datetime.timedelta(days=n) for n in range((last - first).days + 1)]
    records = []
    for at in range(0, len(days), 4):
        fields = [d.strftime("%Y%m%d").encode() for d in days[at:at + 4]]
        fields += [b" " * 8] * (4 - len(fields))
        records.append((len(records) + 1, "Day %s" % days[at], fields))
    return records


def check_table(before, after, records, exact=False):
    place, record_length = offsets()
    header_length = 32 + 32 * len(FIELDS) + 1
    if len(after) != len(before):
        fail("the table's size changed: %d bytes, was %d" % (len(after), len(before)))
    # The header's date of last update (bytes 1 to 3) becomes today's, as
    # dBASE keeps it; nothing else in the header changes.
    today = datetime.date.today()
    if after[1:4] not in (before[1:4], bytes([today.year - 1900, today.month, today.day])):
        fail("the last-update date became %r" % after[1:4])
    changed = [i for i in range(header_length) if after[i] != before[i] and not 1 <= i <= 3]
    if changed:
        fail("the table's header changed at bytes %s" % changed)
    for r, (ident, _, dates) in enumerate(records):
        base = header_length + r * record_length
        old, new = bytearray(before[base:base + record_length]), after[base:base + record_length]
        for dest, source in SOURCES.items():
            at, width = place[dest]
            want = expected_text(dates[["ES", "EF", "ES_T1", "EF_T1"].index(source)], exact)
            got = new[at:at + width]
            if got != want:
                fail("record %d %s: %r, expected %r" % (ident, dest, got, want))
            old[at:at + width] = got
        if bytes(old) != new:
            fail("record %d: bytes outside the four Shamsi fields changed" % ident)
    if after[header_length + len(records) * record_length:] != b"\x1a":
        fail("the end-of-file mark changed")


# ---------------------------------------------------------------- the display

class Display:
    def __init__(self, wm=None):
        # An X server that said it is ready but takes no connection is
        # started again.
        for attempt in range(3):
            self.start_server()
            if subprocess.run(["xdpyinfo"], env=dict(os.environ, DISPLAY=self.name),
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                              timeout=30).returncode == 0:
                break
            print("Xvfb on %s takes no connection; starting another" % self.name,
                  file=sys.stderr)
            self.server.terminate()
            self.server.wait()
        else:
            fail("no Xvfb that takes connections")
        self.init_window_manager(wm)

    def start_server(self):
        read_end, write_end = os.pipe()
        # -noreset: an X server resets itself when its last client leaves,
        # and takes no connection while it does; between two xdotool calls,
        # or the check below and the program's start, there is often no
        # client at all.
        self.server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "%dx%dx24" % SCREEN,
             "-nolisten", "tcp", "-noreset"], pass_fds=(write_end,), stderr=subprocess.DEVNULL)
        os.close(write_end)
        number = b""
        while not number.endswith(b"\n"):
            chunk = os.read(read_end, 16)
            if not chunk:
                fail("Xvfb did not start")
            number += chunk
        os.close(read_end)
        self.name = ":" + number.decode().strip()

    def init_window_manager(self, wm):
        # Wine draws a window's frame itself, inside the window's X window,
        # when no window manager frames it (none runs, or it has no caption);
        # Qt's X windows are always the client areas.
        self.frames_inside = False
        self.wm = None
        if wm:
            self.wm = subprocess.Popen([wm], env=dict(os.environ, DISPLAY=self.name),
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            deadline = time.time() + 15
            while "_NET_SUPPORTING_WM_CHECK(WINDOW)" not in self.run(
                    "xprop", "-root", "_NET_SUPPORTING_WM_CHECK"):
                if time.time() > deadline:
                    self.close()
                    fail("the window manager %s did not start" % wm)
                time.sleep(0.1)

    def run(self, *args):
        return subprocess.run(list(args), env=dict(os.environ, DISPLAY=self.name),
                              capture_output=True, text=True, timeout=30).stdout

    def window_ids(self, program="qrx2"):
        """Visible windows of a program (qrx2 also matches Wine's qrx2.exe)."""
        return self.run("xdotool", "search", "--onlyvisible", "--class", program).split()

    def windows(self):
        """Visible windows of the program: {title: id}."""
        return {self.run("xdotool", "getwindowname", wid).strip(): wid
                for wid in self.window_ids()}

    def wait_for(self, title, present=True, seconds=30):
        deadline = time.time() + seconds
        while time.time() < deadline:
            if (title in self.windows()) == present:
                return self.windows().get(title)
            time.sleep(0.1)
        fail("window %r %s" % (title, "never appeared" if present else "never went away"))

    def wait_for_new(self, before, program="qrx2", seconds=30):
        """A visible window of `program` that is not among `before`."""
        deadline = time.time() + seconds
        while time.time() < deadline:
            new = [wid for wid in self.window_ids(program) if wid not in before]
            if new:
                return new[0]
            time.sleep(0.1)
        fail("no new window of %s appeared" % program)

    def wait_gone(self, wid, seconds=15):
        deadline = time.time() + seconds
        while wid in self.window_ids():
            if time.time() > deadline:
                fail("window %s never went away" % wid)
            time.sleep(0.05)

    def geometry(self, wid):
        values = {}
        for line in self.run("xwininfo", "-id", wid).splitlines():
            key, _, value = line.strip().partition(":")
            values[key] = value.strip()
        return (int(values["Absolute upper-left X"]), int(values["Absolute upper-left Y"]),
                int(values["Width"]), int(values["Height"]))

    def client(self, wid, size):
        """Where the client area of a window designed `size` lies on the screen.
        A frame drawn inside the X window has equal borders left, right and
        below, and the border and caption above."""
        x, y, w, h = self.geometry(wid)
        if not self.frames_inside or (w, h) == size:
            return x, y
        border = (w - size[0]) // 2
        return x + border, y + h - size[1] - border

    def frame(self, wid):
        """The whole window as the window manager frames it: x, y, width, height."""
        x, y, w, h = self.geometry(wid)
        extents = self.run("xprop", "-id", wid, "_NET_FRAME_EXTENTS").partition("=")[2]
        left, right, top, bottom = ([int(v) for v in extents.split(",")] if extents.strip()
                                    else (0, 0, 0, 0))
        return x - left, y - top, w + left + right, h + top + bottom

    def active(self):
        """The window the window manager made active, as xdotool names it."""
        out = self.run("xprop", "-root", "_NET_ACTIVE_WINDOW").partition("#")[2].split(",")[0].strip()
        return str(int(out, 16)) if out.startswith("0x") else None

    def click(self, wid, size, rect):
        x, y = self.client(wid, size)
        self.run("xdotool", "mousemove", str(x + rect[0] + rect[2] // 2),
                 str(y + rect[1] + rect[3] // 2), "click", "1")

    def key(self, wid, key):
        """A key press to `wid`, given the keyboard first (without a window
        manager nobody else gives it)."""
        if self.wm:
            self.run("xdotool", "key", key)
        else:
            self.run("xdotool", "windowfocus", "--sync", wid, "key", key)

    def differing_pixels(self, wid, size, rect, picture):
        """Pixels of `rect` in the window that differ from `picture`'s top-left part."""
        x, y = self.client(wid, size)
        with tempfile.TemporaryDirectory() as tmp:
            shot = os.path.join(tmp, "shot.png")
            self.run("import", "-window", "root", "-crop",
                     "%dx%d+%d+%d" % (rect[2], rect[3], x + rect[0], y + rect[1]), "+repage", shot)
            result = subprocess.run(
                ["compare", "-metric", "AE", shot,
                 "%s[%dx%d+0+0]" % (picture, rect[2], rect[3]), "null:"],
                capture_output=True, text=True)
            return int(float(result.stderr.split()[0]))

    def wait_for_picture(self, wid, size, rect, picture, what):
        deadline = time.time() + 30
        while self.differing_pixels(wid, size, rect, picture):
            if time.time() > deadline:
                fail("%s never showed %s" % (what, os.path.basename(picture)))
            time.sleep(0.1)

    def screenshot(self, wid, path):
        """A picture of the whole window, its frame included."""
        x, y, w, h = self.frame(wid)
        self.run("import", "-window", "root", "-crop", "%dx%d+%d+%d" % (w, h, x, y),
                 "+repage", path)

    def close(self):
        if self.wm:
            self.wm.terminate()
            self.wm.wait()
        self.server.terminate()
        self.server.wait()


def expect_design_window(display, wid, size, what, centred=True):
    _, _, w, h = display.geometry(wid)
    if display.frames_inside and (w, h) != size:
        border, top = (w - size[0]) / 2, h - size[1] - (w - size[0]) / 2
        if not (w > size[0] and border == int(border) and border <= top <= border + 30):
            fail("%s is %dx%d with its frame, which holds no %dx%d client area"
                 % (what, w, h, *size))
    elif (w, h) != size:
        fail("%s is %dx%d, designed %dx%d" % (what, w, h, *size))
    if centred:
        # The whole window, as the window manager (if any) frames it.
        x, y, w, h = display.frame(wid)
        middle = ((SCREEN[0] - w) // 2, (SCREEN[1] - h) // 2)
        if abs(x - middle[0]) > 1 or abs(y - middle[1]) > 1:
            fail("%s (with its frame, %dx%d) at %d,%d, not centred (%d,%d)"
                 % (what, w, h, x, y, *middle))
    state = display.run("xprop", "-id", wid, "_NET_WM_STATE")
    if "_NET_WM_STATE_SKIP_TASKBAR" not in state:
        fail("%s asks for a task-bar entry: %s" % (what, state.strip()))


def answer_box(display, box, with_wm, what):
    """Answers a message box with Enter; under a window manager the box must
    have the keyboard by itself."""
    if with_wm:
        deadline = time.time() + 10
        while display.active() != box:
            if time.time() > deadline:
                fail("the %s box is not the active window" % what)
            time.sleep(0.05)
    display.key(box, "Return")
    display.wait_gone(box)


def answer_boxes(display, count, with_wm):
    """Answers `count` "Date Not Found" boxes with Enter, one after another."""
    for _ in range(count):
        answer_box(display, display.wait_for("Date Not Found"), with_wm, "'Date Not Found'")


def wait_for_success(display, main_window, program_dir):
    display.wait_for_picture(main_window, MAIN, PIC_RUN_INTERIOR,
                             os.path.join(program_dir, "success.BMP"), "picRun")
    if "Date Not Found" in display.windows():
        fail("more 'Date Not Found' boxes than dates outside 1980 to 2023")


# ---------------------------------------------------------------- the program

class Program:
    """qrx2 started on the display: the Linux program with a Wine-style C:
    drive of its own (WINEPREFIX), or qrx2.exe under Wine through wine-run
    in a fresh Wine prefix. Either way C:\\Shamsi.dbf is `table`."""

    def __init__(self, args, display, table, elsewhere, tool=None, switches=()):
        self.args = args
        env = dict(os.environ, DISPLAY=display.name, QT_QPA_PLATFORM="xcb")
        if args.wine:
            # The table is linked into the prefix's C:\, so that the test
            # reads what the program left after Wine's prefix has gone.
            setup = 'ln -s "%s" "$WINEPREFIX/drive_c/Shamsi.dbf"' % table
            # The windows are checked as an X window manager sees them
            # (their task-bar hints), which Wine gives only to windows it
            # lets a window manager manage; the test prefixes leave them to
            # Wine itself (cmake/wine-run.sh).
            setup += (' && wine reg add "HKCU\\Software\\Wine\\X11 Driver"'
                      ' /v Managed /d Y /f >/dev/null')
            if tool:
                # Where the About window looks first; a 32-bit program reads
                # the 32-bit view of the registry.
                setup += (' && wine reg add "HKLM\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"'
                          ' /v PATH /d "%s" /f /reg:32 >/dev/null' % tool)
            command = [args.wine, "--display", "--setup", setup, args.program, *switches]
        else:
            prefix = os.path.dirname(os.path.dirname(table))
            env["WINEPREFIX"] = prefix
            # Only the test's own system-information tool (if any) on the search path.
            env["PATH"] = tool or elsewhere
            command = [args.program, *switches]
        self.process = subprocess.Popen(command, cwd=elsewhere, env=env)

    def wait(self):
        try:
            status = self.process.wait(timeout=30)
        except subprocess.TimeoutExpired:
            fail("qrx2 did not end after Exit")
        if status != 0:
            fail("qrx2 ended with status %d" % status)

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()


def start_wait(args):
    # How long a start may take to show its first window: under Wine a start
    # also starts Wine's own services in a fresh prefix, which on a machine
    # busy with other tests takes far longer than the program itself.
    return 90 if args.wine else 30


def splash_title(args):
    # The splash window has no caption: Qt names it after the program, Wine
    # leaves it empty.
    return "" if args.wine else "qrx2"


def start_main_window(display, args, shots):
    splash = display.wait_for(splash_title(args), seconds=start_wait(args))
    expect_design_window(display, splash, SPLASH, "the splash window")
    shots("splash", splash)
    display.click(splash, SPLASH, SPLASH_OK)
    main_window = display.wait_for(MAIN_TITLE)
    display.wait_gone(splash)
    expect_design_window(display, main_window, MAIN, "the main window")
    return main_window


def whole_job(args, display, table, elsewhere, shots, records=None):
    records = records or sample_records()
    before = write_table(table, records)
    out_of_range = sum(1 for _, _, dates in records for d in dates
                       if d.strip(b" 0") and not 1980 <= int(d[:4]) <= 2023)
    qrx2 = Program(args, display, table, elsewhere)
    try:
        main_window = start_main_window(display, args, shots)
        shots("main", main_window)
        display.click(main_window, MAIN, MAIN_RUN)

        # Each date outside 1980 to 2023 stops the run with a box; Enter goes on.
        answer_boxes(display, out_of_range, args.wm)
        wait_for_success(display, main_window, args.program_dir)
        shots("success", main_window)

        if args.wm:
            # The main window is active again, "Run" focused: Enter runs again.
            deadline = time.time() + 10
            while display.active() != main_window:
                if time.time() > deadline:
                    fail("the main window is not active after the last box (%s is)"
                         % display.active())
                time.sleep(0.05)
            display.run("xdotool", "key", "Return")
            answer_boxes(display, out_of_range, args.wm)
            wait_for_success(display, main_window, args.program_dir)

        display.click(main_window, MAIN, MAIN_EXIT)
        qrx2.wait()
    finally:
        qrx2.stop()
    with open(table, "rb") as f:
        check_table(before, f.read(), records)
    return "%d records converted through the windows" % len(records)


def exact_job(args, display, table, elsewhere, shots):
    """The exact start over every day of 2024 to 2030, by keys only; then the
    default start over a few of those days."""
    records = every_day_records(datetime.date(2024, 1, 1), datetime.date(2030, 12, 31))
    before = write_table(table, records)
    qrx2 = Program(args, display, table, elsewhere,
                   switches=("/exact" if args.wine else "--exact",))
    try:
        splash = display.wait_for(splash_title(args), seconds=start_wait(args))
        display.key(splash, "space")  # "OK" has the focus
        main_window = display.wait_for(EXACT_TITLE)
        display.wait_gone(splash)
        expect_design_window(display, main_window, MAIN, "the exact start's main window")
        shots("exact", main_window)
        display.key(main_window, "space")  # "Run" has the focus
        success = os.path.join(args.program_dir, "success.BMP")
        deadline = time.time() + 60
        while display.differing_pixels(main_window, MAIN, PIC_RUN_INTERIOR, success):
            if "Date Not Found" in display.windows():
                fail("the exact start showed a 'Date Not Found' box")
            if time.time() > deadline:
                fail("picRun never showed success.BMP in the exact start")
            time.sleep(0.1)
        if "Date Not Found" in display.windows():
            fail("the exact start showed a 'Date Not Found' box")
        shots("exact_success", main_window)
        display.click(main_window, MAIN, MAIN_EXIT)
        qrx2.wait()
    finally:
        qrx2.stop()
    with open(table, "rb") as f:
        check_table(before, f.read(), records, exact=True)

    # The default start on a few of the same days: a box for each date,
    # every field left empty.
    whole_job(args, display, table, elsewhere, lambda *_: None, records[:2] + records[-1:])
    return ("%d records of 2024 to 2030 placed by the exact start, the default start's boxes"
            % len(records))


def open_about(display, args):
    splash = display.wait_for(splash_title(args), seconds=start_wait(args))
    display.click(splash, SPLASH, SPLASH_ABOUT)
    about = display.wait_for("About Halvane Shamsi Dates")
    expect_design_window(display, about, ABOUT, "the About window", centred=False)
    if not args.wm and display.client(about, ABOUT) != ABOUT_CLIENT_AT:
        fail("the About window's client area is at %s, designed at %s"
             % (display.client(about, ABOUT), ABOUT_CLIENT_AT))
    return splash, about


def tour(args, display, table, elsewhere, shots):
    """The tour and the About window: System Info without a tool, then the
    instruction viewer's pages; then, in a second start, System Info with a
    tool that starts."""
    write_table(table, sample_records())
    qrx2 = Program(args, display, table, elsewhere)
    try:
        splash, about = open_about(display, args)
        shots("about", about)
        before = display.window_ids()
        display.click(about, ABOUT, ABOUT_SYSINFO)
        box = display.wait_for_new(before)
        if display.run("xdotool", "getwindowname", box).strip() != "qrx2":
            fail("the System Info box is titled %r, not 'qrx2'"
                 % display.run("xdotool", "getwindowname", box).strip())
        answer_box(display, box, args.wm, "System Information Is Unavailable")
        display.click(about, ABOUT, ABOUT_OK)
        display.wait_gone(about)

        display.click(splash, SPLASH, SPLASH_OK)
        main_window = display.wait_for(MAIN_TITLE)
        display.click(main_window, MAIN, MAIN_INSTRUCTION)
        viewer = display.wait_for("Instruction")
        expect_design_window(display, viewer, INSTRUCTION, "the instruction viewer",
                             centred=False)
        display.click(viewer, INSTRUCTION, VIEWER_VISUAL)

        def page(n):
            display.wait_for_picture(viewer, INSTRUCTION, PAGE_INTERIOR,
                                     os.path.join(args.program_dir, "%d.BMP" % n),
                                     "the viewer's page")
        page(1)
        shots("instruction", viewer)
        for n in range(2, PAGES + 1):
            display.click(viewer, INSTRUCTION, VIEWER_NEXT)
            page(n)
        # "Next>>" is disabled on the last page: a click changes nothing.
        display.click(viewer, INSTRUCTION, VIEWER_NEXT)
        time.sleep(0.5)
        page(PAGES)
        # Escape is "<<Prev", and so is a click on it.
        display.key(viewer, "Escape")
        page(PAGES - 1)
        display.click(viewer, INSTRUCTION, VIEWER_PREV)
        page(PAGES - 2)
        display.click(viewer, INSTRUCTION, VIEWER_CLOSE)
        display.wait_gone(viewer)
        display.click(main_window, MAIN, MAIN_EXIT)
        qrx2.wait()
    finally:
        qrx2.stop()

    # Again, with a system-information tool the About window finds.
    with tempfile.TemporaryDirectory() as tools:
        if args.wine:
            tool, tool_class = "C:\\windows\\system32\\msinfo32.exe", "msinfo32"
        else:
            # A desktop tool the Linux program looks for on the search path:
            # it leaves a mark when started.
            tool, tool_class = tools, None
            with open(os.path.join(tools, "hardinfo"), "w") as f:
                f.write("#!/bin/sh\n: > '%s'\n" % os.path.join(tools, "started"))
            os.chmod(os.path.join(tools, "hardinfo"), 0o755)
        qrx2 = Program(args, display, table, elsewhere, tool)
        try:
            splash, about = open_about(display, args)
            display.click(about, ABOUT, ABOUT_SYSINFO)
            if tool_class:
                started = display.wait_for_new([], program=tool_class)
                display.key(started, "Return")
                deadline = time.time() + 15
                while display.window_ids(tool_class):
                    if time.time() > deadline:
                        fail("the system-information tool's window stayed")
                    time.sleep(0.1)
            else:
                deadline = time.time() + 15
                while not os.path.exists(os.path.join(tools, "started")):
                    if time.time() > deadline:
                        fail("the system-information tool was not started")
                    time.sleep(0.1)
            if "qrx2" in [display.run("xdotool", "getwindowname", w).strip()
                          for w in display.window_ids() if w != splash]:
                fail("a box appeared although the tool was started")
            display.click(about, ABOUT, ABOUT_OK)
            display.wait_gone(about)
            display.click(splash, SPLASH, SPLASH_OK)
            main_window = display.wait_for(MAIN_TITLE)
            display.click(main_window, MAIN, MAIN_EXIT)
            qrx2.wait()
        finally:
            qrx2.stop()
    return "the tour's %d pages and the About window with and without a tool" % PAGES


def main():
    parser = argparse.ArgumentParser(usage=__doc__)
    parser.add_argument("--wm")
    parser.add_argument("--wine")
    parser.add_argument("--tour", action="store_true")
    parser.add_argument("--exact", action="store_true")
    parser.add_argument("--screenshots")
    parser.add_argument("program")
    args = parser.parse_args()
    args.program = os.path.abspath(args.program)
    if args.wine:
        args.wine = os.path.abspath(args.wine)
    # Its files lie beside the program itself, also when it is started
    # through a link (as /usr/bin/qrx2 of the Debian package is).
    args.program_dir = os.path.dirname(os.path.realpath(args.program))
    for tool in ("Xvfb", "xdotool", "xwininfo", "xdpyinfo", "xprop", "import", "compare") + (
            (args.wm,) if args.wm else ()):
        if not shutil.which(tool):
            print("skipped: %s is not installed" % tool)
            return 77

    with tempfile.TemporaryDirectory() as prefix, tempfile.TemporaryDirectory() as elsewhere:
        os.mkdir(os.path.join(prefix, "drive_c"))
        table = os.path.join(prefix, "drive_c", "Shamsi.dbf")
        display = Display(args.wm)
        display.frames_inside = bool(args.wine)

        def shots(name, wid):
            if args.screenshots:
                display.screenshot(wid, os.path.join(args.screenshots, name + ".png"))
        try:
            job = tour if args.tour else exact_job if args.exact else whole_job
            done = job(args, display, table, elsewhere, shots)
        finally:
            display.close()
    print("ok: %s%s%s" % (done, " under Wine" if args.wine else "",
                          " under " + args.wm if args.wm else ""))
    return 0


if __name__ == "__main__":
    sys.exit(main())
