// Fuzzes a whole conversion run on a table: whatever the bytes, the run either
// completes or fails with a Failure, no byte outside the four destination
// fields of each record (and the header's last-update date) ever changes, and
// the engine's fill of a record in one step leaves the file as the same fill
// spelled out in record-set operations does, failing alike.
#include "core/DatesFile.h"
#include "core/ShamsiConv.h"
#include "dbase/DataControl.h"
#include "dbase/DbfRecordSet.h"
#include "run/ConversionRun.h"
#include "tests/support/MemoryFileIo.h"

#include <cstdint>
#include <cstdlib>
#include <utility>

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

// The date table's answers, remembered where found, as the windowed
// program's are.
struct TableAnswers final : dbase::DateConverter {
    std::string convert(std::string_view, std::string_view text, dbase::Reuse& reuse) override
    {
        auto result = shamsiDate(dates(), text);
        reuse.allowed = result.has_value();
        return result.value_or("");
    }
    void convertedAgain(std::string_view, bool) override {}
};

// The data control's record set, each record filled spelled out in the
// record-set operations rather than by the engine in one step.
class SpelledOut final : public dbase::RecordSetSource, private dbase::RecordSet
{
public:
    explicit SpelledOut(dbase::DataControl& control) : m_control(control) {}
    dbase::RecordSet* Recordset() override
    {
        m_inner = m_control.Recordset();
        return m_inner ? this : nullptr;
    }

private:
    void MoveLast() override { m_inner->MoveLast(); }
    void MoveFirst() override { m_inner->MoveFirst(); }
    void MoveNext() override { m_inner->MoveNext(); }
    bool Eof() const override { return m_inner->Eof(); }
    void Edit() override { m_inner->Edit(); }
    dbase::FieldValue Field(std::string_view name) const override { return m_inner->Field(name); }
    void SetField(std::string_view name, std::string_view text) override
    {
        m_inner->SetField(name, text);
    }
    void Update() override { m_inner->Update(); }
    void Flush() override { m_inner->Flush(); }
    long RecordCount() const override { return m_inner->RecordCount(); }
    long AbsolutePosition() const override { return m_inner->AbsolutePosition(); }

    dbase::DataControl& m_control;
    dbase::RecordSet* m_inner = nullptr;
};

// A whole run over `input`: the table it leaves and the failure it ended
// with (0 for none).
std::pair<std::string, int> runOver(const std::string& input, bool spelledOut)
{
    test::MemoryFileIo io(input);
    int failure = 0;
    {
        dbase::DataControl control("SHAMSI.DBF", dbase::Access::ReadWrite);
        control.Refresh();
        NoPictures display;
        TableAnswers answers;
        SpelledOut spelled(control);
        try {
            if (spelledOut)
                run::convertTable(spelled, display, answers);
            else
                run::convertTable(control, display, answers);
        } catch (const Failure& f) {
            failure = f.number();
        }
    }
    return {io.bytes(), failure};
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
    if (runOver(input, false) != runOver(input, true))
        std::abort();
    return 0;
}
