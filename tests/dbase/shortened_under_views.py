#!/usr/bin/env python3
"""A table shortened under the Windows build's views of it, by a program that
Windows itself would refuse (under Wine, a Linux program can still truncate a
file that a Windows program has mapped).

shamsi-dates.exe is paused in the middle of its walk, the table cut, and the
run let go on. Two cuts, each tried until a pause lands where it must:

  in-view     inside the 4 MiB window the run is writing: the next saves
              touch pages the file no longer has (Wine gives them zeros
              rather than a fault, so each save finds its field changed and
              writes nothing), until the run moves its view past the end;
  later-view  in a window the run has not reached: found when the run moves
              its view there.

(A fault of the view itself is made by tests/dbase/FileIoWin32Test.cpp.)

Either way the run must end with status 1 and "was shortened during the run"
(never a crash, never success), the file keeps the length the cut gave it (a
write never extends it), and no byte outside the destinations changes.

Usage: shortened_under_views.py WINE_RUN SHAMSI_DATES_EXE
"""
import os
import signal
import subprocess
import sys
import tempfile
import time

RECORDS = 300_000
WINDOW = 4 * 1024 * 1024
FIELDS = [("ID", "N", 8), ("ES", "D", 8), ("EF", "D", 8), ("SHES", "C", 10), ("SHEF", "C", 10),
          ("ES_T1", "D", 8), ("EF_T1", "D", 8), ("SHTS", "C", 10), ("SHTF", "C", 10),
          ("NOTE", "C", 40)]
DESTINATIONS = ("SHES", "SHEF", "SHTS", "SHTF")


def table_bytes():
    """A dBASE IV table of RECORDS records, every date in 2001, "old" in the
    destinations."""
    record_length = 1 + sum(w for _, _, w in FIELDS)
    header_length = 32 + 32 * len(FIELDS) + 1
    head = bytearray(32)
    head[0] = 0x03
    head[1:4] = bytes([124, 1, 1])
    head[4:8] = RECORDS.to_bytes(4, "little")
    head[8:10] = header_length.to_bytes(2, "little")
    head[10:12] = record_length.to_bytes(2, "little")
    for name, kind, width in FIELDS:
        d = bytearray(32)
        d[0:len(name)] = name.encode()
        d[11] = ord(kind)
        d[16] = width
        head += d
    head += b"\r"
    rows = []
    for r in range(RECORDS):
        day = "2001%02d%02d" % (1 + r % 12, 1 + r % 28)
        values = {"ID": "%8d" % r, "ES": day, "EF": day, "ES_T1": day, "EF_T1": day,
                  "NOTE": ("note %d" % r).ljust(40)}
        row = b" " + b"".join(values.get(n, "old").ljust(w).encode() for n, _, w in FIELDS)
        rows.append(row)
    return bytes(head) + b"".join(rows) + b"\x1a", header_length, record_length


def offsets():
    out, at = {}, 1
    for name, _, width in FIELDS:
        out[name] = (at, width)
        at += width
    return out


def fail(text):
    print("FAIL: " + text)
    sys.exit(1)


def windows_process(path):
    """The process of the Windows program working on `path`: Wine's own
    program, not the wrappers that started it."""
    # The table's folder is this test's own: other tests may run
    # shamsi-dates.exe on tables named Shamsi.dbf meanwhile.
    folder = os.path.basename(os.path.dirname(path))
    found = subprocess.run(["pgrep", "-f", "shamsi-dates.exe .*" + folder],
                           capture_output=True, text=True).stdout.split()
    for pid in found:
        try:
            exe = os.path.basename(os.readlink("/proc/%s/exe" % pid))
        except OSError:
            continue
        if exe.startswith("wine") and exe != "wineserver":
            return int(pid)
    return None


def one_try(wine_run, program, path, original, header, length, cut_kind):
    """One run, paused after a save in the middle of its walk, the table cut,
    resumed. None when the pause did not land where this cut needs it."""
    with open(path, "wb") as f:
        f.write(original)
    fields = offsets()
    shes = fields["SHES"][0]
    watch = header + (RECORDS // 4) * length + shes
    run = subprocess.Popen([wine_run, program, "Z:" + path.replace("/", "\\")],
                           stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    fd = os.open(path, os.O_RDONLY)
    pid = None
    try:
        while run.poll() is None:
            if pid is None:
                pid = windows_process(path)
            if pid and os.pread(fd, 3, watch) != b"old":
                break
            time.sleep(0.0003)
        if run.poll() is not None or pid is None:
            run.communicate()
            return None
        os.kill(pid, signal.SIGSTOP)
        # Where the walk stands: the first record whose SHES is still old.
        data = os.pread(fd, len(original), 0)
        r = RECORDS // 4
        while r < RECORDS and data[header + r * length + shes:][:3] != b"old":
            r += 1
        at = header + r * length
        window_end = (at // WINDOW + 1) * WINDOW
        if cut_kind == "in-view":
            if window_end - at < 64 * 1024:
                os.kill(pid, signal.SIGCONT)
                run.communicate()
                return None
            cut = at + (window_end - at) // 2
        else:
            cut = window_end + 2 * WINDOW
        cut = header + (cut - header) // length * length
        os.truncate(path, cut)
        os.kill(pid, signal.SIGCONT)
        said = run.communicate()[0].decode("utf-8", "replace")
    finally:
        os.close(fd)
    return run.returncode, said, cut


def check(cut_kind, result, path, original, header, length):
    status, said, cut = result
    if status != 1 or "was shortened during the run" not in said:
        fail("%s: status %d, said: %s" % (cut_kind, status, said))
    after = open(path, "rb").read()
    if len(after) != cut:
        fail("%s: the file is %d bytes, the cut left %d" % (cut_kind, len(after), cut))
    writable = bytearray(len(after))
    fields = offsets()
    for r in range((len(after) - header) // length):
        for name in DESTINATIONS:
            at, width = fields[name]
            start = header + r * length + at
            writable[start:start + width] = b"\x01" * width
    writable[1:4] = b"\x01\x01\x01"  # the date of the last update
    for i, (a, b) in enumerate(zip(original[:cut], after)):
        if a != b and not writable[i]:
            fail("%s: byte %d outside the destinations changed" % (cut_kind, i))
    print("%s: cut at byte %d; %s" % (cut_kind, cut, said.strip().splitlines()[0]))


def main():
    if len(sys.argv) != 3:
        print(__doc__)
        sys.exit(2)
    wine_run, program = sys.argv[1:]
    original, header, length = table_bytes()
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "Shamsi.dbf")
        for cut_kind in ("in-view", "later-view"):
            for _ in range(8):
                result = one_try(wine_run, program, path, original, header, length, cut_kind)
                if result:
                    check(cut_kind, result, path, original, header, length)
                    break
            else:
                fail("%s: no pause landed in the middle of the walk in 8 tries" % cut_kind)


if __name__ == "__main__":
    main()
