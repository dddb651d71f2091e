// qrx2: the windowed program on Qt. Start-up is Module1's Main; the program
// then runs as long as any of its windows is open.
#include "ui/forms/Module1.h"
#include "ui/forms/WindowServices.h"
#include "ui/qt/QtBackend.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    halvane::ui::qt::QtBackend backend(app);
    halvane::ui::handleEvent(halvane::ui::Module1::Main);
    return halvane::ui::runEventLoop();
}
