// check-version FILE VERSION NAME: exit status 0 when the program FILE has a
// version resource whose fixed product version is VERSION (such as 2.0.0,
// the fourth part 0) and whose ProductName is NAME; otherwise says what it
// holds and ends with 1. The installer's test runs it on setup.exe under Wine.
#include <cstdio>
#include <string>
#include <vector>
#include <windows.h>

int wmain(int argc, wchar_t** argv)
{
    if (argc != 4) {
        std::fwprintf(stderr, L"usage: check-version FILE VERSION NAME\n");
        return 2;
    }
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(argv[1], &ignored);
    std::vector<char> info(size);
    if (size == 0 || !GetFileVersionInfoW(argv[1], 0, size, info.data())) {
        std::fwprintf(stderr, L"%ls has no version resource\n", argv[1]);
        return 1;
    }
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || !fixed)
        return std::fwprintf(stderr, L"no fixed version information\n"), 1;
    wchar_t version[64];
    std::swprintf(version, 64, L"%u.%u.%u.%u", HIWORD(fixed->dwProductVersionMS),
                  LOWORD(fixed->dwProductVersionMS), HIWORD(fixed->dwProductVersionLS),
                  LOWORD(fixed->dwProductVersionLS));
    const std::wstring wanted = std::wstring(argv[2]) + L".0";

    // The first language and code page of the string table.
    struct Translation {
        WORD language, codePage;
    }* translation = nullptr;
    wchar_t* name = nullptr;
    if (VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation",
                       reinterpret_cast<void**>(&translation), &length) &&
        length >= sizeof(Translation)) {
        wchar_t path[64];
        std::swprintf(path, 64, L"\\StringFileInfo\\%04x%04x\\ProductName", translation->language,
                      translation->codePage);
        VerQueryValueW(info.data(), path, reinterpret_cast<void**>(&name), &length);
    }
    if (wanted != version || !name || std::wstring(name) != argv[3]) {
        std::fwprintf(stderr, L"%ls: product version %ls, product name %ls\n", argv[1], version,
                      name ? name : L"(none)");
        return 1;
    }
    return 0;
}
