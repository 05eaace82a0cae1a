#include "appstate.h"
#include "miblibrary.h"
#include "program.h"
#include "programicon.h"
#include "qtservices.h"

#include <QApplication>

#include <memory>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setWindowIcon(korvel::programIcon());

    auto state = std::make_unique<korvel::AppState>();
    korvel::SharedMibLibrary library;
    korvel::QtServices services;
    services.useMibLibrary(library);
    korvel::registerProgramWindows(services, *state);

    korvel::Program program(*state, services);
    if (!program.start(korvel::defaultLockPath()))
        return 0;
    return QApplication::exec();
}
