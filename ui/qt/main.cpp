// qrx2: the windowed program on Qt. Start-up is Module1's Main, with the
// options of the command line that Qt left (it takes its own, such as
// -platform); the program then runs as long as any of its windows is open.
// The folder of "C:\" is made first when it is missing, so a user can see
// where the table goes.
#include "system/Platform.h"
#include "ui/forms/Module1.h"
#include "ui/forms/WindowServices.h"
#include "ui/qt/QtBackend.h"
#include "ui/qt/TableDrive.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    halvane::ui::qt::makeTableDrive();
    QApplication app(argc, argv);
    halvane::ui::qt::QtBackend backend(app);
    const auto options =
        halvane::ui::StartOptions::parse(halvane::platform::commandArguments(argc, argv));
    halvane::ui::handleEvent([&] { halvane::ui::Module1::Main(options); });
    return halvane::ui::runEventLoop();
}
