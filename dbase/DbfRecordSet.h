// The record set over one dBASE III/IV table file: moves, reads date and text
// fields, and saves edited character fields in place, record by record. It
// reads the header, the layout and the records from the file itself while it
// is open: nothing is taken from an earlier reading. A save writes only the
// bytes of the fields set in the edit that differ from what the edit read;
// the one other byte range ever written is the header's last-update date,
// which becomes today's when the first record is saved.
#pragma once

#include "dbase/Access.h"
#include "dbase/FileIo.h"
#include "dbase/RecordDigests.h"
#include "dbase/RecordSet.h"
#include "dbase/TableLayout.h"

#include <array>
#include <filesystem>
#include <memory>
#include <span>
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

    // Moves never fail on an empty table; MoveNext past the end fails with
    // 3021. MoveNext remembers the record it leaves for requireUnchanged,
    // as it stands when the walk leaves the block it lies in (a save of it
    // after MoveLast counts); MoveFirst starts that anew. Records are read
    // from the file in blocks as the walk reaches them; a record the file no
    // longer holds (it was shortened) fails with 62, and after a move that
    // failed there is no current record (3021).
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
    // For each field set in the edit whose bytes differ from what Edit read,
    // saves the field (FileIo::replace: whole, in one step; a field another
    // program wrote since is left as it wrote it), and returns when they are
    // in the file. Throws 3020 outside an edit, 3343 when the record's
    // deletion flag is neither ' ' nor '*' (the header does not describe the
    // records as they lie; nothing is written), 62 when the file was
    // shortened below the record, or the I/O failure; the fields written by
    // a save that failed are put back as Edit read them (one that another
    // program wrote meanwhile keeps that program's text).
    void Update() override;
    // Fills the record in one step where every pair is a date field (D, 8
    // bytes) and a character field: the sources read in place, the texts
    // the converter lets be remembered kept by the source's stored bytes,
    // the destinations compared with the record, and the changed ones saved
    // as Update saves them. Any other pairs (a missing field, another type)
    // go the way of RecordSet::FillRecord, which says what is wrong.
    void FillRecord(std::span<const DatePair> pairs, DateConverter& convert) override;
    // Syncs what this record set wrote to stable storage (nothing to do when
    // it wrote nothing, or for a dry run).
    void Flush() override;

    long RecordCount() const override;
    // 1 for the first record; -1 at the end.
    long AbsolutePosition() const override;

    // Returns when the file at path() is still the file this record set
    // opened, unchanged: the same file (not replaced, moved or deleted), its
    // size, and its header (last-update date aside). Otherwise throws what
    // happened: 62 when it was shortened, else 3197 (appended to, replaced,
    // moved away, deleted, rewritten), saying where the records went. Then
    // reads every record the walk left again: each must hold exactly what
    // the walk read and wrote (or found and kept) there, else 3197 says the
    // table was rewritten during the run and where that was first seen.
    void requireUnchanged() const;

    const TableLayout& layout() const { return m_layout; }
    const std::filesystem::path& path() const { return m_path; }

