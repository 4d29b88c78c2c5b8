#include "SingleInstance.h"

#include "app/DMEnvironment.h"
#include "app/FMMain.h"
#include "app/FMMessenger.h"
#include "app/FMStart.h"
#include "app/Product.h"
#include "app/TermSignal.h"
#include "ZnLibs/ZnPrintSettings.h"
#include "comm/DMTran.h"
#include "comm/TranAmp.h"
#include "defdb/DMInterface.h"
#include "defdb/DMMain.h"
#include "app/FMOpeners.h"

#include <QApplication>

namespace {

// A later start asked us to come forward: raise the main window (restored
// when minimised) and whatever modal window it has open.
void ComeForward(TFMMain &main)
{
    if (main.windowState() & Qt::WindowMinimized)
        main.setWindowState((main.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    main.raise();
    main.activateWindow();
    if (QWidget *modal = QApplication::activeModalWidget()) {
        modal->raise();
        modal->activateWindow();
    }
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    // The splash must not keep the program alive once the main window closed.
    app.setQuitOnLastWindowClosed(true);

    TSingleInstance instance(TSingleInstance::MutexName(Product::Version()));
    if (!instance.Claim())
        return 0;

    TFMMessenger messenger;
    TMessenger::SetInstance(&messenger);

    // First module in, last one out: reads the settings, installs the
    // language file, and writes the settings back when main returns.
    TDMEnvironment environment;
    // The reports' printer settings lie beside the settings file.
    TZnPrintSettings::SetStoreFile(environment.PrinterSettingsPath());
    // Before the splash: it shows the hourglass while it is up.
    TFMMain::InstallCursorBackend();
    TFMStart splash(QCoreApplication::applicationDirPath());
    splash.setAttribute(Qt::WA_QuitOnClose, false);
    splash.show();
    splash.repaint();
    QCoreApplication::processEvents();

    TDMInterface loader(TDMInterface::BasePath(QCoreApplication::applicationDirPath(), environment.DatabaseName));
    TDMMain mainTables(loader);
    TDMTran tran(environment);
    TFMMain main(environment, loader, mainTables, tran);
    TTranAmp engine;
    tran.SetEngine(&engine);
    main.SetEngine(&engine);
    QObject::connect(&instance, &TSingleInstance::ComeForward, &main, [&main] { ComeForward(main); });
    // The session ending (SIGTERM) closes the windows as the user would.
    TTermSignal term([] { QApplication::closeAllWindows(); });

    // Every action's window; the windows share the main window's context.
    TFMOpeners::Register(main, main.Context());

    splash.StartTimer(2000);
    main.show();
    const int code = app.exec();
    TMessenger::SetInstance(nullptr);
    return code;
}
