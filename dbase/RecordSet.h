// A record set over one table: the operations the conversion run walks a
// table with, named as the data-access engine names them. Every operation
// reports a failure by throwing halvane::Failure with the engine's number and
// a description that names the table and, where one is involved, the field.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace halvane::dbase
{

// A field's value as the run reads it: Null (an empty date), or its text form
// (a date as "yyyy-mm-dd").
using FieldValue = std::optional<std::string>;

class RecordSet
{
public:
    virtual ~RecordSet() = default;

    // Positions on the last / the first record.
    virtual void MoveLast() = 0;
    virtual void MoveFirst() = 0;
    // Advances to the next record, or past the last one.
    virtual void MoveNext() = 0;
    // True exactly when the position has passed the last record (or the
    // table is empty). Named Eof because EOF is a macro of the C library.
    virtual bool Eof() const = 0;

    // Opens the current record for changes.
    virtual void Edit() = 0;
    // The current value of a field of the current record (as edited so far).
    virtual FieldValue Field(std::string_view name) const = 0;
    // Sets a field of the record being edited.
    virtual void SetField(std::string_view name, std::string_view text) = 0;
    // Saves the edited record to the table file. When it returns, the record
    // is in the file: it survives the end of the process by any path.
    virtual void Update() = 0;

    // Makes every saved record durable on stable storage.
    virtual void Flush() = 0;

    // Number of records, and the current record's number (1 for the first).
    virtual long RecordCount() const = 0;
    virtual long AbsolutePosition() const = 0;
};

// Whatever hands out the current record set: the data control. nullptr when
// there is no table to open.
class RecordSetSource
{
public:
    virtual ~RecordSetSource() = default;
    virtual RecordSet* Recordset() = 0;
};

} // namespace halvane::dbase
