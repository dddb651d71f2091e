// The conversion run: one pass over the SHAMSI table that fills SHES, SHEF,
// SHTS and SHTF of every record with the Shamsi date texts of ES, EF, ES_T1
// and EF_T1. Free of any window system: the front end supplies a display.
#pragma once

#include "system/Failure.h"
#include "system/Outcome.h"
#include "dbase/RecordSet.h"

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

namespace halvane::run
{

// Source and destination fields, in the order each record is filled.
inline constexpr std::array<dbase::DatePair, 4> kFieldPairs{{
    {"ES", "SHES"},
    {"EF", "SHEF"},
    {"ES_T1", "SHTS"},
    {"EF_T1", "SHTF"},
}};

inline constexpr std::string_view kWaitPicture = "wait.BMP";
inline constexpr std::string_view kSuccessPicture = "success.BMP";
inline constexpr std::string_view kTableNotFound = "Shamsi.dbf file not found";

// What the run shows while it works.
class RunDisplay
{
public:
    virtual ~RunDisplay() = default;
    // Loads a picture file by its name, relative to the current directory,
    // and shows it, fully drawn before returning. Throws Failure when the file
    // is missing or unreadable.
    virtual void showPicture(std::string_view fileName) = 0;
    // Gives the Run button the keyboard focus.
    virtual void focusRunButton() = 0;
};

// Turns the text of a source field's date into the text to store: the
// windowed program's Shamsi_Conv. The source field's name is passed along so
// that a front end can tell the user where a date could not be placed. A
// front end whose answers may be remembered gives a dbase::DateConverter
// instead; a Converter is asked about every date.
using Converter =
    std::function<std::string(std::string_view sourceField, std::string_view dateText)>;

// The walk: takes the record set from `dataControl`, moves last then first,
// shows wait.BMP, fills every record (RecordSet::FillRecord), flushes, and
// shows success.BMP and focuses Run. Throws Failure on any failure (91 when
// there is no record set).
void convertTable(dbase::RecordSetSource& dataControl, RunDisplay& display,
                  dbase::DateConverter& convert);
void convertTable(dbase::RecordSetSource& dataControl, RunDisplay& display,
                  const Converter& convert);

// The message of the outcome step: "Shamsi.dbf file not found" for 91,
// "Unexpected Error: " and the description for any other failure.
std::string outcomeMessage(const Failure& failure);

// The walk and its outcome: success, or the failure's number with its
// outcome message. Every front end ends a run with it; what follows a failure
// (a message box and the end of the process, or a report and an exit status)
// is the front end's.
Outcome runConversion(dbase::RecordSetSource& dataControl, RunDisplay& display,
                      dbase::DateConverter& convert);
Outcome runConversion(dbase::RecordSetSource& dataControl, RunDisplay& display,
                      const Converter& convert);

} // namespace halvane::run
