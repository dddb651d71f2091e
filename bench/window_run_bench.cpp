// The main window's "Run" over a copy of a table, as the program started
// without switches (the date table) and as qrx2 --exact (the Persian
// calendar), side by side in one process: the handlers of ui/forms on a
// window system that shows nothing, the table in a C: drive of its own.
//
// Usage: window-run-bench TABLE [REPS]   (REPS default 5; medians reported)
#include "system/Host.h"
#include "system/Service.h"
#include "ui/forms/Module1.h"
#include "ui/forms/WindowServices.h"
#include "ui/forms/WindowSystem.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

using namespace halvane;

namespace
{

class NoWindow final : public ui::NativeWindow
{
public:
    void show() override {}
    void bringToFront() override {}
    void activate() override {}
    void repaint() override {}
    void setEnabled(std::size_t, bool) override {}
    void setVisible(std::size_t, bool) override {}
    void setFocus(std::size_t) override {}
    std::optional<std::size_t> focusedControl() const override { return std::nullopt; }
    bool setPicture(std::size_t, std::string_view, std::string&) override { return true; }
};

// Windows that are never drawn; a click goes straight to the handler.
class HeadlessWindows final : public ui::WindowSystem
{
public:
    std::unique_ptr<ui::NativeWindow> createWindow(const ui::WindowDesign& design,
                                                   ui::WindowEvents& events) override
    {
        m_windows[std::string(design.name)] = {&design, &events};
        return std::make_unique<NoWindow>();
    }
    int runEventLoop() override { return 0; }
    void quitEventLoop(int) override {}
    void later(std::function<void()> task) override { m_later.push_back(std::move(task)); }

    // A click, then what the event loop would run before the next event.
    void click(const std::string& window, std::string_view control)
    {
        const auto& [design, events] = m_windows.at(window);
        ui::handleEvent(
            [&] { events->controlEvent(design->indexOf(control), ui::ControlEvent::Click); });
        while (!m_later.empty()) {
            auto task = std::move(m_later.front());
            m_later.erase(m_later.begin());
            task();
        }
    }

private:
    std::vector<std::function<void()>> m_later;
    std::map<std::string, std::pair<const ui::WindowDesign*, ui::WindowEvents*>> m_windows;
};

// Counts the boxes; a box would stop a real run, so the table should give none.
class CountingHost final : public Host
{
public:
    void messageBox(std::string_view, std::string_view) override { ++boxes; }
    [[noreturn]] void endProcess() override
    {
        std::fprintf(stderr, "window-run-bench: the run ended the process\n");
        std::exit(1);
    }
    int boxes = 0;
};

double runOnce(HeadlessWindows& windows, const std::filesystem::path& table,
               const std::filesystem::path& drive, bool exact)
{
    std::filesystem::copy_file(table, drive / "Shamsi.dbf",
                               std::filesystem::copy_options::overwrite_existing);
    ui::handleEvent([&] { ui::Module1::Main({.exact = exact}); });
    windows.click("frmSplash", "cmdOK");
    const auto t0 = std::chrono::steady_clock::now();
    windows.click("frmRun", "cmdRun");
    const auto t1 = std::chrono::steady_clock::now();
    ui::unloadAll();
    return std::chrono::duration<double>(t1 - t0).count();
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: window-run-bench TABLE [REPS]\n");
        return 2;
    }
    const std::filesystem::path table = std::filesystem::absolute(argv[1]);
    const int reps = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
#ifdef _WIN32
    // The data control's C:\ is drive C: itself (a Wine prefix's, under Wine).
    const std::filesystem::path drive = "C:\\";
#else
    // The data control's C:\ is $WINEPREFIX/drive_c.
    const std::filesystem::path prefix = table.parent_path() / "window-run-bench";
    const std::filesystem::path drive = prefix / "drive_c";
    std::filesystem::create_directories(drive);
    setenv("WINEPREFIX", prefix.c_str(), 1);
#endif

    CountingHost host;
    ReplaceService<Host> hostScope(host);
    HeadlessWindows windows;
    ReplaceService<ui::WindowSystem> windowScope(windows);
    std::vector<double> byTable, exact;
    for (int i = 0; i < reps; ++i) { // alternating, so both meet the same disk and caches
        byTable.push_back(runOnce(windows, table, drive, false));
        exact.push_back(runOnce(windows, table, drive, true));
    }
#ifdef _WIN32
    std::filesystem::remove(drive / "Shamsi.dbf");
#else
    std::filesystem::remove_all(prefix);
#endif
    const double t = median(byTable), e = median(exact);
    std::printf("%-28s %9s %9s %7s %6s\n", "main window Run", "table s", "exact s", "x table",
                "boxes");
    std::printf("%-28s %9.3f %9.3f %7.2f %6d\n", table.filename().string().c_str(), t, e, e / t,
                host.boxes);
    return 0;
}
