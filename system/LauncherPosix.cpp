// Starting a program on POSIX systems: detached in a session of its own, and
// reaped at once, so it neither ends with this program nor lingers as a
// zombie when it exits first.
#include "system/Launcher.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace halvane
{
namespace
{

class DetachedLauncher final : public Launcher
{
public:
    bool startDetached(const std::string& program) override
    {
        const std::string path(program.c_str()); // ends at its first zero
        if (path.empty())
            return false;
        // The grandchild reports a failed exec through the pipe; a pipe closed
        // without a word (close-on-exec) means the program is running.
        int report[2];
        if (::pipe2(report, O_CLOEXEC) != 0)
            return false;
        const pid_t child = ::fork();
        if (child == 0) {
            // Only async-signal-safe calls from here: the parent may have threads.
            ::setsid();
            const pid_t grandchild = ::fork();
            if (grandchild > 0)
                ::_exit(0);
            if (grandchild == 0) {
                char* const argv[] = {const_cast<char*>(path.c_str()), nullptr};
                ::execv(path.c_str(), argv);
            }
            const int error = errno;
            [[maybe_unused]] auto written = ::write(report[1], &error, sizeof error);
            ::_exit(127);
        }
        ::close(report[1]);
        bool started = false;
        if (child > 0) {
            int status = 0;
            while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
            }
            int error = 0;
            ssize_t n;
            while ((n = ::read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
            }
            started = n == 0;
        }
        ::close(report[0]);
        return started;
    }
};

} // namespace

Launcher& Launcher::system()
{
    static DetachedLauncher system;
    return system;
}

} // namespace halvane
