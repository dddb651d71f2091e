// Fuzzes opening a dBASE table and walking it read-only: any bytes either
// open or fail with a Failure, and every field of every record either reads
// or fails with a Failure. Nothing may crash, hang or read out of bounds, and
// a dry run never changes a byte.
#include "core/Failure.h"
#include "dbase/DbfRecordSet.h"
#include "fuzz/MemoryFileIo.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace halvane;
    const std::string input(reinterpret_cast<const char*>(data), size);
    fuzz::MemoryFileIo io(input);
    try {
        auto table = dbase::DbfRecordSet::open("SHAMSI.DBF", dbase::Access::DryRun);
        table->MoveLast();
        table->MoveFirst();
        for (long n = 0; !table->Eof(); ++n) {
            if (n > table->RecordCount())
                std::abort(); // the walk must end after the last record
            for (const char* name :
                 {"ES", "EF", "ES_T1", "EF_T1", "SHES", "SHEF", "SHTS", "SHTF"}) {
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
