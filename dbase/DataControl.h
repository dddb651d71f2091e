// The data control dbShamsi: fixed to the dBASE IV table SHAMSI in "C:\", it
// opens the table when the main window loads and hands out its current
// record set to the conversion run.
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
    DataControl();
    // A given table file (the command line, tests), opened through `io`.
    explicit DataControl(std::filesystem::path tableFile, Access access = Access::ReadWrite);

    // Opens the table, as the main window does when it loads. Never throws: a
    // missing or broken table leaves no record set for now.
    void Refresh();

    // The current record set; nullptr only when the table file does not
    // exist. When the file was replaced or changed size since it was opened,
    // or appeared after Refresh, it is opened (again) first, so a run never
    // works on a stale copy. Throws Failure (naming the file) when the file
    // exists but cannot be opened or used as a dBASE table, or when the
    // folder holds more than one file named SHAMSI.DBF in different cases.
    RecordSet* Recordset() override;

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
