// Another program started by a test, with its output thrown away, that the
// test can end abruptly (SIGKILL; TerminateProcess on Windows) or wait for.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace halvane::test
{

class ChildProcess
{
public:
    // Starts `args[0]` with the arguments after it (UTF-8 text), its
    // standard output and error going into the file `output`, or thrown away
    // when it is empty. started() tells whether it could be started.
    explicit ChildProcess(const std::vector<std::string>& args, const std::string& output = {});
    ~ChildProcess(); // waits for it, ending it first if it still runs
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return m_started; }
    // Ends it at once, as a power cut or the task manager would.
    void kill();
    // Stops it where it stands (SIGSTOP; every thread suspended on Windows),
    // and lets it go on. pause() is false when it has ended already.
    bool pause();
    void resume();
    // Whether it has not ended yet.
    bool running();
    // Its exit status; a negative number when it was ended abruptly.
    int wait();

private:
    bool m_started = false;
    bool m_waited = false;
    int m_status = 0;
    // The process: a pid on POSIX, a process handle on Windows.
    std::intptr_t m_process = 0;
};

// The full path of one of the programs built beside the tests ("shamsi-dates",
// "make-table"), with the system's suffix for programs.
std::string builtProgram(const std::string& name);

} // namespace halvane::test
