// A record set over one table: the operations the conversion run walks a
// table with, named as the data-access engine names them. Every operation
// reports a failure by throwing halvane::Failure with the engine's number and
// a description that names the table and, where one is involved, the field.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace halvane::dbase
{

// A field's value as the run reads it: Null (an empty date), or its text form
// (a date as "yyyy-mm-dd").
using FieldValue = std::optional<std::string>;

// A source date field (first) and the character field its Shamsi date text
// goes to (second).
using DatePair = std::pair<std::string_view, std::string_view>;

// What a converter allows for a stored date it has given a text for, when the
// same stored date is met again, in this or another source field.
struct Reuse {
    // The same text, with convertedAgain() called instead of convert(): when
    // the text depends on the date alone and asking does nothing that
    // convertedAgain() would not do too (counting it).
    bool allowed = false;
    // Handed back to convertedAgain() with each such use, so that a converter
    // can count a kind of answer without being asked again (the command
    // line's exact dates that differ from the date table's).
    bool marked = false;
};

// What the fill of a record asks for the text of each date it meets: the
// run's Shamsi_Conv.
class DateConverter
{
public:
    virtual ~DateConverter() = default;
    // The text to store for `dateText`, the value of the field `source`
    // (never Null, never empty); `reuse` says whether it may be given again.
    virtual std::string convert(std::string_view source, std::string_view dateText,
                                Reuse& reuse) = 0;
    // A text given again for a date of `source`, with the mark its first
    // answer set.
    virtual void convertedAgain(std::string_view source, bool marked) = 0;
};

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

    // Fills the current record: Edit; for each pair, the destination set to
    // the converter's text for the source's value, or to " " when that is
    // Null or empty; Update. This is how it reads in these operations; a
    // record set may do it in one step with the same effect on the file and
    // the same questions to the converter, as the table engine does.
    virtual void FillRecord(std::span<const DatePair> pairs, DateConverter& convert);

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
