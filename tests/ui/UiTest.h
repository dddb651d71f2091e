// The frame of every window test: message boxes recorded, the end of the
// process turned into test::ProcessEnded, a Wine-style C: drive of its own
// (WINEPREFIX), and no window, setting or current directory left behind.
#pragma once

#include "tests/support/FixedProgramDirectory.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/TableBuilder.h"
#include "tests/support/TempDir.h"
#include "ui/WindowServices.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace halvane::test
{

// Lets deferred deletions and queued calls happen, as the event loop would
// between two events.
inline void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The shown top-level windows of class T.
template <class T> std::vector<T*> shownWindows()
{
    std::vector<T*> found;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* t = dynamic_cast<T*>(w); t && t->isVisible())
            found.push_back(t);
    return found;
}

// The child widget named `name` of `window`; fails the test when there is none.
template <class W = QWidget> W* control(QWidget& window, const char* name)
{
    auto* w = window.findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << "no control " << name;
    return w;
}

// Runs the event loop with `steps` run one after another, each some time
// after the previous one has returned; a step may record what it sees.
// Returns the loop's exit status, or -1 when it was still running five
// seconds later.
inline int runEventLoopWith(std::vector<std::function<void()>> steps)
{
    // Timers owned here, so none fires after the loop has ended.
    std::size_t next = 0;
    QTimer stepper;
    stepper.setInterval(50);
    QObject::connect(&stepper, &QTimer::timeout, [&] {
        if (next < steps.size())
            steps[next++]();
    });
    stepper.start();
    bool timedOut = false;
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        timedOut = true;
        QCoreApplication::exit(99);
    });
    watchdog.start(5000);
    const int status = ui::runEventLoop();
    return timedOut ? -1 : status;
}

class UiTest : public ::testing::Test
{
protected:
    UiTest() : m_savedCwd(std::filesystem::current_path())
    {
        if (const char* prefix = std::getenv("WINEPREFIX"))
            m_savedWinePrefix = prefix;
        std::filesystem::create_directory(m_prefix / "drive_c");
        ::setenv("WINEPREFIX", m_prefix.path().c_str(), 1);
    }

    ~UiTest() override
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            delete w;
        settle();
        m_programDirectory.reset();
        std::filesystem::current_path(m_savedCwd);
        if (m_savedWinePrefix)
            ::setenv("WINEPREFIX", m_savedWinePrefix->c_str(), 1);
        else
            ::unsetenv("WINEPREFIX");
    }

    // The table the main window's data control opens: Shamsi.dbf in C:\.
    std::filesystem::path tableFile() const { return m_prefix / "drive_c" / "Shamsi.dbf"; }
    void writeTable(const TableBuilder& table) { writeFile(tableFile(), table.bytes()); }

    // Makes a prepared directory the program's directory, holding those of
    // the delivered files (DATES.TXT, wait.BMP, success.BMP) that are named.
    void useProgramDirectoryWith(std::initializer_list<std::string_view> files)
    {
        for (auto name : files)
            std::filesystem::copy_file(std::filesystem::path(HALVANE_PROGRAM_DIR) / name,
                                       m_programDir / name);
        usePreparedProgramDirectory();
    }
    const std::filesystem::path& programDir() const { return m_programDir.path(); }
    // Makes the prepared directory the program's directory, as it stands.
    void usePreparedProgramDirectory() { m_programDirectory.emplace(m_programDir.path()); }

    RecordingHost host;

private:
    TempDir m_prefix;
    TempDir m_programDir;
    std::optional<FixedProgramDirectory> m_programDirectory;
    std::filesystem::path m_savedCwd;
    std::optional<std::string> m_savedWinePrefix;
};

} // namespace halvane::test
