#include "Platform.h"

#include "Failure.h"

#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace halvane::platform
{

std::filesystem::path programDirectory()
{
#ifdef _WIN32
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0)
            throw Failure(err::PathNotFound, "Cannot tell the program's own directory");
        if (n < buffer.size()) {
            buffer.resize(n);
            break;
        }
        buffer.resize(buffer.size() * 2);
    }
    return std::filesystem::path(buffer).parent_path();
#else
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        throw Failure(err::PathNotFound,
                      "Cannot tell the program's own directory (/proc/self/exe: " + ec.message() +
                          ")");
    return exe.parent_path();
#endif
}

void makeCurrent(const std::filesystem::path& dir)
{
    // std::filesystem::current_path also sets the drive on Windows, since the
    // current directory there carries its drive.
    std::error_code ec;
    std::filesystem::current_path(dir, ec);
    if (ec)
        throw Failure(err::PathNotFound,
                      "Cannot make " + dir.string() + " the current directory: " + ec.message());
}

} // namespace halvane::platform
