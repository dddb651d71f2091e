#!/usr/bin/env python3
"""The whole job, done the way a user does it: start the real qrx2 on an X
display (Xvfb) from a directory that is not its own, with a SHAMSI table in a
Wine-style C: drive, press "OK" on the splash window and "Run" on the main
window with real mouse clicks, answer each "Date Not Found" box with Enter,
press "Exit", and check the table against an independent calendar.

With --wm, a real window manager runs on the display, and the windows are
checked as it frames them: the whole window (its frame included) centred on
the screen, each "Date Not Found" box answered by Enter to the window that
has the keyboard, and the main window active again after the last box, so
that Enter presses the focused "Run" once more without a click, as a second
run.

Usage: qrx2_e2e.py [--wm WINDOW_MANAGER] PATH/TO/qrx2
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


def expected_text(date_field):
    """What the program stores for a date field's 8 bytes (10-character field)."""
    if date_field.strip(b" 0") == b"":
        return b" ".ljust(10)
    day = datetime.date(int(date_field[:4]), int(date_field[4:6]), int(date_field[6:]))
    if not 1980 <= day.year <= 2023:
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


def check_table(before, after, records):
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
            want = expected_text(dates[[ "ES", "EF", "ES_T1", "EF_T1"].index(source)])
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
        read_end, write_end = os.pipe()
        self.server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "%dx%dx24" % SCREEN,
             "-nolisten", "tcp"], pass_fds=(write_end,), stderr=subprocess.DEVNULL)
        os.close(write_end)
        number = b""
        while not number.endswith(b"\n"):
            chunk = os.read(read_end, 16)
            if not chunk:
                fail("Xvfb did not start")
            number += chunk
        os.close(read_end)
        self.name = ":" + number.decode().strip()
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

    def windows(self):
        """Visible windows of the program: {title: id}."""
        found = {}
        for wid in self.run("xdotool", "search", "--onlyvisible", "--class", "qrx2").split():
            found[self.run("xdotool", "getwindowname", wid).strip()] = wid
        return found

    def wait_for(self, title, present=True, seconds=15):
        deadline = time.time() + seconds
        while time.time() < deadline:
            if (title in self.windows()) == present:
                return self.windows().get(title)
            time.sleep(0.1)
        fail("window %r %s" % (title, "never appeared" if present else "never went away"))

    def geometry(self, wid):
        values = {}
        for line in self.run("xwininfo", "-id", wid).splitlines():
            key, _, value = line.strip().partition(":")
            values[key] = value.strip()
        return (int(values["Absolute upper-left X"]), int(values["Absolute upper-left Y"]),
                int(values["Width"]), int(values["Height"]))

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

    def click(self, wid, rect):
        x, y, _, _ = self.geometry(wid)
        self.run("xdotool", "mousemove", str(x + rect[0] + rect[2] // 2),
                 str(y + rect[1] + rect[3] // 2), "click", "1")

    def differing_pixels(self, wid, rect, picture):
        """Pixels of `rect` in the window that differ from `picture`'s top-left part."""
        x, y, _, _ = self.geometry(wid)
        with tempfile.TemporaryDirectory() as tmp:
            shot = os.path.join(tmp, "shot.png")
            self.run("import", "-window", "root", "-crop",
                     "%dx%d+%d+%d" % (rect[2], rect[3], x + rect[0], y + rect[1]), "+repage", shot)
            result = subprocess.run(
                ["compare", "-metric", "AE", shot,
                 "%s[%dx%d+0+0]" % (picture, rect[2], rect[3]), "null:"],
                capture_output=True, text=True)
            return int(float(result.stderr.split()[0]))

    def close(self):
        if self.wm:
            self.wm.terminate()
            self.wm.wait()
        self.server.terminate()
        self.server.wait()


def expect_design_window(display, wid, size, what):
    _, _, w, h = display.geometry(wid)
    if (w, h) != size:
        fail("%s is %dx%d, designed %dx%d" % (what, w, h, *size))
    # The whole window, as the window manager (if any) frames it.
    x, y, w, h = display.frame(wid)
    centred = ((SCREEN[0] - w) // 2, (SCREEN[1] - h) // 2)
    if abs(x - centred[0]) > 1 or abs(y - centred[1]) > 1:
        fail("%s (with its frame, %dx%d) at %d,%d, not centred (%d,%d)"
             % (what, w, h, x, y, *centred))
    state = display.run("xprop", "-id", wid, "_NET_WM_STATE")
    if "_NET_WM_STATE_SKIP_TASKBAR" not in state:
        fail("%s asks for a task-bar entry: %s" % (what, state.strip()))


def answer_boxes(display, count, with_wm):
    """Answers `count` "Date Not Found" boxes with Enter, one after another."""
    for _ in range(count):
        box = display.wait_for("Date Not Found")
        if with_wm:
            # The box has the keyboard by itself.
            deadline = time.time() + 10
            while display.active() != box:
                if time.time() > deadline:
                    fail("the 'Date Not Found' box is not the active window")
                time.sleep(0.05)
            display.run("xdotool", "key", "Return")
        else:
            display.run("xdotool", "windowfocus", "--sync", box, "key", "Return")
        deadline = time.time() + 10
        while display.windows().get("Date Not Found") == box and time.time() < deadline:
            time.sleep(0.05)


def wait_for_success(display, main_window, program_dir):
    deadline = time.time() + 30
    while display.differing_pixels(main_window, PIC_RUN_INTERIOR,
                                   os.path.join(program_dir, "success.BMP")):
        if time.time() > deadline:
            fail("success.BMP never appeared in picRun")
        time.sleep(0.2)
    if "Date Not Found" in display.windows():
        fail("more 'Date Not Found' boxes than dates outside 1980 to 2023")


def main():
    parser = argparse.ArgumentParser(usage=__doc__)
    parser.add_argument("--wm")
    parser.add_argument("program")
    args = parser.parse_args()
    program = os.path.abspath(args.program)
    # Its files lie beside the program itself, also when it is started
    # through a link (as /usr/bin/qrx2 of the Debian package is).
    program_dir = os.path.dirname(os.path.realpath(program))
    for tool in ("Xvfb", "xdotool", "xwininfo", "xprop", "import", "compare") + (
            (args.wm,) if args.wm else ()):
        if not shutil.which(tool):
            print("skipped: %s is not installed" % tool)
            return 77

    with tempfile.TemporaryDirectory() as prefix, tempfile.TemporaryDirectory() as elsewhere:
        os.mkdir(os.path.join(prefix, "drive_c"))
        table = os.path.join(prefix, "drive_c", "Shamsi.dbf")
        records = sample_records()
        before = write_table(table, records)
        out_of_range = sum(1 for _, _, dates in records for d in dates
                           if d.strip(b" 0") and not 1980 <= int(d[:4]) <= 2023)

        display = Display(args.wm)
        env = dict(os.environ, DISPLAY=display.name, WINEPREFIX=prefix, QT_QPA_PLATFORM="xcb")
        qrx2 = subprocess.Popen([program], cwd=elsewhere, env=env)
        try:
            # The splash window: no title, so the window system names it after the program.
            splash = display.wait_for("qrx2")
            expect_design_window(display, splash, SPLASH, "the splash window")
            display.click(splash, SPLASH_OK)

            main_window = display.wait_for("QRX Ver. 2.0")
            display.wait_for("qrx2", present=False)
            expect_design_window(display, main_window, MAIN, "the main window")
            display.click(main_window, MAIN_RUN)

            # Each date outside 1980 to 2023 stops the run with a box; Enter goes on.
            answer_boxes(display, out_of_range, args.wm)
            wait_for_success(display, main_window, program_dir)

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
                wait_for_success(display, main_window, program_dir)

            display.click(main_window, MAIN_EXIT)
            status = qrx2.wait(timeout=15)
            if status != 0:
                fail("qrx2 ended with status %d" % status)
        finally:
            if qrx2.poll() is None:
                qrx2.kill()
            display.close()

        with open(table, "rb") as f:
            check_table(before, f.read(), records)
    print("ok: %d records converted through the windows%s"
          % (len(records), " under " + args.wm if args.wm else ""))
    return 0


if __name__ == "__main__":
    sys.exit(main())
