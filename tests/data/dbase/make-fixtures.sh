#!/usr/bin/env bash
# Writes the fixture tables of the dbase tests with two independent dBASE
# writers from Debian: python3-dbf (dBASE III, with and without a memo file)
# and GDAL's ogr2ogr (gdal-bin). Run once by hand, from this folder; the
# tables are committed and the tests never run a writer.
#
#   apt-get install python3-dbf gdal-bin && ./make-fixtures.sh
#
# Every table has the eight fields of a schedule (ES, EF, ES_T1, EF_T1 dates;
# SHES, SHEF, SHTS, SHTF 10-character texts) among fields of other types, and
# Persian text in code page 1256.
set -euo pipefail
cd "$(dirname "$0")"
rm -f pydbf-*.dbf pydbf-*.dbt ogr-*.dbf ogr-*.cpg

/usr/bin/python3 - <<'PY'
import datetime
import dbf

D = datetime.date
SPEC = ('ID N(5,0); TASK C(24); ES D; EF D; ES_T1 D; EF_T1 D; '
        'SHES C(10); SHEF C(10); SHTS C(10); SHTF C(10); COST N(12,2); DONE L')
# id, task, ES, EF, ES_T1, EF_T1, SHES, SHEF, SHTS, SHTF, cost, done
ROWS = [
    (1, 'پروژه برنامه', D(2001, 3, 21), D(2001, 4, 1), D(1999, 12, 31), D(2000, 2, 29),
     '', '', '', '', 1250.5, True),
    (2, 'نقشه راه', D(1980, 3, 20), D(2023, 12, 31), None, None,
     'old value', 'x', '', '', 0, False),
    (3, 'blank dates', None, None, None, None, '', '', '', '', 0, None),
    (4, 'deleted task', D(2004, 1, 1), D(2004, 1, 2), D(2003, 3, 21), D(2003, 3, 20),
     '', '', '', '', 7, True),
    (5, 'out of range', D(1979, 12, 31), D(2024, 1, 1), D(1900, 1, 1), D(2099, 12, 31),
     '', '', '', '', 3.25, False),
    (6, 'only ES', D(2002, 9, 23), None, None, None, '', '', '', '', 1, True),
    (7, 'zero date', D(2000, 1, 1), D(2000, 1, 1), D(2000, 1, 1), D(2000, 1, 1),
     '', '', '', '', 2, False),
    (8, 'bad date bytes', D(2001, 1, 1), D(2001, 1, 1), D(2001, 1, 1), D(2001, 1, 1),
     '', '', '', '', 5, True),
]

def make(name, rows, memo, deleted=()):
    spec = SPEC + ('; NOTES M' if memo else '')
    table = dbf.Table(name, spec, dbf_type='db3', codepage='cp1256')
    table.open(dbf.READ_WRITE)
    for row in rows:
        table.append(row + (('note for ' + row[1],) if memo else ()))
    for index in deleted:
        dbf.delete(table[index])
    table.close()

make('pydbf-memo.dbf', ROWS, memo=True, deleted=(3,))
make('pydbf-plain.dbf', ROWS, memo=False, deleted=(1, 3))
make('pydbf-one.dbf', ROWS[:1], memo=True)
make('pydbf-empty.dbf', [], memo=False)

# python3-dbf writes an empty date as spaces and cannot write a date that is
# not one; other software writes "00000000" for an empty date, and a damaged
# table may hold anything. Patch those bytes in: ES_T1 of record 7 becomes
# 00000000, EF of record 8 becomes 20010230.
def patch(name, record, field, text):
    with open(name, 'r+b') as f:
        head = f.read(32)
        header_length = int.from_bytes(head[8:10], 'little')
        record_length = int.from_bytes(head[10:12], 'little')
        f.seek(32)
        offset = 1
        while True:
            descriptor = f.read(32)
            if descriptor[0] == 0x0D:
                raise SystemExit(name + ': no field ' + field)
            if descriptor[:11].rstrip(b'\0').decode() == field:
                break
            offset += descriptor[16]
        f.seek(header_length + (record - 1) * record_length + offset)
        f.write(text.encode())

for name in ('pydbf-memo.dbf', 'pydbf-plain.dbf'):
    patch(name, 7, 'ES_T1', '00000000')
    patch(name, 8, 'EF', '20010230')
PY

# GDAL writes an empty date as "00000000", records the code page in a .cpg
# file, and marks a deleted record without packing the table when asked.
cat >ogr-schedule.csv <<'CSV'
ID,TASK,ES,EF,ES_T1,EF_T1,SHES,SHEF,SHTS,SHTF,COST,ACTIVE
1,پروژه برنامه,2001/03/21,2001/04/01,1999/12/31,2000/02/29,,,,,1250.5,1
2,نقشه راه,1980/03/20,2023/12/31,,,old value,x,,,0,0
3,blank dates,,,,,,,,,0,0
4,deleted task,2004/01/01,2004/01/02,2003/03/21,2003/03/20,,,,,7,1
5,out of range,1979/12/31,2024/01/01,1900/01/01,2099/12/31,,,,,3.25,0
6,only ES,2002/09/23,,,,,,,,1,1
CSV
echo '"Integer","String(24)","Date","Date","Date","Date","String(10)","String(10)","String(10)","String(10)","Real(12.2)","Integer(Boolean)"' >ogr-schedule.csvt
ogr2ogr -f "ESRI Shapefile" -lco ENCODING=CP1256 ogr-schedule.dbf ogr-schedule.csv
ogrinfo -q ogr-schedule.dbf -oo AUTO_REPACK=NO -dialect SQLite -sql "DELETE FROM \"ogr-schedule\" WHERE ID = 4"
ogr2ogr -f "ESRI Shapefile" -lco ENCODING=CP1256 -where "ID = 1" ogr-one.dbf ogr-schedule.csv
ogr2ogr -f "ESRI Shapefile" -lco ENCODING=CP1256 -where "ID = 0" ogr-empty.dbf ogr-schedule.csv
rm -f ogr-schedule.csv ogr-schedule.csvt
ls -l pydbf-* ogr-*