private:
    DbfRecordSet(FileIo& io, FileIo::Handle handle, std::filesystem::path file, Access access,
                 FileIo::Status status);

    void moveTo(std::uint32_t index);
    // Hashes the records the walk left since the last time, all in the
    // buffer: before the buffer is read over, and before the check.
    void hashLeft() const;
    // Whether the current record's bytes are in the buffer (not so at the
    // end, nor after a move whose read failed).
    bool loaded() const;
    const char* currentRecord() const;
    char* currentRecord();
    const FieldLayout& field(std::string_view name) const;
    const FieldLayout& resolve(std::string_view name) const;
    bool isSet(const FieldLayout& f) const;
    void requireCurrent(std::string_view operation) const;
    void stampToday();
    // Sets `text` into field `f` at `at`, as SetField does (3163 when it
    // does not fit).
    void placeText(const FieldLayout& f, std::string_view text, char* at) const;
    // Saves the fields `changes` of the current record `record`, whose new
    // bytes are in the edit.
    void save(char* record, std::span<const FieldLayout* const> changes);
    // Whether FillRecord can fill with `pairs` in one step, after resolving
    // them (and forgetting what was remembered) when they or `convert` are
    // not those of the last record.
    bool fillsInOneStep(std::span<const DatePair> pairs, const DateConverter& convert);
    // The text for the source of `pair` in `record` when it is not
    // remembered (or is too wide for the destination), placed in the edit
    // when it differs from the record's destination; whether it does.
    // `place` is where the text is remembered if the converter allows
    // (the entry past the dates' slots for a date that has none).
    struct FillPair;
    struct Remembered;
    bool fillDestination(const FillPair& pair, const char* record, Remembered& place,
                         DateConverter& convert);
    // The destinations of `record` filled by the pairs (`Pairs` of them, or
    // all when 0: the run's four are counted at compile time, so that the
    // loops over them unroll); the fields that change, in `changes`, and
    // how many.
    template <std::size_t Pairs>
    std::size_t fillPairs(const char* record, DateConverter& convert,
                          std::span<const FieldLayout*> changes);
    // Writes the changed fields of the current record, which lies at
    // `recordAt` and reads `record` in the file, with the bytes of the edit;
    // a failure puts the fields already written back first.
    void writeChanges(const char* record, std::uint64_t recordAt,
                      std::span<const FieldLayout* const> changes);
    Failure shortened(std::uint32_t index) const;
    // Throws 3343 unless the record's deletion flag is ' ' or '*'.
    void requireFlag(const char* record, std::uint32_t index) const
    {
        if (record[0] != ' ' && record[0] != '*')
            badFlag(record, index);
    }
    [[noreturn]] void badFlag(const char* record, std::uint32_t index) const;
    void requireRecordsUnchanged() const;
    Failure rewritten(const RecordDigests::Difference& difference) const;
    std::string walked(const std::string& where) const;

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
    // The fields set in the edit, at their places in a record; which they are.
    std::vector<char> m_edit;
    std::vector<const FieldLayout*> m_set;
    std::vector<FileIo::Replacement> m_replacements; // of the save being made
    bool m_editing = false;
    bool m_stamped = false;
    bool m_written = false;
    // The records the walk left, in order from the first (m_left of them),
    // and how many of them are hashed: those of a block are hashed in one
    // go when the walk leaves the block, so requireUnchanged hashes the
    // rest, which changes nothing the record set shows.
    mutable RecordDigests m_digests;
    std::uint32_t m_left = 0;
    mutable std::uint32_t m_hashed = 0;

    // What FillRecord keeps from one record to the next: the pairs it was
    // last given, resolved, and the texts the converter let it remember, by
    // the source's stored date (ConversionCache::slotOf of its YYYYMMDD).
    struct FillPair {
        DatePair names;
        const FieldLayout* source = nullptr;
        const FieldLayout* destination = nullptr;
        // Where the two lie in a record, the destination's width, and how
        // much of it a remembered text covers (the rest is spaces).
        std::uint32_t from = 0;
        std::uint32_t to = 0;
        std::uint32_t width = 0;
        std::uint32_t head = 0;
    };
    struct Remembered {
        std::array<char, 14> text; // space-padded
        bool marked = false;       // the converter's mark, handed back with each use
        std::uint8_t length = 0;
    };
    static_assert(sizeof(Remembered) == 16, "a remembered text never straddles two cache lines");
    static constexpr std::size_t kMaxFillPairs = 8;
    std::vector<FillPair> m_fill;
    const DatePair* m_fillPairs = nullptr;
    const DateConverter* m_fillConverter = nullptr;
    bool m_fillInOneStep = false;
    // By date, the text remembered for it (length 0: none), read with one
    // load: the days of a year lie together (6 KB), and all of 1970 to 2039
    // take 416 KB, within the processor's second-level cache. One more at
    // the end, never filled, stands for every date that has no slot.
    std::vector<Remembered> m_remembered;

    // Field names as callers spell them, resolved once.
    struct Name {
        std::array<char, 16> text;
        std::size_t size;
        const FieldLayout* field;
    };
    mutable std::array<Name, 16> m_names{};
    mutable std::size_t m_nameCount = 0;
    mutable std::size_t m_lastName = 0;
};

} // namespace halvane::dbase
