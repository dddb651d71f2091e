// check-shortcut LINK TARGET ARGUMENTS: exit status 0 when the shortcut LINK
// starts TARGET (letter case aside) with exactly ARGUMENTS; otherwise says
// what it starts and ends with 1. The installer's test runs it under Wine.
#include <cstdio>
#include <string>
#include <windows.h>
// After windows.h, which they need.
#include <objidl.h>
#include <shellapi.h>
#include <shlobj.h>

namespace
{

// What a shortcut holds, read through the shell's own reader of .lnk files.
struct Shortcut {
    std::wstring target, arguments;
};

bool readShortcut(const wchar_t* file, Shortcut& out)
{
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link))))
        return false;
    IPersistFile* persist = nullptr;
    bool ok = SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)));
    ok = ok && SUCCEEDED(persist->Load(file, STGM_READ));
    wchar_t text[4096] = {};
    ok = ok && SUCCEEDED(link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH));
    if (ok)
        out.target = text;
    text[0] = L'\0';
    ok = ok && SUCCEEDED(link->GetArguments(text, 4096));
    if (ok)
        out.arguments = text;
    if (persist)
        persist->Release();
    link->Release();
    return ok;
}

} // namespace

int main()
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc != 4) {
        std::fprintf(stderr, "usage: check-shortcut LINK TARGET ARGUMENTS\n");
        return 2;
    }
    CoInitialize(nullptr);
    Shortcut shortcut;
    if (!readShortcut(argv[1], shortcut)) {
        std::fwprintf(stderr, L"%ls: no shortcut that can be read\n", argv[1]);
        return 1;
    }
    if (lstrcmpiW(shortcut.target.c_str(), argv[2]) != 0 || shortcut.arguments != argv[3]) {
        std::fwprintf(stderr, L"%ls starts \"%ls\" with \"%ls\", not \"%ls\" with \"%ls\"\n",
                      argv[1], shortcut.target.c_str(), shortcut.arguments.c_str(), argv[2],
                      argv[3]);
        return 1;
    }
    return 0;
}
