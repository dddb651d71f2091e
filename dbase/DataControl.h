// The data control dbShamsi: fixed to the dBASE IV table SHAMSI in "C:\", it
// opens the table when the main window loads and hands out its current
// record set to the conversion run. It holds the table open only during a
// run: every run reads the table as the file holds it then, and between runs
// another program may rewrite, replace or delete it.
#pragma once

#include "dbase/Access.h"
#include "dbase/DbfRecordSet.h"
#include "dbase/FileIo.h"
#include "dbase/RecordSet.h"

#include <filesystem>
#include <memory>
#include <string_view>

namespace halvane::dbase
{

class DataControl final : public RecordSetSource
{
public:
    static constexpr std::string_view kConnect = "dBASE IV;";
    static constexpr std::string_view kDatabaseName = "C:\\";
    static constexpr std::string_view kRecordSource = "SHAMSI";

    // The fixed settings: the file SHAMSI.DBF, in any case of letters, in
    // the folder "C:\" stands for (platform::windowsFolder).
    explicit DataControl(Access access = Access::ReadWrite);
    // A given table file (the command line, tests).
    explicit DataControl(std::filesystem::path tableFile, Access access = Access::ReadWrite);

    // Opens the table and checks it, as the main window does when it loads,
    // and releases it again. Never throws: Recordset() tells what is wrong.
    void Refresh();

    // The current record set. With none open (the start of a run), the table
    // is opened afresh: its header, layout and records are read from the
    // file from now on; nullptr only when the table file does not exist.
    // Throws Failure (naming the file) when the file exists but cannot be
    // opened or used as a dBASE table, or when the folder holds more than one
    // file named SHAMSI.DBF in different cases. With one open (asked again
    // after the walk), the same record set, as long as the file at its path
    // is still the file walked, unchanged; otherwise throws what happened to
    // it (see DbfRecordSet::requireUnchanged).
    RecordSet* Recordset() override;

    // Releases the record set and the file: the main window does so after
    // each run.
    void Close();

    // The table file, resolved: for the fixed settings, the SHAMSI.DBF found
    // in the folder, or <folder>/Shamsi.dbf when there is none.
    std::filesystem::path tablePath() const;

private:
    DataControl(std::filesystem::path folder, std::filesystem::path tableFile, Access access);
    std::filesystem::path resolve(bool strict) const;

    std::filesystem::path m_folder; // set for the fixed settings: search in it
    std::filesystem::path m_tableFile;
    Access m_access;
    std::unique_ptr<DbfRecordSet> m_recordset;
};

} // namespace halvane::dbase
