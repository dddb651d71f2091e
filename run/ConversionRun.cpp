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

// A Converter asked about every date: none of its answers is remembered.
class AskEveryTime final : public dbase::DateConverter
{
public:
    explicit AskEveryTime(const Converter& convert) : m_convert(convert) {}
    std::string convert(std::string_view source, std::string_view dateText, dbase::Reuse&) override
    {
        return m_convert(source, dateText);
    }
    void convertedAgain(std::string_view, bool) override {}

private:
    const Converter& m_convert;
};

} // namespace

void convertTable(dbase::RecordSetSource& dataControl, RunDisplay& display,
                  dbase::DateConverter& convert)
{
    dbase::RecordSet& rs = require(dataControl.Recordset());
    rs.MoveLast();
    rs.MoveFirst();
    display.showPicture(kWaitPicture);
    while (!rs.Eof()) {
        rs.FillRecord(kFieldPairs, convert);
        rs.MoveNext();
    }
    // Success is only shown for records that are on stable storage.
    rs.Flush();
    if (require(dataControl.Recordset()).Eof()) {
        display.showPicture(kSuccessPicture);
        display.focusRunButton();
    }
}

void convertTable(dbase::RecordSetSource& dataControl, RunDisplay& display,
                  const Converter& convert)
{
    AskEveryTime asking(convert);
    convertTable(dataControl, display, asking);
}

std::string outcomeMessage(const Failure& failure)
{
    if (failure.number() == err::ObjectNotSet)
        return std::string(kTableNotFound);
    return std::string(kUnexpectedError) + failure.description();
}

Outcome runConversion(dbase::RecordSetSource& dataControl, RunDisplay& display,
                      dbase::DateConverter& convert)
{
    try {
        convertTable(dataControl, display, convert);
    } catch (const std::exception& e) {
        const Failure failure = toFailure(e);
        return Outcome(failure.number(), outcomeMessage(failure));
    }
    return {};
}

Outcome runConversion(dbase::RecordSetSource& dataControl, RunDisplay& display,
                      const Converter& convert)
{
    AskEveryTime asking(convert);
    return runConversion(dataControl, display, asking);
}

} // namespace halvane::run
