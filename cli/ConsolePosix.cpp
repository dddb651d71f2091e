#include "cli/Console.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace halvane::cli
{

// "/?" is a path here, as any other.
void takeWindowsHelpSwitch(std::vector<std::string>&) {}

Utf8Console::Utf8Console() = default;
Utf8Console::~Utf8Console() = default;

bool isTerminal(std::FILE* out)
{
    return ::isatty(::fileno(out)) != 0;
}

StandardStreams openStandardStreams()
{
    StandardStreams streams;
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        // The lowest free descriptor: this one, as the lower ones are open.
        if (::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY) != fd)
            return {false, false};
        if (fd == 1)
            streams.outputOpen = false;
    }
    return streams;
}

bool writeText(std::FILE* out, std::string_view text)
{
    return std::fwrite(text.data(), 1, text.size(), out) == text.size();
}

} // namespace halvane::cli
