// The record set over one dBASE III/IV table file: moves, reads date and text
// fields, and saves edited character fields in place, record by record. No
// byte of the file outside the written fields changes, except the header's
// last-update date, which becomes today's when the first record is saved.
#pragma once

#include "dbase/Access.h"
#include "dbase/FileIo.h"
#include "dbase/RecordSet.h"
#include "dbase/TableLayout.h"

#include <filesystem>
#include <memory>
#include <vector>

namespace halvane::dbase
{

class DbfRecordSet final : public RecordSet
{
public:
    // Opens the table `file` (read-write, or read-only for a dry run),
    // positioned on its first record. Throws Failure when the file cannot be
    // opened (ioFailure's numbers: 70 for a file that may not be written, 75
    // for a directory) or is not a table the engine fills (3343, see
    // readTableLayout). Nothing is written by opening.
    static std::unique_ptr<DbfRecordSet> open(const std::filesystem::path& file,
                                              Access access = Access::ReadWrite);
    ~DbfRecordSet() override;
    DbfRecordSet(const DbfRecordSet&) = delete;
    DbfRecordSet& operator=(const DbfRecordSet&) = delete;

    // Moves never fail on an empty table; MoveNext past the end fails with 3021.
    void MoveLast() override;
    void MoveFirst() override;
    void MoveNext() override;
    bool Eof() const override;

    // Edit at the end fails with 3021 (no current record). Moving abandons
    // an edit that was not saved.
    void Edit() override;
    // A date field (D): "yyyy-mm-dd"; Null when blank or 00000000; its text as
    // stored (trimmed) when the bytes are not a valid date. A character field
    // (C): its text without leading and trailing spaces. Throws 3265 for a
    // field the table lacks, 3464 for any other type, 3021 at the end.
    FieldValue Field(std::string_view name) const override;
    // Only character fields take text: left-aligned, space-padded; trailing
    // spaces of `text` do not count against the width. Throws 3020 outside
    // an edit, 3265 for a missing field, 3464 for a field of another type,
    // 3163 for a text that does not fit (never truncated).
    void SetField(std::string_view name, std::string_view text) override;
    // Writes the bytes of the record that changed, with one write, and
    // returns when they are in the file. Throws 3020 outside an edit, or the
    // I/O failure (the record then counts as not saved).
    void Update() override;
    // Syncs the file to stable storage (a dry run has nothing to sync).
    void Flush() override;

    long RecordCount() const override;
    // 1 for the first record; -1 at the end.
    long AbsolutePosition() const override;

    const TableLayout& layout() const { return m_layout; }
    const std::filesystem::path& path() const { return m_path; }
    // The file as it was when opened: who it is, and its size.
    const FileIo::Status& openedStatus() const { return m_status; }

private:
    DbfRecordSet(FileIo& io, FileIo::Handle handle, std::filesystem::path file, Access access,
                 FileIo::Status status);

    void moveTo(std::uint32_t index);
    const char* currentRecord() const;
    const FieldLayout& field(std::string_view name) const;
    void requireCurrent(std::string_view operation) const;
    void stampToday();

    FileIo& m_io;
    FileIo::Handle m_handle;
    std::filesystem::path m_path;
    Access m_access;
    FileIo::Status m_status;
    TableLayout m_layout;

    std::uint32_t m_position = 0; // == record count at the end
    // Consecutive records read in one go, starting at m_bufferFirst.
    std::vector<char> m_buffer;
    std::uint32_t m_bufferFirst = 0;
    std::uint32_t m_bufferCount = 0;
    std::vector<char> m_edit;
    bool m_editing = false;
    bool m_stamped = false;
};

} // namespace halvane::dbase
