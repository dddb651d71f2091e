#include "dbase/TableLayout.h"

#include "system/DisplayName.h"
#include "system/Failure.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace halvane::dbase
{

namespace
{

constexpr std::size_t kFileHeader = 32;
constexpr std::size_t kDescriptor = 32;
constexpr char kTerminator = 0x0D;
constexpr std::size_t kTransactionFlag = 14;
constexpr std::size_t kEncryptionFlag = 15;

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
        return "dBASE IV SQL";
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
std::vector<FieldLayout> readFields(const std::string& header, const std::filesystem::path& name)
{
    std::vector<FieldLayout> fields;
    std::uint32_t offset = 1;
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
            return unrecognized(name,
                                "has a broken field descriptor (field " + std::to_string(number) +
                                    (fieldName.empty() ? "" : " '" + displayText(fieldName) + "'") +
                                    "): " + why);
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
        fields.push_back({fieldName, type, width, offset});
        offset += width;
        at += kDescriptor;
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

namespace
{

// The fixed part of the header, the first kFileHeader bytes.
std::string readFixedHeader(FileIo& io, FileIo::Handle file, const std::filesystem::path& name,
                            std::uint64_t fileSize)
{
    if (fileSize == 0)
        throw unrecognized(name, "is empty (0 bytes), not a dBASE table");
    std::string header(kFileHeader, '\0');
    if (readFully(io, file, 0, header, "cannot read the header", name) < kFileHeader)
        throw unrecognized(name, "is too short to be a dBASE table (" + std::to_string(fileSize) +
                                     " bytes)");
    return header;
}

// Refuses what is no plain dBASE III or IV table: another version byte, a
// change cut short, encryption.
void checkFormat(const std::string& header, unsigned char version,
                 const std::filesystem::path& name)
{
    if (std::find(std::begin(TableLayout::kAccepted), std::end(TableLayout::kAccepted), version) ==
        std::end(TableLayout::kAccepted)) {
        auto other = foreignFormat(version);
        throw unrecognized(name, (other.empty() ? std::string("is not a dBASE table")
                                                : "is a " + std::string(other) + " table") +
                                     " (version byte " + hexByte(version) +
                                     "); only dBASE III and IV tables can be filled "
                                     "(version 0x03, 0x83, 0x8B or 0xCB)");
    }
    // dBASE IV marks a table whose change was cut short, and an encrypted
    // one: their records cannot be taken as they stand.
    if (header[kTransactionFlag] != 0)
        throw unrecognized(name, "is marked as being changed by an incomplete transaction "
                                 "(header byte 14 is " +
                                     hexByte(byteAt(header, kTransactionFlag)) +
                                     "); let dBASE software finish or roll it back first");
    if (header[kEncryptionFlag] != 0)
        throw unrecognized(name, "is encrypted (header byte 15 is " +
                                     hexByte(byteAt(header, kEncryptionFlag)) +
                                     "); only plain tables can be filled");
}

// The header's lengths, each against the other and against the file.
void checkLengths(const TableLayout& layout, const std::filesystem::path& name,
                  std::uint64_t fileSize)
{
    if (layout.headerLength < kFileHeader + 1 || layout.recordLength < 1)
        throw unrecognized(name, "has an inconsistent header: header length " +
                                     std::to_string(layout.headerLength) + ", record length " +
                                     std::to_string(layout.recordLength));
    if (layout.headerLength > fileSize)
        throw unrecognized(name, "has an inconsistent header: it claims " +
                                     std::to_string(layout.headerLength) +
                                     " header bytes, the file holds " + std::to_string(fileSize));
}

// Writers may leave zeros after the terminator; anything else there is what
// a header length too large shows: the first record's bytes.
void checkPadding(const std::string& header, const TableLayout& layout,
                  const std::filesystem::path& name)
{
    const std::size_t listEnd = kFileHeader + kDescriptor * layout.fields.size() + 1;
    for (std::size_t i = listEnd; i < header.size(); ++i)
        if (header[i] != '\0')
            throw unrecognized(name, "has an inconsistent header: header length " +
                                         std::to_string(layout.headerLength) +
                                         " does not agree with its " +
                                         std::to_string(layout.fields.size()) + " fields (" +
                                         std::to_string(listEnd) + " bytes, then zeros): byte " +
                                         std::to_string(i) + " after the list of fields is " +
                                         hexByte(byteAt(header, i)) + ", not padding");
}

// The fields against the record length, and the records the file holds
// against the count the header claims.
void checkRecords(const TableLayout& layout, const std::filesystem::path& name,
                  std::uint64_t fileSize)
{
    std::uint64_t widths = 1;
    for (const auto& f : layout.fields)
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
}

} // namespace

TableLayout readTableLayout(FileIo& io, FileIo::Handle file, const std::filesystem::path& name,
                            std::uint64_t fileSize)
{
    std::string header = readFixedHeader(io, file, name, fileSize);
    TableLayout layout;
    layout.version = static_cast<unsigned char>(header[0]);
    checkFormat(header, layout.version, name);
    std::copy_n(header.begin() + 1, 3, layout.lastUpdate.begin());
    layout.recordCount = le32(header, 4);
    layout.headerLength = le16(header, 8);
    layout.recordLength = le16(header, 10);
    checkLengths(layout, name, fileSize);

    header.resize(layout.headerLength);
    if (readFully(io, file, 0, header, "cannot read the header", name) < header.size())
        throw unrecognized(name, "ends inside its header");
    layout.fields = readFields(header, name);
    checkPadding(header, layout, name);
    checkRecords(layout, name, fileSize);
    layout.header = std::move(header);
    return layout;
}

} // namespace halvane::dbase
