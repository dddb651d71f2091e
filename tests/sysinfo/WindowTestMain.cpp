// The test program of this area: the window tests need one application
// object with the program's window services; the launcher tests run beside
// them.
#include "WindowServices.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    halvane::ui::installWindowServices(app);
    return RUN_ALL_TESTS();
}
