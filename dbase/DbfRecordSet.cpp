#include "dbase/DbfRecordSet.h"

#include "core/ConversionCache.h"
#include "core/GregorianDate.h"
#include "dbase/FieldStore.h"
#include "system/Clock.h"
#include "system/DisplayName.h"
#include "system/Failure.h"
#include "system/Service.h"

#include <algorithm>
#include <cstring>

namespace halvane::dbase
{

namespace
{

// Records read in one go: sequential reads in blocks of about this size.
constexpr std::size_t kReadBlock = 256 * 1024;

std::string_view trimmed(std::string_view text, std::string_view blanks = " ")
{
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// Copies `n` bytes: up to 16 of them with two fixed-size (inlined) copies
// that may overlap, as the walk copies field texts by the million.
void copyBytes(char* to, const char* from, std::size_t n)
{
    if (n >= 8 && n <= 16) {
        std::uint64_t head, tail;
        std::memcpy(&head, from, 8);
        std::memcpy(&tail, from + n - 8, 8);
        std::memcpy(to, &head, 8);
        std::memcpy(to + n - 8, &tail, 8);
    } else if (n >= 4 && n < 8) {
        std::uint32_t head, tail;
        std::memcpy(&head, from, 4);
        std::memcpy(&tail, from + n - 4, 4);
        std::memcpy(to, &head, 4);
        std::memcpy(to + n - 4, &tail, 4);
    } else if (n < 4) {
        for (std::size_t i = 0; i < n; ++i)
            to[i] = from[i];
    } else {
        std::memcpy(to, from, n);
    }
}

constexpr char kSpaces[16] = {' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ',
                              ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};

// A date field's 8 bytes, YYYYMMDD, into `value`: ISO text, Null when empty,
// else the stored text itself (which no conversion places).
void readDate(std::string_view bytes, FieldValue& value)
{
    if (const auto date = GregorianDate::fromCompact(bytes)) {
        if (date->isReal()) {
            // Built in the result itself: the walk reads dates by the million.
            value.emplace(10, '-');
            char* iso = value->data();
            std::memcpy(iso, bytes.data(), 4);
            std::memcpy(iso + 5, bytes.data() + 4, 2);
            std::memcpy(iso + 8, bytes.data() + 6, 2);
            return;
        }
        if (*date == GregorianDate{})
            return; // 00000000
    }
    auto blank = [](char c) { return c == ' ' || c == '\0'; };
    std::size_t first = 0, last = bytes.size();
    while (first < last && blank(bytes[first]))
        ++first;
    while (last > first && blank(bytes[last - 1]))
        --last;
    if (first < last)
        value.emplace(bytes.substr(first, last - first));
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

std::uint32_t le32(const std::string& bytes, std::size_t i)
{
    std::uint32_t value = 0;
    for (std::size_t b = 4; b-- > 0;)
        value = value << 8 | static_cast<unsigned char>(bytes[i + b]);
    return value;
}

std::string count(std::uint64_t n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
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
                           (status.directory    ? " is a directory"
                            : status.deviceName ? " is the name of a device"
                                                : " is not a regular file") +
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
    if (set->loaded())
        set->requireFlag(set->currentRecord(), 0);
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

Failure DbfRecordSet::shortened(std::uint32_t index) const
{
    std::string holds;
    FileIo::Status now;
    if (!m_io.status(m_handle, now))
        holds = " (it holds " +
                count(now.size < m_layout.headerLength
                          ? 0
                          : (now.size - m_layout.headerLength) / m_layout.recordLength,
                      "record", "records") +
                " now)";
    return Failure(err::InputPastEnd, "Input past end of file: " + displayName(m_path) +
                                          " was shortened during the run: record " +
                                          std::to_string(index + 1) + " of " +
                                          std::to_string(m_layout.recordCount) +
                                          " is no longer in it" + holds);
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
    const std::size_t n =
        std::min<std::size_t>(m_buffer.size() / length, m_layout.recordCount - index);
    hashLeft();
    m_bufferCount = 0;
    const std::size_t got =
        readFully(m_io, m_handle, m_layout.recordOffset(index), {m_buffer.data(), n * length},
                  "cannot read", m_path, long(index) + 1);
    if (got < n * length)
        throw shortened(index + static_cast<std::uint32_t>(got / length));
    m_bufferFirst = index;
    m_bufferCount = static_cast<std::uint32_t>(n);
}

void DbfRecordSet::hashLeft() const
{
    if (m_hashed == m_left)
        return;
    m_digests.add(m_buffer.data() + std::size_t(m_hashed - m_bufferFirst) * m_layout.recordLength,
                  m_left - m_hashed);
    m_hashed = m_left;
}

void DbfRecordSet::MoveLast()
{
    moveTo(m_layout.recordCount == 0 ? 0 : m_layout.recordCount - 1);
}

void DbfRecordSet::MoveFirst()
{
    m_digests.clear(m_layout.recordLength, m_layout.recordCount);
    m_left = m_hashed = 0;
    // A new walk asks its converter anew.
    m_fillConverter = nullptr;
    moveTo(0);
}

void DbfRecordSet::MoveNext()
{
    if (!loaded())
        requireCurrent("MoveNext");
    if (m_position == m_left)
        ++m_left;
    moveTo(m_position + 1);
}

bool DbfRecordSet::Eof() const
{
    return m_position >= m_layout.recordCount;
}

bool DbfRecordSet::loaded() const
{
    return m_position >= m_bufferFirst && m_position - m_bufferFirst < m_bufferCount;
}

void DbfRecordSet::requireCurrent(std::string_view operation) const
{
    if (Eof())
        throw Failure(err::NoCurrentRecord, "No current record: " + std::string(operation) +
                                                " past the last record of " + displayName(m_path));
    if (!loaded())
        throw Failure(err::NoCurrentRecord, "No current record: " + std::string(operation) +
                                                " on record " + std::to_string(m_position + 1) +
                                                " of " + displayName(m_path) +
                                                ", which could not be read");
}

const char* DbfRecordSet::currentRecord() const
{
    return m_buffer.data() + std::size_t(m_position - m_bufferFirst) * m_layout.recordLength;
}

char* DbfRecordSet::currentRecord()
{
    return m_buffer.data() + std::size_t(m_position - m_bufferFirst) * m_layout.recordLength;
}

const FieldLayout& DbfRecordSet::field(std::string_view name) const
{
    // A run asks for the same eight names in every record, in the same
    // order: each spelling is looked up in the layout once (the original
    // searched the fields every time), and the search starts where the last
    // one ended, so it mostly ends at the first or second name it tries.
    for (std::size_t tried = 0, i = m_lastName; tried < m_nameCount; ++tried) {
        const Name& known = m_names[i];
        if (known.size == name.size() && sameBytes(known.text.data(), name.data(), known.size)) {
            m_lastName = i;
            return *known.field;
        }
        i = i + 1 == m_nameCount ? 0 : i + 1;
    }
    return resolve(name);
}

const FieldLayout& DbfRecordSet::resolve(std::string_view name) const
{
    const FieldLayout* f = m_layout.find(name);
    if (!f)
        throw Failure(err::ItemNotFound, "Item not found in this collection: the table " +
                                             displayName(m_path) + " has no field '" +
                                             displayText(name) + "'");
    if (m_nameCount < m_names.size() && name.size() <= m_names[0].text.size()) {
        Name& added = m_names[m_nameCount];
        std::copy(name.begin(), name.end(), added.text.begin());
        added.size = name.size();
        added.field = f;
        m_lastName = m_nameCount++;
    }
    return *f;
}

bool DbfRecordSet::isSet(const FieldLayout& f) const
{
    return std::find(m_set.begin(), m_set.end(), &f) != m_set.end();
}

void DbfRecordSet::Edit()
{
    requireCurrent("Edit");
    // The edit holds the fields set in it; the others read from the record.
    m_set.clear();
    m_editing = true;
}

FieldValue DbfRecordSet::Field(std::string_view name) const
{
    const FieldLayout& f = field(name);
    if (!loaded())
        requireCurrent("reading field '" + displayText(f.name) + "'");
    if (f.type != 'D' && f.type != 'C')
        throw Failure(err::TypeMismatch, "Data type conversion error: field '" +
                                             displayText(f.name) + "' of " + displayName(m_path) +
                                             " is " + typeName(f.type) +
                                             ", not a date or character field");
    const char* record = m_editing && isSet(f) ? m_edit.data() : currentRecord();
    const std::string_view bytes(record + f.offset, f.width);
    FieldValue value; // the one object returned: built in place
    if (f.type == 'C') {
        value.emplace(trimmed(bytes));
    } else {
        readDate(bytes, value);
    }
    return value;
}

void DbfRecordSet::SetField(std::string_view name, std::string_view text)
{
    const FieldLayout& f = field(name);
    if (!m_editing)
        throw Failure(err::UpdateWithoutEdit,
                      "Update or CancelUpdate without AddNew or Edit: field '" +
                          displayText(f.name) + "' of " + displayName(m_path) +
                          " set outside an edit");
    if (f.type != 'C')
        throw Failure(err::TypeMismatch,
                      "Data type conversion error: field '" + displayText(f.name) + "' of " +
                          displayName(m_path) + " is " + typeName(f.type) + ", " +
                          count(f.width, "byte", "bytes") +
                          " wide; the text it should take needs a character field");
    placeText(f, text, m_edit.data() + f.offset);
    if (!isSet(f))
        m_set.push_back(&f);
}

void DbfRecordSet::placeText(const FieldLayout& f, std::string_view text, char* at) const
{
    const std::string_view kept = text.substr(0, text.find_last_not_of(' ') + 1);
    if (kept.size() > f.width)
        throw Failure(err::FieldTooSmall,
                      "The field is too small to accept the amount of data you attempted to add: "
                      "field '" +
                          displayText(f.name) + "' of " + displayName(m_path) + " is " +
                          count(f.width, "character", "characters") + " wide, the text '" +
                          displayText(kept) + "' has " + std::to_string(kept.size()));
    copyBytes(at, kept.data(), kept.size());
    if (const std::size_t rest = f.width - kept.size(); rest <= sizeof kSpaces)
        copyBytes(at + kept.size(), kSpaces, rest);
    else
        std::memset(at + kept.size(), ' ', rest);
}

namespace
{

constexpr std::uint64_t kBlankDate = 0x2020202020202020u; // "        "
constexpr std::uint64_t kZeroDate = 0x3030303030303030u;  // "00000000"

std::uint64_t load8(const char* bytes)
{
    std::uint64_t w;
    std::memcpy(&w, bytes, 8);
    return w;
}

bool allSpaces(const char* bytes, std::size_t n)
{
    if (n <= sizeof kSpaces)
        return sameBytes(bytes, kSpaces, n);
    return std::all_of(bytes, bytes + n, [](char c) { return c == ' '; });
}

// Pairs are told apart by where they and their names lie: a run passes the
// same pairs for every record.
bool samePair(const DatePair& a, const DatePair& b)
{
    return a.first.data() == b.first.data() && a.first.size() == b.first.size() &&
           a.second.data() == b.second.data() && a.second.size() == b.second.size();
}

} // namespace

bool DbfRecordSet::fillsInOneStep(std::span<const DatePair> pairs, const DateConverter& convert)
{
    bool same = m_fillConverter == &convert && m_fill.size() == pairs.size();
    // The same pairs as the last record's, as the walk passes them: no
    // need to look at each.
    if (same && pairs.data() == m_fillPairs)
        return m_fillInOneStep;
    for (std::size_t i = 0; same && i < pairs.size(); ++i)
        same = samePair(m_fill[i].names, pairs[i]);
    m_fillPairs = pairs.data();
    if (same)
        return m_fillInOneStep;
    m_fillConverter = &convert;
    m_remembered.assign(ConversionCache::kSlots + 1, {});
    m_fill.assign(pairs.size(), {});
    m_fillInOneStep = pairs.size() <= kMaxFillPairs;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        FillPair& pair = m_fill[i];
        pair.names = pairs[i];
        pair.source = m_layout.find(pairs[i].first);
        pair.destination = m_layout.find(pairs[i].second);
        if (!pair.source || !pair.destination || pair.source->type != 'D' ||
            pair.source->width != 8 || pair.destination->type != 'C')
            m_fillInOneStep = false;
        if (m_fillInOneStep) {
            pair.from = static_cast<std::uint32_t>(pair.source->offset);
            pair.to = static_cast<std::uint32_t>(pair.destination->offset);
            pair.width = static_cast<std::uint32_t>(pair.destination->width);
            pair.head = std::min<std::uint32_t>(pair.width, Remembered{}.text.size());
        }
        // A destination set twice is left to the edit, which keeps the last.
        for (std::size_t j = 0; j < i; ++j)
            if (m_fill[j].destination == pair.destination)
                m_fillInOneStep = false;
    }
    return m_fillInOneStep;
}

bool DbfRecordSet::fillDestination(const FillPair& pair, const char* record, Remembered& place,
                                   DateConverter& convert)
{
    const char* now = record + pair.to;
    char* at = m_edit.data() + pair.to;
    const char* stored = record + pair.from;
    const std::uint64_t bytes = load8(stored);
    // Empty (blanks, or zeros): " ", nothing asked.
    if (bytes == kBlankDate || bytes == kZeroDate) {
        if (now[0] == ' ' && allSpaces(now, pair.width))
            return false;
        std::memset(at, ' ', pair.width);
        return true;
    }
    // As Field reads the source and SetField sets the destination.
    FieldValue value;
    readDate({stored, 8}, value);
    Reuse reuse;
    const std::string text = value && !value->empty()
                                 ? convert.convert(pair.names.first, *value, reuse)
                                 : std::string(" ");
    placeText(*pair.destination, text, at);
    const std::size_t length = text.find_last_not_of(' ') + 1;
    if (reuse.allowed && &place != &m_remembered.back() && place.length == 0 &&
        length <= place.text.size()) {
        place.text.fill(' ');
        std::memcpy(place.text.data(), text.data(), length);
        place.marked = reuse.marked;
        place.length = static_cast<std::uint8_t>(length);
    }
    return !sameBytes(at, now, pair.width);
}

template <std::size_t Pairs>
std::size_t DbfRecordSet::fillPairs(const char* record, DateConverter& convert,
                                    std::span<const FieldLayout*> changes)
{
    const std::size_t n = Pairs != 0 ? Pairs : m_fill.size();
    // Read once: the converter's calls could change any member as far as
    // the compiler can tell, but none of these.
    const FillPair* fill = m_fill.data();
    Remembered* remembered = m_remembered.data();
    char* edit = m_edit.data();
    // The texts remembered for all the record's dates, looked up first, so
    // that the processor fetches them together.
    std::array<Remembered*, kMaxFillPairs> known;
    for (std::size_t i = 0; i < n; ++i)
        known[i] = remembered + ConversionCache::slotOfCompact(load8(record + fill[i].from));
    std::size_t changed = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const FillPair& pair = fill[i];
        const Remembered& text = *known[i];
        // Not remembered (length 0), or too wide for this destination.
        if (text.length - 1u >= pair.width) {
            if (fillDestination(pair, record, *known[i], convert))
                changes[changed++] = pair.destination;
            continue;
        }
        // A text remembered for these stored bytes: compared with the
        // destination, and put in the edit when it differs.
        convert.convertedAgain(pair.names.first, text.marked);
        const char* now = record + pair.to;
        const std::size_t rest = pair.width - pair.head;
        if (sameBytes(text.text.data(), now, pair.head) &&
            (rest == 0 || allSpaces(now + pair.head, rest)))
            continue;
        char* at = edit + pair.to;
        std::memcpy(at, text.text.data(), pair.head);
        std::memset(at + pair.head, ' ', rest);
        changes[changed++] = pair.destination;
    }
    return changed;
}

void DbfRecordSet::FillRecord(std::span<const DatePair> pairs, DateConverter& convert)
{
    // The walk passes the same pairs and converter for every record.
    const bool asBefore =
        m_fillConverter == &convert && pairs.data() == m_fillPairs && pairs.size() == m_fill.size();
    if (!(asBefore ? m_fillInOneStep : fillsInOneStep(pairs, convert)) || !loaded()) {
        RecordSet::FillRecord(pairs, convert);
        return;
    }
    // Edit and Update leave no edit open and nothing set.
    m_editing = false;
    m_set.clear();
    char* record = currentRecord();
    std::array<const FieldLayout*, kMaxFillPairs> changes;
    const std::size_t changed = m_fill.size() == 4 ? fillPairs<4>(record, convert, changes)
                                                   : fillPairs<0>(record, convert, changes);
    if (m_access == Access::DryRun)
        return;
    requireFlag(record, m_position);
    if (changed != 0)
        save(record, std::span(changes).first(changed));
}

void DbfRecordSet::Update()
{
    if (!m_editing)
        throw Failure(err::UpdateWithoutEdit, "Update or CancelUpdate without AddNew or Edit: " +
                                                  displayName(m_path) + " has no record in edit");
    m_editing = false;
    if (m_access == Access::DryRun)
        return;
    // The record as Edit read it, and where it lies in the file.
    char* record = currentRecord();
    requireFlag(record, m_position);
    // The fields set whose bytes change.
    std::array<const FieldLayout*, 8> local;
    std::vector<const FieldLayout*> many;
    std::span<const FieldLayout*> changes;
    if (m_set.size() > local.size()) {
        many.resize(m_set.size());
        changes = many;
    } else {
        changes = std::span(local).first(m_set.size());
    }
    std::size_t changed = 0;
    for (const FieldLayout* f : m_set)
        if (!sameBytes(m_edit.data() + f->offset, record + f->offset, f->width))
            changes[changed++] = f;
    save(record, changes.first(changed));
}

void DbfRecordSet::save(char* record, std::span<const FieldLayout* const> changes)
{
    if (changes.empty())
        return;
    stampToday();
    m_written = true;
    writeChanges(record, m_layout.recordOffset(m_position), changes);
    for (const FieldLayout* f : changes)
        copyBytes(record + f->offset, m_edit.data() + f->offset, f->width);
}

void DbfRecordSet::writeChanges(const char* record, std::uint64_t recordAt,
                                std::span<const FieldLayout* const> changes)
{
    const std::size_t changed = changes.size();
    std::vector<FileIo::Replacement>& fields = m_replacements;
    fields.clear();
    for (const FieldLayout* f : changes)
        fields.push_back({recordAt + f->offset,
                          {record + f->offset, f->width},
                          {m_edit.data() + f->offset, f->width}});
    // A field another program wrote meanwhile keeps its text; the record is
    // remembered as the run meant it, so the check at the end of the run
    // finds the difference.
    std::size_t done = 0;
    if (auto error = m_io.replaceAll(m_handle, fields, done)) {
        // A save that failed part-way may have left some of the new fields in
        // the file: put the old ones back, so the record is whole as it was.
        // A field saved before the failure is put back only where it holds
        // what the save wrote: one that another program wrote meanwhile keeps
        // its text. The field that failed may hold a part of the new bytes,
        // and is written whole. If that fails too, the device is lost anyway;
        // the first failure is the one to report, unless the file lost the
        // record altogether.
        for (std::size_t i = 0; i <= done && i < changed; ++i) {
            const FieldLayout& f = *changes[i];
            const std::span<const char> was{record + f.offset, f.width};
            try {
                bool kept = false;
                if (i < done)
                    (void)m_io.replace(m_handle, recordAt + f.offset,
                                       {m_edit.data() + f.offset, f.width}, was, kept);
                else
                    writeFully(m_io, m_handle, recordAt + f.offset, was, "cannot restore",
                               m_path, long(m_position) + 1);
            } catch (const Failure&) {
            }
        }
        FileIo::Status now;
        if (!m_io.status(m_handle, now) && now.size < recordAt + m_layout.recordLength)
            throw shortened(m_position);
        throw ioFailure(error, "cannot write record " + std::to_string(m_position + 1) + " of",
                        m_path);
    }
}

void DbfRecordSet::badFlag(const char* record, std::uint32_t index) const
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    const auto flag = static_cast<unsigned char>(record[0]);
    throw Failure(err::UnrecognizedFormat,
                  "Unrecognized database format: " + displayName(m_path) + " has record " +
                      std::to_string(index + 1) + " starting with the byte 0x" +
                      kDigits[flag >> 4] + kDigits[flag & 0xF] +
                      " where its deletion flag (a space or '*') belongs: the header does not "
                      "describe the records as they lie (shifted or damaged); nothing of that "
                      "record was written");
}

void DbfRecordSet::stampToday()
{
    if (m_stamped)
        return;
    const LocalDate date = today();
    // Years since 1900, month, day: one byte each.
    const char stamp[3] = {static_cast<char>(date.year - 1900), static_cast<char>(date.month),
                           static_cast<char>(date.day)};
    if (!std::equal(std::begin(stamp), std::end(stamp), m_layout.lastUpdate.begin())) {
        m_written = true;
        writeFully(m_io, m_handle, 1, stamp, "cannot write the last-update date", m_path);
    }
    m_stamped = true;
}

void DbfRecordSet::Flush()
{
    if (m_access == Access::DryRun || !m_written)
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

std::string DbfRecordSet::walked(const std::string& where) const
{
    const std::string records = "the " + count(m_layout.recordCount, "record", "records") +
                                " of the run " + (m_layout.recordCount == 1 ? "was" : "were");
    if (m_access == Access::DryRun)
        return records + " read from " + where + " (a dry run: nothing was written)";
    return records + " saved into " + where;
}

void DbfRecordSet::requireUnchanged() const
{
    const std::string name = displayName(m_path);
    FileIo::Status atPath;
    if (auto error = m_io.stat(m_path, atPath)) {
        if (error != std::errc::no_such_file_or_directory && error != std::errc::not_a_directory)
            throw ioFailure(error, "cannot look at", m_path);
        FileIo::Status mine;
        if (!m_io.status(m_handle, mine) && mine.links == 0)
            throw Failure(err::TableChanged, "The table changed during the run: " + name +
                                                 " was deleted; " + walked("the deleted file"));
        throw Failure(err::TableChanged, "The table changed during the run: " + name +
                                             " was moved away; " +
                                             walked("the moved file, not at this path") +
                                             "; move it back and run again");
    }
    if (atPath.device != m_status.device || atPath.inode != m_status.inode)
        throw Failure(err::TableChanged,
                      "The table changed during the run: " + name + " was replaced; " +
                          walked("the file that was there before, not into the one there now") +
                          "; run again to fill it");
    FileIo::Status now;
    if (auto error = m_io.status(m_handle, now))
        throw ioFailure(error, "cannot look at", m_path);
    const std::uint64_t records = now.size < m_layout.headerLength
                                      ? 0
                                      : (now.size - m_layout.headerLength) / m_layout.recordLength;
    if (records < m_layout.recordCount)
        throw shortened(static_cast<std::uint32_t>(records));
    std::string header(m_layout.headerLength, '\0');
    if (readFully(m_io, m_handle, 0, header, "cannot read the header", m_path) < header.size())
        throw shortened(0);
    const std::uint32_t recordsNow = le32(header, 4);
    if (recordsNow != m_layout.recordCount)
        throw Failure(
            err::TableChanged,
            "The table changed during the run: " + name +
                (recordsNow > m_layout.recordCount ? " was appended to" : " lost records") +
                ": it holds " + count(recordsNow, "record", "records") + " now, " +
                std::to_string(m_layout.recordCount) + " were walked; run again");
    if (header.compare(0, 1, m_layout.header, 0, 1) != 0 ||
        header.compare(4, std::string::npos, m_layout.header, 4, std::string::npos) != 0)
        throw Failure(err::TableChanged, "The table changed during the run: the header of " + name +
                                             " was rewritten; run again");
    if (now.size != m_status.size)
        throw Failure(err::TableChanged, "The table changed during the run: " + name + " is " +
                                             count(now.size, "byte", "bytes") + " now, " +
                                             std::to_string(m_status.size) +
                                             " when the run began; run again");
    requireRecordsUnchanged();
}

void DbfRecordSet::requireRecordsUnchanged() const
{
    hashLeft();
    const std::size_t length = m_layout.recordLength;
    const std::uint32_t records = m_digests.count();
    std::vector<char> block(std::min<std::size_t>(m_buffer.size(), std::size_t(records) * length));
    RecordDigests::Check check(m_digests);
    for (std::uint32_t first = 0; first < records;) {
        const std::size_t n = std::min<std::size_t>(block.size() / length, records - first);
        const std::size_t got = readFully(m_io, m_handle, m_layout.recordOffset(first),
                                          {block.data(), n * length}, "cannot read", m_path,
                                          long(first) + 1);
        if (got < n * length)
            throw shortened(first + static_cast<std::uint32_t>(got / length));
        if (const auto difference = check.next(block.data(), static_cast<std::uint32_t>(n)))
            throw rewritten(*difference);
        first += static_cast<std::uint32_t>(n);
    }
}

Failure DbfRecordSet::rewritten(const RecordDigests::Difference& difference) const
{
    return Failure(err::TableChanged,
                   "The table changed during the run: " + displayName(m_path) +
                       " was rewritten during the run: " +
                       (difference.first == difference.last
                            ? "record " + std::to_string(difference.first + 1)
                            : "one of records " + std::to_string(difference.first + 1) + " to " +
                                  std::to_string(difference.last + 1)) +
                       " of " + std::to_string(m_layout.recordCount) +
                       " no longer holds what the run read and wrote there, the first "
                       "difference seen; its dates may not match the table now; run again");
}

} // namespace halvane::dbase
