// The window tests run inside one QApplication with the window services
// installed, as the program does; without a display they use Qt's offscreen
// platform.
#include "ui/WindowServices.h"

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
    halvane::ui::installWindowServices(app);
    return RUN_ALL_TESTS();
}
