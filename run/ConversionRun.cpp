// The conversion run: the walk over the data control's record set, and the
// outcome step that every front end ends a run with.
#include "run/ConversionRun.h"

namespace halvane::run
{
namespace
{

// What the first use of a record set that is not there gives.
dbase::RecordSet& require(dbase::RecordSet* recordSet)
{
    if (!recordSet)
        throw Failure(err::ObjectNotSet, "Object variable not set: no table to work on");
    return *recordSet;
}

// One record: every pair is set in the edit, then the record is saved. A
// failure anywhere leaves this record unsaved (no Update for it).
void fillRecord(dbase::RecordSet& rs, const Converter& convert)
{
    rs.Edit();
    for (const auto& [source, destination] : kFieldPairs) {
        const dbase::FieldValue value = rs.Field(source);
        if (value && !value->empty()) {
            // The test and the conversion each read the field: the engine
            // is asked again rather than the first answer reused.
            const dbase::FieldValue again = rs.Field(source);
            rs.SetField(destination, convert(source, again ? std::string_view(*again) : ""));
        } else {
            rs.SetField(destination, " ");
        }
    }
    rs.Update();
}

} // namespace

void convertTable(dbase::RecordSetSource& dataControl, RunDisplay& display,
                  const Converter& convert)
{
    dbase::RecordSet& rs = require(dataControl.Recordset());
    rs.MoveLast();
    rs.MoveFirst();
    display.showPicture(kWaitPicture);
    while (!rs.Eof()) {
        fillRecord(rs, convert);
        rs.MoveNext();
    }
    // Success is only shown for records that are on stable storage.
    rs.Flush();
    if (require(dataControl.Recordset()).Eof()) {
        display.showPicture(kSuccessPicture);
        display.focusRunButton();
    }
}

std::string outcomeMessage(const Failure& failure)
{
    if (failure.number() == err::ObjectNotSet)
        return std::string(kTableNotFound);
    return std::string(kUnexpectedError) + failure.description();
}

Outcome runConversion(dbase::RecordSetSource& dataControl, RunDisplay& display,
                      const Converter& convert)
{
    try {
        convertTable(dataControl, display, convert);
    } catch (const std::exception& e) {
        const Failure failure = toFailure(e);
        return Outcome(failure.number(), outcomeMessage(failure));
    }
    return {};
}

} // namespace halvane::run
