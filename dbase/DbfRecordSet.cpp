#include "dbase/DbfRecordSet.h"

#include "core/Clock.h"
#include "core/Failure.h"
#include "core/Service.h"

#include <algorithm>

namespace halvane::dbase
{

namespace
{

// Records read in one go: sequential reads in blocks of about this size.
constexpr std::size_t kReadBlock = 128 * 1024;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string_view trimmed(std::string_view text, std::string_view blanks = " ")
{
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

int daysInMonth(int year, int month)
{
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

// A date field's 8 bytes, YYYYMMDD: ISO text, Null when empty, else the
// stored text itself (which no conversion places).
FieldValue dateValue(std::string_view bytes)
{
    const std::string_view kBlanks(" \0", 2);
    if (std::all_of(bytes.begin(), bytes.end(), isDigit)) {
        auto number = [&](std::size_t at, std::size_t n) {
            int value = 0;
            for (std::size_t i = at; i < at + n; ++i)
                value = value * 10 + (bytes[i] - '0');
            return value;
        };
        const int year = number(0, 4);
        const int month = number(4, 2);
        const int day = number(6, 2);
        if (year >= 1 && month >= 1 && month <= 12 && day >= 1 && day <= daysInMonth(year, month)) {
            std::string iso(10, '-');
            bytes.substr(0, 4).copy(iso.data(), 4);
            bytes.substr(4, 2).copy(iso.data() + 5, 2);
            bytes.substr(6, 2).copy(iso.data() + 8, 2);
            return iso;
        }
        if (bytes == "00000000")
            return std::nullopt;
    }
    const auto text = trimmed(bytes, kBlanks);
    if (text.empty())
        return std::nullopt;
    return std::string(text);
}

std::string typeName(char type)
{
    switch (type) {
    case 'C':
        return "a character field (C)";
    case 'D':
        return "a date field (D)";
    case 'N':
        return "a numeric field (N)";
    case 'F':
        return "a float field (F)";
    case 'L':
        return "a logical field (L)";
    case 'M':
        return "a memo field (M)";
    default:
        return std::string("a field of type ") + type;
    }
}

// Closes a handle unless it was handed on.
struct HandleGuard {
    FileIo& io;
    FileIo::Handle handle;
    bool owned = true;
    ~HandleGuard()
    {
        if (owned)
            io.close(handle);
    }
};

} // namespace

std::unique_ptr<DbfRecordSet> DbfRecordSet::open(const std::filesystem::path& file, Access access)
{
    FileIo& io = service<FileIo>();
    // Looked at before opening: opening a directory read-only succeeds, and
    // opening a FIFO would wait for a writer.
    FileIo::Status status;
    if (auto error = io.stat(file, status))
        throw ioFailure(error, "cannot open", file);
    auto notATable = [&] {
        return Failure(err::PathFileAccess,
                       "Path/File access error: " + displayName(file) +
                           (status.directory ? " is a directory" : " is not a regular file") +
                           ", not a dBASE table");
    };
    if (!status.regular)
        throw notATable();

    const bool writing = access == Access::ReadWrite;
    FileIo::Handle handle = -1;
    if (auto error =
            io.open(file, writing ? FileIo::Mode::ReadWrite : FileIo::Mode::ReadOnly, handle))
        throw ioFailure(error, writing ? "cannot open for writing" : "cannot open", file);
    HandleGuard guard{io, handle};
    if (auto error = io.status(handle, status))
        throw ioFailure(error, "cannot open", file);
    if (!status.regular)
        throw notATable();

    std::unique_ptr<DbfRecordSet> set(new DbfRecordSet(io, handle, file, access, status));
    guard.owned = false;
    set->m_layout = readTableLayout(io, handle, file, status.size);
    const std::size_t length = set->m_layout.recordLength;
    set->m_buffer.resize(std::max(length, kReadBlock / length * length));
    set->m_edit.resize(length);
    set->MoveFirst();
    return set;
}

DbfRecordSet::DbfRecordSet(FileIo& io, FileIo::Handle handle, std::filesystem::path file,
                           Access access, FileIo::Status status)
    : m_io(io), m_handle(handle), m_path(std::move(file)), m_access(access), m_status(status)
{
}

DbfRecordSet::~DbfRecordSet()
{
    m_io.close(m_handle);
}

void DbfRecordSet::moveTo(std::uint32_t index)
{
    m_editing = false;
    m_position = index;
    if (index >= m_layout.recordCount)
        return;
    if (index >= m_bufferFirst && index - m_bufferFirst < m_bufferCount)
        return;
    const std::size_t length = m_layout.recordLength;
    const std::size_t count =
        std::min<std::size_t>(m_buffer.size() / length, m_layout.recordCount - index);
    m_bufferCount = 0;
    const std::size_t got =
        readFully(m_io, m_handle, m_layout.recordOffset(index), {m_buffer.data(), count * length},
                  "cannot read", m_path, long(index) + 1);
    if (got < count * length)
        throw Failure(err::InputPastEnd, "Input past end of file: " + displayName(m_path) +
                                             " ends before record " + std::to_string(index + 1) +
                                             " of " + std::to_string(m_layout.recordCount) +
                                             "; it was shortened while open");
    m_bufferFirst = index;
    m_bufferCount = static_cast<std::uint32_t>(count);
}

void DbfRecordSet::MoveLast()
{
    moveTo(m_layout.recordCount == 0 ? 0 : m_layout.recordCount - 1);
}

void DbfRecordSet::MoveFirst()
{
    moveTo(0);
}

void DbfRecordSet::MoveNext()
{
    requireCurrent("MoveNext");
    moveTo(m_position + 1);
}

bool DbfRecordSet::Eof() const
{
    return m_position >= m_layout.recordCount;
}

void DbfRecordSet::requireCurrent(std::string_view operation) const
{
    if (Eof())
        throw Failure(err::NoCurrentRecord, "No current record: " + std::string(operation) +
                                                " past the last record of " + displayName(m_path));
}

const char* DbfRecordSet::currentRecord() const
{
    return m_buffer.data() + std::size_t(m_position - m_bufferFirst) * m_layout.recordLength;
}

const FieldLayout& DbfRecordSet::field(std::string_view name) const
{
    if (const FieldLayout* f = m_layout.find(name))
        return *f;
    throw Failure(err::ItemNotFound, "Item not found in this collection: the table " +
                                         displayName(m_path) + " has no field '" +
                                         std::string(name) + "'");
}

void DbfRecordSet::Edit()
{
    requireCurrent("Edit");
    std::copy_n(currentRecord(), m_layout.recordLength, m_edit.begin());
    m_editing = true;
}

FieldValue DbfRecordSet::Field(std::string_view name) const
{
    const FieldLayout& f = field(name);
    if (Eof())
        requireCurrent("reading field '" + f.name + "'");
    const char* record = m_editing ? m_edit.data() : currentRecord();
    const std::string_view bytes(record + f.offset, f.width);
    if (f.type == 'D')
        return dateValue(bytes);
    if (f.type == 'C')
        return std::string(trimmed(bytes));
    throw Failure(err::TypeMismatch, "Data type conversion error: field '" + f.name + "' of " +
                                         displayName(m_path) + " is " + typeName(f.type) +
                                         ", not a date or character field");
}

void DbfRecordSet::SetField(std::string_view name, std::string_view text)
{
    const FieldLayout& f = field(name);
    if (!m_editing)
        throw Failure(err::UpdateWithoutEdit,
                      "Update or CancelUpdate without AddNew or Edit: field '" + f.name + "' of " +
                          displayName(m_path) + " set outside an edit");
    if (f.type != 'C')
        throw Failure(err::TypeMismatch,
                      "Data type conversion error: field '" + f.name + "' of " +
                          displayName(m_path) + " is " + typeName(f.type) + ", " +
                          std::to_string(f.width) +
                          " bytes wide; the text it should take needs a character field");
    const std::string_view kept = text.substr(0, text.find_last_not_of(' ') + 1);
    if (kept.size() > f.width)
        throw Failure(err::FieldTooSmall,
                      "The field is too small to accept the amount of data you attempted to add: "
                      "field '" +
                          f.name + "' of " + displayName(m_path) + " is " +
                          std::to_string(f.width) + " characters wide, the text '" +
                          std::string(kept) + "' has " + std::to_string(kept.size()));
    auto at = m_edit.begin() + f.offset;
    std::fill(std::copy(kept.begin(), kept.end(), at), at + f.width, ' ');
}

void DbfRecordSet::Update()
{
    if (!m_editing)
        throw Failure(err::UpdateWithoutEdit, "Update or CancelUpdate without AddNew or Edit: " +
                                                  displayName(m_path) + " has no record in edit");
    if (m_access == Access::DryRun) {
        m_editing = false;
        return;
    }
    char* record =
        m_buffer.data() + std::size_t(m_position - m_bufferFirst) * m_layout.recordLength;
    const auto [first, last] = [&] {
        auto changed = std::mismatch(m_edit.begin(), m_edit.end(), record);
        if (changed.first == m_edit.end())
            return std::pair<std::size_t, std::size_t>{0, 0};
        auto back = std::mismatch(m_edit.rbegin(), m_edit.rend(),
                                  std::reverse_iterator(record + m_edit.size()));
        return std::pair<std::size_t, std::size_t>{std::size_t(changed.first - m_edit.begin()),
                                                   m_edit.size() -
                                                       std::size_t(back.first - m_edit.rbegin())};
    }();
    if (first < last) {
        stampToday();
        const std::uint64_t at = m_layout.recordOffset(m_position) + first;
        try {
            writeFully(m_io, m_handle, at, {m_edit.data() + first, last - first}, "cannot write",
                       m_path, long(m_position) + 1);
        } catch (const Failure&) {
            // A write that failed part-way may have left some of the new
            // bytes in the file: put the old ones back, so the record is
            // whole as it was. If that fails too, the device is lost anyway;
            // the first failure is the one to report.
            try {
                writeFully(m_io, m_handle, at, {record + first, last - first}, "cannot restore",
                           m_path, long(m_position) + 1);
            } catch (const Failure&) {
            }
            throw;
        }
        std::copy(m_edit.begin() + std::ptrdiff_t(first), m_edit.begin() + std::ptrdiff_t(last),
                  record + first);
    }
    m_editing = false;
}

void DbfRecordSet::stampToday()
{
    if (m_stamped)
        return;
    const LocalDate date = today();
    // Years since 1900, month, day: one byte each.
    const char stamp[3] = {static_cast<char>(date.year - 1900), static_cast<char>(date.month),
                           static_cast<char>(date.day)};
    if (!std::equal(std::begin(stamp), std::end(stamp), m_layout.lastUpdate.begin()))
        writeFully(m_io, m_handle, 1, stamp, "cannot write the last-update date", m_path);
    m_stamped = true;
}

void DbfRecordSet::Flush()
{
    if (m_access == Access::DryRun)
        return;
    if (auto error = m_io.sync(m_handle))
        throw ioFailure(error, "cannot save the changes to", m_path);
}

long DbfRecordSet::RecordCount() const
{
    return static_cast<long>(m_layout.recordCount);
}

long DbfRecordSet::AbsolutePosition() const
{
    return Eof() ? -1 : static_cast<long>(m_position) + 1;
}

} // namespace halvane::dbase
