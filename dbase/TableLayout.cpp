#include "dbase/TableLayout.h"

#include "core/Failure.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <shapefil.h>

namespace halvane::dbase
{

namespace
{

constexpr std::size_t kFileHeader = 32;
constexpr std::size_t kDescriptor = 32;
constexpr char kTerminator = 0x0D;

unsigned byteAt(const std::string& bytes, std::size_t i)
{
    return static_cast<unsigned char>(bytes[i]);
}

std::uint32_t le16(const std::string& bytes, std::size_t i)
{
    return byteAt(bytes, i) | (byteAt(bytes, i + 1) << 8);
}

std::uint32_t le32(const std::string& bytes, std::size_t i)
{
    return le16(bytes, i) | (le16(bytes, i + 2) << 16);
}

std::string hexByte(unsigned value)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    return std::string("0x") + kDigits[(value >> 4) & 0xF] + kDigits[value & 0xF];
}

// What a version byte outside the accepted ones belongs to, for the message.
std::string_view foreignFormat(unsigned version)
{
    switch (version) {
    case 0x02:
    case 0xFB:
        return "FoxBASE";
    case 0x30:
    case 0x31:
    case 0x32:
        return "Visual FoxPro";
    case 0xF5:
        return "FoxPro with memo";
    case 0x04:
    case 0x8C:
        return "dBASE 7";
    case 0x43:
    case 0x63:
    case 0xB3:
    case 0xE5:
        return "dBASE IV with SQL table";
    default:
        return {};
    }
}

Failure unrecognized(const std::filesystem::path& name, const std::string& why)
{
    return Failure(err::UnrecognizedFormat,
                   "Unrecognized database format: " + displayName(name) + " " + why);
}

std::string upper(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

// The field descriptors as the header stores them, checked for what a table
// needs to be walked safely: names, types, widths and the terminator.
struct RawField {
    std::string name;
    char type;
    std::uint32_t width;
};

std::vector<RawField> rawFields(const std::string& header, const std::filesystem::path& name)
{
    std::vector<RawField> fields;
    std::size_t at = kFileHeader;
    for (;;) {
        if (at >= header.size())
            throw unrecognized(name, "has broken field descriptors: the list of fields has no "
                                     "end marker within the header");
        if (header[at] == kTerminator)
            break;
        if (at + kDescriptor >= header.size())
            throw unrecognized(name, "has broken field descriptors: field " +
                                         std::to_string(fields.size() + 1) +
                                         " runs past the end of the header");
        const std::size_t number = fields.size() + 1;
        std::string fieldName;
        for (std::size_t i = 0; i < 11 && header[at + i] != '\0'; ++i)
            fieldName += header[at + i];
        while (!fieldName.empty() && fieldName.back() == ' ')
            fieldName.pop_back();
        auto broken = [&](const std::string& why) {
            return unrecognized(
                name, "has a broken field descriptor (field " + std::to_string(number) +
                          (fieldName.empty() ? "" : " '" + fieldName + "'") + "): " + why);
        };
        if (fieldName.empty())
            throw broken("the field has no name");
        if (std::any_of(fieldName.begin(), fieldName.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20; }))
            throw broken("the name holds control characters");
        const char type = header[at + 11];
        if (type < 'A' || type > 'Z')
            throw broken("unknown field type " + hexByte(static_cast<unsigned char>(type)));
        const std::uint32_t width = byteAt(header, at + 16);
        if (width == 0)
            throw broken("the field is 0 bytes wide");
        if (type == 'D' && width != 8)
            throw broken("a date field is 8 bytes wide, this one " + std::to_string(width));
        for (const auto& f : fields)
            if (upper(f.name) == upper(fieldName))
                throw broken("a second field of that name");
        fields.push_back({fieldName, type, width});
        at += kDescriptor;
    }
    return fields;
}

// shapelib reads the table through these hooks, which lend it the handle we
// opened (it never opens, writes or removes a file of its own). shapelib's
// hooks carry no user data, hence the one table being opened per thread.
struct HookFile {
    FileIo* io;
    FileIo::Handle handle;
    std::uint64_t position = 0;
    bool lent = false;
    std::error_code error;
    std::string message;
};

thread_local HookFile* t_opening = nullptr;

HookFile* hookFile(SAFile file)
{
    return reinterpret_cast<HookFile*>(file);
}

bool endsWithDbf(const char* fileName)
{
    const std::size_t n = std::strlen(fileName);
    return n >= 4 && upper(fileName + (n - 4)) == ".DBF";
}

SAFile hookOpen(const char* fileName, const char* access)
{
    HookFile* file = t_opening;
    if (!file || file->lent || std::strpbrk(access, "wa+") || !endsWithDbf(fileName))
        return nullptr;
    file->lent = true;
    return reinterpret_cast<SAFile>(file);
}

SAOffset hookRead(void* buffer, SAOffset size, SAOffset count, SAFile handle)
{
    HookFile* file = hookFile(handle);
    if (size == 0 || file->error)
        return 0;
    std::size_t done = 0;
    file->error = file->io->read(file->handle, file->position,
                                 {static_cast<char*>(buffer), std::size_t(size * count)}, done);
    file->position += done;
    return file->error ? 0 : SAOffset(done / size);
}

SAOffset hookWrite(void*, SAOffset, SAOffset, SAFile)
{
    return 0;
}

SAOffset hookSeek(SAFile handle, SAOffset offset, int whence)
{
    HookFile* file = hookFile(handle);
    if (whence == SEEK_SET)
        file->position = offset;
    else if (whence == SEEK_CUR)
        file->position += offset;
    else
        return SAOffset(-1);
    return 0;
}

SAOffset hookTell(SAFile handle)
{
    return SAOffset(hookFile(handle)->position);
}

int hookFlush(SAFile)
{
    return 0;
}

int hookClose(SAFile)
{
    return 0;
}

int hookRemove(const char*)
{
    return -1;
}

void hookError(const char* message)
{
    if (t_opening)
        t_opening->message = message;
}

double hookAtof(const char* text)
{
    return std::atof(text);
}

struct DbfCloser {
    void operator()(DBFInfo* dbf) const { DBFClose(dbf); }
};

// The fields as shapelib reads them from the descriptors.
std::vector<FieldLayout> shapelibFields(FileIo& io, FileIo::Handle handle,
                                        const std::filesystem::path& name)
{
    HookFile file{&io, handle, 0, false, {}, {}};
    t_opening = &file;
    SAHooks hooks{};
    hooks.FOpen = hookOpen;
    hooks.FRead = hookRead;
    hooks.FWrite = hookWrite;
    hooks.FSeek = hookSeek;
    hooks.FTell = hookTell;
    hooks.FFlush = hookFlush;
    hooks.FClose = hookClose;
    hooks.Remove = hookRemove;
    hooks.Error = hookError;
    hooks.Atof = hookAtof;
    // shapelib asks for "<name>.dbf" in either case, whatever the real name:
    // the hooks lend it our handle for that one request.
    std::unique_ptr<DBFInfo, DbfCloser> dbf(DBFOpenLL("table.dbf", "rb", &hooks));
    t_opening = nullptr;
    if (file.error)
        throw ioFailure(file.error, "cannot read the header of", name);
    if (!dbf)
        throw unrecognized(name, "cannot be read as a dBASE table" +
                                     (file.message.empty() ? "" : " (" + file.message + ")"));
    std::vector<FieldLayout> fields;
    const int count = DBFGetFieldCount(dbf.get());
    std::uint32_t offset = 1;
    for (int i = 0; i < count; ++i) {
        std::array<char, XBASE_FLDNAME_LEN_READ + 1> fieldName{};
        int width = 0;
        int decimals = 0;
        DBFGetFieldInfo(dbf.get(), i, fieldName.data(), &width, &decimals);
        FieldLayout f;
        f.name = fieldName.data();
        f.type = DBFGetNativeFieldType(dbf.get(), i);
        f.width = static_cast<std::uint32_t>(std::max(width, 0));
        f.offset = offset;
        offset += f.width;
        fields.push_back(std::move(f));
    }
    return fields;
}

} // namespace

