#include "system/Platform.h"
#include "tests/support/ChildProcess.h"

#include <windows.h>

namespace halvane::test
{
namespace
{

// One argument as the C run-time splits a command line: quoted, with its
// quotes and the backslashes before them escaped.
std::wstring quoted(const std::wstring& arg)
{
    std::wstring out = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        out.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(2 * backslashes, L'\\');
    return out + L"\"";
}

HANDLE handleOf(std::intptr_t process)
{
    return reinterpret_cast<HANDLE>(process);
}

} // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& args, const std::string& output)
{
    std::wstring commandLine;
    for (const auto& a : args)
        commandLine +=
            (commandLine.empty() ? L"" : L" ") + quoted(platform::pathFromUtf8(a).wstring());
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE nul =
        output.empty()
            ? CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                          OPEN_EXISTING, 0, nullptr)
            : CreateFileW(platform::pathFromUtf8(output).c_str(), GENERIC_WRITE,
                          FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, CREATE_ALWAYS, 0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = nul;
    startup.hStdError = nul;
    PROCESS_INFORMATION process{};
    m_started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                               nullptr, &startup, &process) != 0;
    if (nul != INVALID_HANDLE_VALUE)
        CloseHandle(nul);
    if (m_started) {
        CloseHandle(process.hThread);
        m_process = reinterpret_cast<std::intptr_t>(process.hProcess);
    }
}

ChildProcess::~ChildProcess()
{
    if (m_started && !m_waited) {
        kill();
        wait();
    }
    if (m_started)
        CloseHandle(handleOf(m_process));
}

void ChildProcess::kill()
{
    if (m_started && !m_waited)
        // The exit status SIGKILL gives on POSIX, so tests read both alike.
        TerminateProcess(handleOf(m_process), static_cast<UINT>(-9));
}

namespace
{
// NtSuspendProcess and NtResumeProcess: ntdll's, with no import library.
using ProcessCall = LONG(NTAPI*)(HANDLE);
ProcessCall ntdll(const char* name)
{
    return reinterpret_cast<ProcessCall>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), name)));
}
} // namespace

bool ChildProcess::pause()
{
    if (!m_started || m_waited || WaitForSingleObject(handleOf(m_process), 0) == WAIT_OBJECT_0)
        return false;
    const ProcessCall suspend = ntdll("NtSuspendProcess");
    return suspend && suspend(handleOf(m_process)) >= 0;
}

void ChildProcess::resume()
{
    if (const ProcessCall go = ntdll("NtResumeProcess"); m_started && !m_waited && go)
        go(handleOf(m_process));
}

bool ChildProcess::running()
{
    return m_started && !m_waited && WaitForSingleObject(handleOf(m_process), 0) != WAIT_OBJECT_0;
}

int ChildProcess::wait()
{
    if (!m_started || m_waited)
        return m_status;
    WaitForSingleObject(handleOf(m_process), INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(handleOf(m_process), &code);
    m_waited = true;
    m_status = static_cast<int>(code);
    return m_status;
}

std::string builtProgram(const std::string& name)
{
    // The build's directory is a POSIX path, which Wine's drive Z: maps.
    const std::string dir = HALVANE_PROGRAM_DIR;
    return (dir.starts_with("/") ? "Z:" : "") + dir + "/" + name + ".exe";
}

} // namespace halvane::test
