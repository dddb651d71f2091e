// shapelib as an independent reader of dBASE tables: the field descriptors
// as it reads them from a table's bytes, and whether they agree with the
// layout our own reader found. The product reads tables with its own reader
// only; the tests and the table fuzz target hold it against this one.
#pragma once

#include "dbase/TableLayout.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <shapefil.h>
#include <string>
#include <vector>

namespace halvane::test
{

struct ShapelibField {
    std::string name;
    char type;
    int width;
};

namespace shapelib_detail
{

// The table shapelib reads: bytes in memory, lent through its file hooks.
// The hooks carry no user data, hence the one table per thread.
struct MemoryFile {
    const std::string* bytes = nullptr;
    SAOffset position = 0;
    bool lent = false;
};
inline thread_local MemoryFile* t_table = nullptr;

inline MemoryFile* of(SAFile file)
{
    return reinterpret_cast<MemoryFile*>(file);
}

inline SAFile open(const char* name, const char* access)
{
    const std::size_t n = std::strlen(name);
    const bool dbf = n >= 4 && (std::strcmp(name + n - 4, ".dbf") == 0 ||
                                std::strcmp(name + n - 4, ".DBF") == 0);
    if (!t_table || t_table->lent || !dbf || std::strpbrk(access, "wa+"))
        return nullptr; // nothing else (a code page file) exists, nothing is written
    t_table->lent = true;
    return reinterpret_cast<SAFile>(t_table);
}

inline SAOffset read(void* into, SAOffset size, SAOffset count, SAFile file)
{
    MemoryFile& f = *of(file);
    if (size == 0 || f.position >= f.bytes->size())
        return 0;
    const SAOffset items = std::min<SAOffset>(count, (f.bytes->size() - f.position) / size);
    std::memcpy(into, f.bytes->data() + f.position, items * size);
    f.position += items * size;
    return items;
}

inline SAOffset write(void*, SAOffset, SAOffset, SAFile)
{
    return 0;
}

inline SAOffset seek(SAFile file, SAOffset offset, int whence)
{
    MemoryFile& f = *of(file);
    if (whence == SEEK_SET)
        f.position = offset;
    else if (whence == SEEK_CUR)
        f.position += offset;
    else if (whence == SEEK_END)
        f.position = f.bytes->size() + offset;
    else
        return SAOffset(-1);
    return 0;
}

inline SAOffset tell(SAFile file)
{
    return of(file)->position;
}

inline int flush(SAFile)
{
    return 0;
}

inline int close(SAFile)
{
    return 0;
}

inline int remove(const char*)
{
    return -1;
}

inline void error(const char*) {}

inline double atof(const char* text)
{
    return std::atof(text);
}

struct Closer {
    void operator()(DBFInfo* dbf) const { DBFClose(dbf); }
};

} // namespace shapelib_detail

// The field descriptors of the table `bytes` as shapelib reads them, or
// nothing when it cannot open the bytes as a table.
inline std::optional<std::vector<ShapelibField>> shapelibFields(const std::string& bytes)
{
    namespace d = shapelib_detail;
    d::MemoryFile file{&bytes};
    d::t_table = &file;
    SAHooks hooks{};
    hooks.FOpen = d::open;
    hooks.FRead = d::read;
    hooks.FWrite = d::write;
    hooks.FSeek = d::seek;
    hooks.FTell = d::tell;
    hooks.FFlush = d::flush;
    hooks.FClose = d::close;
    hooks.Remove = d::remove;
    hooks.Error = d::error;
    hooks.Atof = d::atof;
    std::unique_ptr<DBFInfo, d::Closer> dbf(DBFOpenLL("table.dbf", "rb", &hooks));
    d::t_table = nullptr;
    if (!dbf)
        return std::nullopt;
    std::vector<ShapelibField> fields;
    for (int i = 0; i < DBFGetFieldCount(dbf.get()); ++i) {
        std::array<char, XBASE_FLDNAME_LEN_READ + 1> name{};
        int width = 0, decimals = 0;
        DBFGetFieldInfo(dbf.get(), i, name.data(), &width, &decimals);
        fields.push_back({name.data(), DBFGetNativeFieldType(dbf.get(), i), width});
    }
    return fields;
}

// "" when shapelib reads the field descriptors of the table `bytes` (names,
// types, widths, in order) as `layout` holds them; otherwise what differs.
// shapelib keeps the spaces that may pad a name where NULs belong, which our
// reader drops: names are compared without them.
inline std::string shapelibDisagreement(const std::string& bytes, const dbase::TableLayout& layout)
{
    const auto fields = shapelibFields(bytes);
    if (!fields)
        return "shapelib cannot open the table";
    if (fields->size() != layout.fields.size())
        return "shapelib reads " + std::to_string(fields->size()) + " fields, we read " +
               std::to_string(layout.fields.size());
    for (std::size_t i = 0; i < fields->size(); ++i) {
        ShapelibField theirs = (*fields)[i];
        theirs.name.erase(theirs.name.find_last_not_of(' ') + 1);
        const dbase::FieldLayout& ours = layout.fields[i];
        if (theirs.name != ours.name || theirs.type != ours.type ||
            theirs.width != static_cast<int>(ours.width))
            return "field " + std::to_string(i + 1) + ": shapelib reads '" + theirs.name + "' " +
                   theirs.type + std::to_string(theirs.width) + ", we read '" + ours.name + "' " +
                   ours.type + std::to_string(ours.width);
    }
    return {};
}

} // namespace halvane::test
