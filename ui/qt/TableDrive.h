// The drive the Linux program looks for its table in ("C:\" as Wine maps it:
// $WINEPREFIX/drive_c, by default ~/.wine/drive_c), made at start-up when it
// is missing, so a user without Wine finds the folder to save Shamsi.dbf in
// and an exporter pointed there finds it. Only the folders are made, never a
// table.
#pragma once

#include <filesystem>

namespace halvane::ui::qt
{

// The folder of "C:\"; made with the folders above it when missing. False
// when it is missing and cannot be made (the program then goes on, and says
// that it finds no table).
bool makeTableDrive();

} // namespace halvane::ui::qt
