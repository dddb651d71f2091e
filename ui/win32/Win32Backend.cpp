#include "ui/win32/Win32Backend.h"

#include "ui/forms/WindowServices.h"

#include <objbase.h>

namespace halvane::ui::win32
{

Win32Backend::ComApartment::ComApartment()
    : initialised(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
{
}

Win32Backend::ComApartment::~ComApartment()
{
    if (initialised)
        CoUninitialize();
}

Win32Backend::Win32Backend() = default;

Win32Backend::~Win32Backend()
{
    unloadAll();
}

} // namespace halvane::ui::win32
