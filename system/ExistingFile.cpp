#include "system/ExistingFile.h"

#include "system/DisplayName.h"
#include "system/Failure.h"
#include "system/Platform.h"

#include <cerrno>
#include <cstring>
#include <system_error>

namespace halvane
{

FileHandle openExistingFile(const std::filesystem::path& path)
{
    const std::string name = displayName(path);
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (status.type() == std::filesystem::file_type::not_found)
        throw Failure(err::FileNotFound, "File not found: " + name);
    if (!ec && status.type() != std::filesystem::file_type::regular)
        throw Failure(err::PathFileAccess, name + " is not a file");

    errno = 0;
    FileHandle file(platform::openForReading(path), &std::fclose);
    if (!file) {
        const int e = errno;
        if (e == ENOENT)
            throw Failure(err::FileNotFound, "File not found: " + name);
        if (e == EACCES || e == EPERM)
            throw Failure(err::PermissionDenied, "Permission denied: cannot read " + name);
        throw Failure(err::PathFileAccess, "Cannot open " + name + ": " + std::strerror(e));
    }
    return file;
}

std::string readWholeFile(const std::filesystem::path& path)
{
    const FileHandle file = openExistingFile(path);
    std::string text;
    char buffer[16384];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        text.append(buffer, n);
    if (std::ferror(file.get()))
        throw Failure(err::DeviceIO,
                      "Cannot read " + displayName(path) + ": " + std::strerror(errno));
    return text;
}

} // namespace halvane
