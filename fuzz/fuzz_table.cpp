// Fuzzes opening a dBASE table and walking it read-only: any bytes either
// open or fail with a Failure, and every field of every record either reads
// or fails with a Failure. Nothing may crash, hang or read out of bounds, a
// dry run never changes a byte, and shapelib, an independent reader, reads
// the field descriptors of every table that opens as our reader does.
#include "system/Failure.h"
#include "dbase/DbfRecordSet.h"
#include "run/ConversionRun.h"
#include "tests/support/MemoryFileIo.h"
#include "tests/support/ShapelibReader.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace halvane;
    const std::string input(reinterpret_cast<const char*>(data), size);
    test::MemoryFileIo io(input);
    try {
        auto table = dbase::DbfRecordSet::open("SHAMSI.DBF", dbase::Access::DryRun);
        if (!test::shapelibDisagreement(input, table->layout()).empty())
            std::abort();
        table->MoveLast();
        table->MoveFirst();
        for (long n = 0; !table->Eof(); ++n) {
            if (n > table->RecordCount())
                std::abort(); // the walk must end after the last record
            for (const auto& pair : run::kFieldPairs)
                for (const std::string_view name : {pair.first, pair.second}) {
                    try {
                        (void)table->Field(name);
                    } catch (const Failure&) {
                    }
                }
            table->MoveNext();
        }
    } catch (const Failure&) {
    }
    if (io.bytes() != input)
        std::abort();
    return 0;
}
