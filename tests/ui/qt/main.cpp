// The tests of the Qt backend run inside one QApplication with the backend
// in place, as the program does; without a display they use Qt's offscreen
// platform.
#include "ui/qt/QtBackend.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char* argv[])
{
    ::testing::InitGoogleTest(&argc, argv);
    // A death test starts this program anew rather than forking a process
    // that holds a window-system connection.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    halvane::ui::qt::QtBackend backend(app);
    return RUN_ALL_TESTS();
}
