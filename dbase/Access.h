// How a table is opened: for filling, or for a dry run that checks every
// change as for real and writes nothing.
#pragma once

namespace halvane::dbase
{

enum class Access {
    ReadWrite,
    // The file is opened read-only; Edit, SetField and Update check exactly as
    // for real (fields, types, widths), but Update writes nothing.
    DryRun,
};

} // namespace halvane::dbase