const FieldLayout* TableLayout::find(std::string_view name) const
{
    // Looked up several times per record: plain ASCII folding, no locale.
    auto fold = [](char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; };
    for (const auto& f : fields)
        if (f.name.size() == name.size() &&
            std::equal(name.begin(), name.end(), f.name.begin(),
                       [&](char a, char b) { return fold(a) == fold(b); }))
            return &f;
    return nullptr;
}

TableLayout readTableLayout(FileIo& io, FileIo::Handle file, const std::filesystem::path& name,
                            std::uint64_t fileSize)
{
    if (fileSize == 0)
        throw unrecognized(name, "is empty (0 bytes), not a dBASE table");
    std::string header(kFileHeader, '\0');
    if (readFully(io, file, 0, header, "cannot read the header", name) < kFileHeader)
        throw unrecognized(name, "is too short to be a dBASE table (" + std::to_string(fileSize) +
                                     " bytes)");

    TableLayout layout;
    layout.version = static_cast<unsigned char>(header[0]);
    if (std::find(std::begin(TableLayout::kAccepted), std::end(TableLayout::kAccepted),
                  layout.version) == std::end(TableLayout::kAccepted)) {
        auto other = foreignFormat(layout.version);
        throw unrecognized(name, (other.empty() ? std::string("is not a dBASE table")
                                                : "is a " + std::string(other) + " table") +
                                     " (version byte " + hexByte(layout.version) +
                                     "); only dBASE III and IV tables can be filled "
                                     "(version 0x03, 0x83, 0x8B or 0xCB)");
    }
    std::copy_n(header.begin() + 1, 3, layout.lastUpdate.begin());
    layout.recordCount = le32(header, 4);
    layout.headerLength = le16(header, 8);
    layout.recordLength = le16(header, 10);
    if (layout.headerLength < kFileHeader + 1 || layout.recordLength < 1)
        throw unrecognized(name, "has an inconsistent header: header length " +
                                     std::to_string(layout.headerLength) + ", record length " +
                                     std::to_string(layout.recordLength));
    if (layout.headerLength > fileSize)
        throw unrecognized(name, "has an inconsistent header: it claims " +
                                     std::to_string(layout.headerLength) +
                                     " header bytes, the file holds " + std::to_string(fileSize));

    header.resize(layout.headerLength);
    if (readFully(io, file, 0, header, "cannot read the header", name) < header.size())
        throw unrecognized(name, "ends inside its header");
    const auto raw = rawFields(header, name);

    std::uint64_t widths = 1;
    for (const auto& f : raw)
        widths += f.width;
    if (widths != layout.recordLength)
        throw unrecognized(name, "has an inconsistent header: record length " +
                                     std::to_string(layout.recordLength) +
                                     " does not match its fields (" + std::to_string(widths) +
                                     " bytes)");
    const std::uint64_t records = (fileSize - layout.headerLength) / layout.recordLength;
    if (records < layout.recordCount)
        throw unrecognized(name, "claims " + std::to_string(layout.recordCount) +
                                     " records, but the file holds only " +
                                     std::to_string(records));

    layout.fields = shapelibFields(io, file, name);
    bool agrees = layout.fields.size() == raw.size();
    for (std::size_t i = 0; agrees && i < raw.size(); ++i)
        agrees = layout.fields[i].name == raw[i].name && layout.fields[i].type == raw[i].type &&
                 layout.fields[i].width == raw[i].width;
    if (!agrees)
        throw unrecognized(name, "has field descriptors that cannot be read consistently");
    return layout;
}

} // namespace halvane::dbase
