// A failure as the program reports it: a number and a description.
//
// The numbers follow one scheme across the program: the run-time numbers of
// the platform the program came from for file and object failures (53 file
// not found, 62 input past end of file, 91 object not set, ...), and the
// data-access engine's numbers for table failures (3xxx). The program itself
// only ever tests for 91; the rest tell a reader what went wrong.
#pragma once

#include <stdexcept>
#include <string>

namespace halvane
{

namespace err
{
inline constexpr int InvalidCall = 5;
inline constexpr int OutOfMemory = 7;
inline constexpr int FileNotFound = 53;
inline constexpr int DeviceIO = 57;
inline constexpr int DiskFull = 61;
inline constexpr int InputPastEnd = 62;
inline constexpr int PermissionDenied = 70;
inline constexpr int PathFileAccess = 75;
inline constexpr int PathNotFound = 76;
inline constexpr int ObjectNotSet = 91;
inline constexpr int InvalidPicture = 481;
// Data-access engine failures.
inline constexpr int NoCurrentRecord = 3021;
inline constexpr int CouldNotOpenFile = 3051;
inline constexpr int FieldTooSmall = 3163;
inline constexpr int TableChanged = 3197; // another program changed the table during the run
inline constexpr int ItemNotFound = 3265;
inline constexpr int UnrecognizedFormat = 3343;
inline constexpr int TypeMismatch = 3464;
inline constexpr int UpdateWithoutEdit = 3020;
} // namespace err

class Failure : public std::runtime_error
{
public:
    Failure(int number, std::string description)
        : std::runtime_error(description), m_number(number), m_description(std::move(description))
    {
    }

    int number() const noexcept { return m_number; }
    const std::string& description() const noexcept { return m_description; }

private:
    int m_number;
    std::string m_description;
};

} // namespace halvane
