#!/usr/bin/env python3
"""Checks a table that shamsi-dates has filled, against the table as it was.

Reads both with dbfread (a dBASE reader that shares nothing with ours) and
computes every expected Shamsi date text with its own implementation of the
conversion, straight from DATES.TXT, or for --exact from the first days of
the Shamsi years that ICU gives (tests/data/calendar/nowruz.txt). Then
compares the files byte by byte: nothing may differ but the four destination
fields of each record and the header's last-update date (which must be
today's).

Usage: check_filled_table.py ORIGINAL FILLED DATES.TXT
       check_filled_table.py --exact[-four-digit-year] ORIGINAL FILLED NOWRUZ.TXT
       check_filled_table.py --unchanged ORIGINAL FILLED
Exit status 0 when the table is right, 1 with the differences otherwise.
"""

import bisect
import datetime
import re
import struct
import sys

import dbfread

PAIRS = [("ES", "SHES"), ("EF", "SHEF"), ("ES_T1", "SHTS"), ("EF_T1", "SHTF")]
ENTRIES = 1747


def load_dates(path):
    """Keys and values of DATES.TXT as 10-character slots, entries 1 to 1747."""
    keys, values = [], []
    with open(path, "rb") as f:
        text = f.read().decode("latin-1")
    for line in re.split(r"\r\n|\n|\r", text):
        if not line.strip():
            continue
        key, value = line.split(",", 1)
        keys.append(key.strip().strip('"').ljust(10)[:10])
        values.append(value.strip().strip('"').ljust(10)[:10])
        if len(keys) == ENTRIES:
            break
    return keys, values


def val(text):
    """The number at the start of a text: blanks skipped, 0 without a digit."""
    m = re.match(r"[+-]?(\d+\.?\d*|\.\d+)", text.replace(" ", "").replace("\t", ""))
    return float(m.group(0)) if m else 0.0


def number_text(x):
    return str(int(x)) if x == int(x) else repr(x)


def convert(dates, value):
    """The Shamsi date text of a source value (a date, or text), or None."""
    keys, values = dates
    if isinstance(value, datetime.date):
        s = "%02d/%02d/%04d" % (value.day, value.month, value.year)
    else:
        s = value
    year = number_text(val(s[-4:]))
    prefix = s[:6]
    month = round(val(prefix[-3:][:2]))  # Python rounds half to even
    day = val(prefix[:2])
    rep, shamsi_year = "", 0
    for c in range(20, 31):
        base = 4 * c + 1900
        for offset in range(4):
            if year == str(base + offset):
                rep = str(2000 + offset)
                threshold = 19 if offset == 0 else 20
                turned = month > 3 or (month == 3 and day > threshold)
                shamsi_year = int(year) - (621 if turned else 622)
    key = (prefix + rep).upper()
    for k in range(len(keys)):
        if keys[k].upper() == key:
            return str(shamsi_year)[-2:] + values[k][-8:]
    return None


def exact_conversion(path, four_digit_year):
    """The exact conversion: a date's Shamsi year is the last one whose first
    day is not after it; months of 31 days six times, then of 30. None for
    text that is no date and for days outside the reference's years."""
    starts, years = [], []
    for line in open(path, encoding="ascii"):
        if not line.startswith("#"):
            year, date = line.split()
            starts.append(datetime.date.fromisoformat(date).toordinal())
            years.append(int(year))

    def convert(value):
        if not isinstance(value, datetime.date):
            return None
        i = bisect.bisect_right(starts, value.toordinal()) - 1
        if i < 0 or i + 1 == len(starts):
            return None
        n = value.toordinal() - starts[i]
        month, day = (n // 31 + 1, n % 31 + 1) if n < 186 else ((n - 186) // 30 + 7,
                                                                 (n - 186) % 30 + 1)
        year = years[i] if four_digit_year else years[i] % 100
        return "%0*d/%02d/%02d" % (4 if four_digit_year else 2, year, month, day)

    return convert


class KeepBadDates(dbfread.FieldParser):
    """Hands over a date field whose bytes are not a date as its text."""

    def parseD(self, field, data):
        try:
            return super().parseD(field, data)
        except ValueError:
            return data.decode("latin-1").strip()


def read(path):
    table = dbfread.DBF(path, parserclass=KeepBadDates, ignore_missing_memofile=True,
                        char_decode_errors="surrogateescape", load=True)
    return table, list(table.records) + list(table.deleted)


