// A window system for tests, without any toolkit: it makes no windows on a
// screen, but records what the window services and handlers ask of each
// window (shown, repainted, brought to the front, activated, destroyed; each
// control's visibility, state, focus and picture), and lets a test act as the
// user: click a control, close a window, activate one, run the event loop
// through scripted steps. In place for the life of the object; every window
// left is unloaded when it goes.
#pragma once

#include "system/Service.h"
#include "ui/forms/KeyboardRules.h"
#include "ui/forms/WindowServices.h"
#include "ui/forms/WindowSystem.h"

#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace halvane::test
{

// What one window made by the test window system holds.
struct WindowRecord {
    struct ControlState {
        bool visible;
        bool enabled;
        // The bytes of the picture shown from a file; none: the design's.
        std::optional<std::string> picture;
    };

    const ui::WindowDesign* design;
    ui::WindowEvents* events; // null once destroyed
    bool shown = false;
    int repaints = 0;
    std::vector<ControlState> controls;
    std::optional<std::size_t> focus; // the control last given the focus

    bool open() const { return events && shown; }
    std::size_t indexOf(std::string_view name, int index = ui::kNoIndex) const
    {
        return design->indexOf(name, index);
    }
    const ControlState& control(std::string_view name, int index = ui::kNoIndex) const
    {
        return controls.at(indexOf(name, index));
    }
    // Shown as the window shows it: the control and every container around it.
    bool showing(std::string_view name) const
    {
        for (std::size_t i = indexOf(name); open(); i = indexOf(design->controls[i].parent)) {
            if (!controls[i].visible)
                return false;
            if (design->controls[i].parent.empty())
                return true;
        }
        return false;
    }
};

class RecordingWindowSystem final : public ui::WindowSystem
{
public:
    RecordingWindowSystem() = default;
    ~RecordingWindowSystem() override { ui::unloadAll(); }
    RecordingWindowSystem(const RecordingWindowSystem&) = delete;
    RecordingWindowSystem& operator=(const RecordingWindowSystem&) = delete;

    std::unique_ptr<ui::NativeWindow> createWindow(const ui::WindowDesign& design,
                                                   ui::WindowEvents& events) override
    {
        auto record = std::make_unique<WindowRecord>();
        record->design = &design;
        record->events = &events;
        for (const ui::ControlDesign& control : design.controls)
            record->controls.push_back({control.visible, control.enabled, std::nullopt});
        m_records.push_back(std::move(record));
        note("create", design);
        return std::make_unique<Window>(*this, *m_records.back());
    }

    // Runs the scripted `steps`, one after another, each after the calls
    // queued by the one before; returns the status given to quitEventLoop,
    // or -1 when the steps ran out first.
    int runEventLoop() override
    {
        m_running = true;
        m_quit.reset();
        runLater();
        for (std::size_t i = 0; i < steps.size() && !m_quit; ++i) {
            steps[i]();
            runLater();
        }
        steps.clear();
        m_running = false;
        return m_quit.value_or(-1);
    }
    void quitEventLoop(int status) override
    {
        if (m_running && !m_quit)
            m_quit = status;
    }
    void later(std::function<void()> task) override { m_later.push_back(std::move(task)); }
    // The status the running event loop was told to end with, if it was.
    std::optional<int> quitStatus() const { return m_quit; }

    // Runs the calls queued with later(), as the event loop would between two
    // events.
    void runLater()
    {
        while (!m_later.empty()) {
            auto task = std::move(m_later.front());
            m_later.pop_front();
            task();
        }
    }

    // The last window made of the window class `name`; fails the test when
    // there is none.
    WindowRecord& window(std::string_view name)
    {
        for (auto it = m_records.rbegin(); it != m_records.rend(); ++it)
            if ((*it)->design->name == name)
                return **it;
        ADD_FAILURE() << "no window " << name << " was made";
        static WindowRecord none{};
        return none;
    }
    // How many windows of the class `name` are open.
    int openCount(std::string_view name) const
    {
        int n = 0;
        for (const auto& record : m_records)
            n += record->design->name == name && record->open();
        return n;
    }

    // The user clicks the control `name` of the open window `window`, as a
    // backend reports it: only a push button or click area that is shown and
    // enabled takes the click. False when it did not.
    bool click(std::string_view window, std::string_view name)
    {
        WindowRecord& record = this->window(window);
        const std::size_t i = record.indexOf(name);
        const auto kind = record.design->controls[i].kind;
        if (!record.showing(name) || !record.controls[i].enabled ||
            (kind != ui::ControlKind::PushButton && kind != ui::ControlKind::ClickArea))
            return false;
        record.events->controlEvent(i, ui::ControlEvent::Click);
        return true;
    }
    // The user presses Enter in the open window `window`, as a backend
    // reports it.
    void pressEnter(std::string_view window)
    {
        WindowRecord& record = this->window(window);
        ASSERT_TRUE(record.open()) << window;
        record.events->enterPressed();
    }
    // The user presses the close button of the title bar (or Alt+F4).
    void close(std::string_view window)
    {
        WindowRecord& record = this->window(window);
        ASSERT_TRUE(record.open()) << window;
        record.events->closeRequested();
    }
    // The user makes `window` the active window.
    void activate(std::string_view window)
    {
        WindowRecord& record = this->window(window);
        ASSERT_TRUE(record.open()) << window;
        active = std::string(window);
        record.events->activated();
    }

    // What the windows were asked to do, in order: "create frmRun", "show
    // frmRun", "front frmRun", "activate frmRun", "repaint frmRun", "destroy
    // frmRun"; tests may add lines of their own.
    std::vector<std::string> log;
    // The window made active last by the window services or the user; empty
    // when the active window went (no window manager gives the activation
    // back by itself here).
    std::string active;
    std::vector<std::function<void()>> steps;

private:
    class Window final : public ui::NativeWindow
    {
    public:
        Window(RecordingWindowSystem& system, WindowRecord& record)
            : m_system(system), m_record(record)
        {
        }
        ~Window() override
        {
            m_record.events = nullptr;
            m_record.shown = false;
            if (m_system.active == m_record.design->name)
                m_system.active.clear();
            m_system.note("destroy", *m_record.design);
        }
        void show() override
        {
            m_record.shown = true;
            makeActive("show");
        }
        void bringToFront() override { makeActive("front"); }
        void activate() override { makeActive("activate"); }
        void repaint() override
        {
            ++m_record.repaints;
            m_system.note("repaint", *m_record.design);
        }
        void setEnabled(std::size_t control, bool enabled) override
        {
            m_record.controls.at(control).enabled = enabled;
        }
        void setVisible(std::size_t control, bool visible) override
        {
            m_record.controls.at(control).visible = visible;
        }
        void setFocus(std::size_t control) override { m_record.focus = control; }
        // The control last given the focus, or the design's first one; like
        // a native window, the focus does not stay on a control taken away.
        std::optional<std::size_t> focusedControl() const override
        {
            ui::KeyboardRules states(*m_record.design);
            for (std::size_t i = 0; i < m_record.controls.size(); ++i) {
                states.setVisible(i, m_record.controls[i].visible);
                states.setEnabled(i, m_record.controls[i].enabled);
            }
            if (m_record.focus && states.takesFocus(*m_record.focus))
                return m_record.focus;
            return states.firstFocus();
        }
        // Reads a picture file the way the test pictures are written: a
        // bitmap begins with "BM".
        bool setPicture(std::size_t control, std::string_view bytes, std::string& why) override
        {
            if (!bytes.starts_with("BM")) {
                why = "not a bitmap";
                return false;
            }
            m_record.controls.at(control).picture = std::string(bytes);
            return true;
        }

    private:
        void makeActive(const char* what)
        {
            m_system.active = std::string(m_record.design->name);
            m_system.note(what, *m_record.design);
        }

        RecordingWindowSystem& m_system;
        WindowRecord& m_record;
    };

    void note(const char* what, const ui::WindowDesign& design)
    {
        log.push_back(std::string(what) + " " + std::string(design.name));
    }

    std::vector<std::unique_ptr<WindowRecord>> m_records;
    std::deque<std::function<void()>> m_later;
    bool m_running = false;
    std::optional<int> m_quit;
    ReplaceService<ui::WindowSystem> m_scope{*this};
};

} // namespace halvane::test
