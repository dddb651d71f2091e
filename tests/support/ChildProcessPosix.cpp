#include "tests/support/ChildProcess.h"

#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace halvane::test
{

ChildProcess::ChildProcess(const std::vector<std::string>& args, const std::string& output)
{
    std::vector<char*> argv;
    for (const auto& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const char* sink = output.empty() ? "/dev/null" : output.c_str();
    posix_spawn_file_actions_addopen(&actions, 1, sink, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    pid_t pid = 0;
    m_started = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    m_process = pid;
}

ChildProcess::~ChildProcess()
{
    if (m_started && !m_waited) {
        kill();
        wait();
    }
}

void ChildProcess::kill()
{
    if (m_started && !m_waited)
        ::kill(static_cast<pid_t>(m_process), SIGKILL);
}

bool ChildProcess::pause()
{
    if (!m_started || m_waited)
        return false;
    ::kill(static_cast<pid_t>(m_process), SIGSTOP);
    // Stopped, or ended before the signal came.
    int status = 0;
    const pid_t got = waitpid(static_cast<pid_t>(m_process), &status, WUNTRACED);
    if (got > 0 && WIFSTOPPED(status))
        return true;
    m_waited = true;
    m_status = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
    return false;
}

void ChildProcess::resume()
{
    if (m_started && !m_waited)
        ::kill(static_cast<pid_t>(m_process), SIGCONT);
}

bool ChildProcess::running()
{
    if (!m_started || m_waited)
        return false;
    int status = 0;
    if (waitpid(static_cast<pid_t>(m_process), &status, WNOHANG) <= 0)
        return true;
    m_waited = true;
    m_status = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
    return false;
}

int ChildProcess::wait()
{
    if (!m_started || m_waited)
        return m_status;
    int status = 0;
    waitpid(static_cast<pid_t>(m_process), &status, 0);
    m_waited = true;
    m_status = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
    return m_status;
}

std::string builtProgram(const std::string& name)
{
    return std::string(HALVANE_PROGRAM_DIR) + "/" + name;
}

} // namespace halvane::test