def layout(data):
    """Header length, record length, record count and field offsets."""
    count, header_len, record_len = struct.unpack_from("<IHH", data, 4)
    fields, offset = {}, 1
    for pos in range(32, header_len - 1, 32):
        if data[pos] == 0x0D:
            break
        name = data[pos:pos + 11].split(b"\0")[0].decode("ascii")
        length = data[pos + 16]
        fields[name] = (offset, length)
        offset += length
    return header_len, record_len, count, fields


def expected_text(conversion, value):
    if value is None or value == "":
        return " "
    result = conversion(value)
    return "" if result is None else result


def check(original_path, filled_path, conversion):
    problems = []
    before = open(original_path, "rb").read()
    after = open(filled_path, "rb").read()

    # Independent reading of values.
    table, old_records = read(original_path)
    try:
        _, new_records = read(filled_path)
    except ValueError as e:
        return ["%s cannot be read back: %s" % (filled_path, e)]
    if len(old_records) != len(new_records):
        return ["record count changed: %d -> %d" % (len(old_records), len(new_records))]
    converted = 0
    for i, (old, new) in enumerate(zip(old_records, new_records)):
        for source, destination in PAIRS:
            want = expected_text(conversion, old[source]).rstrip(" ")
            converted += bool(want.strip())
            if new[destination] != want:
                problems.append("record %d: %s is %r, expected %r (from %s %r)"
                                % (i + 1, destination, new[destination], want, source, old[source]))
        for name in old:
            if name not in dict(PAIRS).values() and old[name] != new[name]:
                problems.append("record %d: %s changed: %r -> %r" % (i + 1, name, old[name], new[name]))

    # Bytes: only the destinations and the last-update date may differ.
    header_len, record_len, count, fields = layout(before)
    if len(before) != len(after):
        problems.append("file size changed: %d -> %d" % (len(before), len(after)))
    if before[:1] + before[4:header_len] != after[:1] + after[4:header_len]:
        problems.append("header changed")
    # An empty table has no record to save, so its date may stay as it was.
    today = datetime.date.today()
    stamps = {bytes([d.year - 1900, d.month, d.day]) for d in (today, today - datetime.timedelta(1))}
    if count > 0 and after[1:4] not in stamps:
        problems.append("last-update date is %r, not today's" % after[1:4])
    # Records in file order, for the bytes; dbfread keeps deleted ones apart.
    by_bytes = [dict(zip([f.name for f in table.fields], r.values())) for r in old_records]
    order = sorted(range(count), key=lambda n: before[header_len + n * record_len] == 0x2A)
    values_at = {position: by_bytes[k] for k, position in enumerate(order)}
    for n in range(count):
        start = header_len + n * record_len
        old, new = bytearray(before[start:start + record_len]), bytearray(after[start:start + record_len])
        for source, destination in PAIRS:
            offset, length = fields[destination]
            want = expected_text(conversion, values_at[n][source]).encode("latin-1").ljust(length, b" ")
            if bytes(new[offset:offset + length]) != want:
                problems.append("record %d: %s bytes %r, expected %r" % (n + 1, destination,
                                                                        bytes(new[offset:offset + length]), want))
            old[offset:offset + length] = new[offset:offset + length] = b"#" * length
        if old != new:
            problems.append("record %d: bytes outside the destinations changed" % (n + 1))
    tail = header_len + count * record_len
    if before[tail:] != after[tail:]:
        problems.append("bytes after the last record changed")
    if not problems:
        print("%s: %d records, %d dates converted, bytes outside the destinations unchanged"
              % (filled_path, count, converted))
    return problems


def main(argv):
    if len(argv) == 3 and argv[0] == "--unchanged":
        same = open(argv[1], "rb").read() == open(argv[2], "rb").read()
        problems = [] if same else ["%s differs from %s" % (argv[2], argv[1])]
    elif len(argv) == 4 and argv[0] in ("--exact", "--exact-four-digit-year"):
        conversion = exact_conversion(argv[3], argv[0] == "--exact-four-digit-year")
        problems = check(argv[1], argv[2], conversion)
    elif len(argv) == 3:
        dates = load_dates(argv[2])
        problems = check(argv[0], argv[1], lambda value: convert(dates, value))
    else:
        print(__doc__, file=sys.stderr)
        return 2
    for p in problems[:20]:
        print(p, file=sys.stderr)
    if len(problems) > 20:
        print("... and %d more" % (len(problems) - 20), file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
