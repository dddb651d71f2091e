// The frame of every test of the Qt backend: the backend in place (main.cpp),
// message boxes recorded, the end of the process turned into
// test::ProcessEnded, the program's scene (its own C: drive and program
// directory), and no window left behind.
#pragma once

#include "tests/support/ProgramScene.h"
#include "tests/support/RecordingHost.h"
#include "ui/forms/Form.h"
#include "ui/forms/WindowServices.h"
#include "ui/qt/QtWindow.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <string>
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

// The top-level widget of `window`; null when it is not loaded.
inline QWidget* widgetOf(const ui::Form* window)
{
    return window ? ui::qt::widgetOf(window->native()) : nullptr;
}

// The widget of the open window of class T; fails the test when none is open.
template <class T> QWidget& widgetOf()
{
    QWidget* w = widgetOf(ui::Find<T>());
    EXPECT_NE(w, nullptr) << "no window open";
    static QWidget none;
    return w ? *w : none;
}

// The child widget named `name` of `window`; fails the test when there is none.
template <class W = QWidget> W* control(QWidget& window, const char* name)
{
    auto* w = window.findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << "no control " << name;
    return w;
}

// The shown top-level widgets named `name` (windows are named after their class).
inline int shownCount(const char* name)
{
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        n += w->isVisible() && w->objectName() == QLatin1String(name);
    return n;
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

class QtTest : public ::testing::Test, public ProgramScene
{
protected:
    ~QtTest() override
    {
        ui::unloadAll();
        settle();
    }

    RecordingHost host;
};

} // namespace halvane::test
