// qrx2: the windowed program. Start-up is Module1's Main; the program then
// runs as long as any of its windows is open.
#include "ui/Module1.h"
#include "ui/WindowServices.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    halvane::ui::installWindowServices(app);
    halvane::ui::handleEvent(halvane::ui::Module1::Main);
    return halvane::ui::runEventLoop();
}
