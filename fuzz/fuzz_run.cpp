// Fuzzes a whole conversion run on a table: whatever the bytes, the run either
// completes or fails with a Failure, and no byte outside the four destination
// fields of each record (and the header's last-update date) ever changes.
#include "core/DatesFile.h"
#include "core/ShamsiConv.h"
#include "dbase/DataControl.h"
#include "dbase/DbfRecordSet.h"
#include "run/ConversionRun.h"
#include "tests/support/MemoryFileIo.h"

#include <cstdint>
#include <cstdlib>

namespace
{

using namespace halvane;

struct NoPictures final : run::RunDisplay {
    void showPicture(std::string_view) override {}
    void focusRunButton() override {}
};

const DateTable& dates()
{
    static const DateTable table = [] {
        DateTable t;
        loadDateTable(t, HALVANE_DATES_FILE);
        return t;
    }();
    return table;
}

// Which bytes the run may change, or none when the table does not open.
std::vector<bool> writable(const std::string& bytes)
{
    std::vector<bool> mask(bytes.size(), false);
    test::MemoryFileIo io(bytes);
    try {
        const auto table = dbase::DbfRecordSet::open("SHAMSI.DBF", dbase::Access::DryRun);
        const auto& layout = table->layout();
        for (std::size_t i = 1; i <= 3 && i < mask.size(); ++i)
            mask[i] = true;
        for (std::uint32_t r = 0; r < layout.recordCount; ++r)
            for (const auto& [source, name] : run::kFieldPairs)
                if (const auto* f = layout.find(name))
                    for (std::uint32_t b = 0; b < f->width; ++b)
                        if (layout.recordOffset(r) + f->offset + b < mask.size())
                            mask[layout.recordOffset(r) + f->offset + b] = true;
    } catch (const Failure&) {
    }
    return mask;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const DateTable& table = dates();
    test::MemoryFileIo io(input);
    {
        dbase::DataControl control("SHAMSI.DBF", dbase::Access::ReadWrite);
        control.Refresh();
        NoPictures display;
        try {
            run::convertTable(control, display, [&](std::string_view, std::string_view text) {
                return shamsiDate(table, text).value_or("");
            });
        } catch (const Failure&) {
        }
    }
    const std::string& after = io.bytes();
    if (after.size() != input.size())
        std::abort();
    const std::vector<bool> mask = writable(input);
    for (std::size_t i = 0; i < input.size(); ++i)
        if (after[i] != input[i] && !mask[i])
            std::abort();
    return 0;
}
