#include "SingleInstance.h"

#include "app/DMEnvironment.h"
#include "app/FMMain.h"
#include "app/FMMessenger.h"
#include "app/FMStart.h"
#include "app/Product.h"
#include "app/TermSignal.h"
#include "comm/DMTran.h"
#include "comm/TranAmp.h"
#include "defdb/DMInterface.h"
#include "defdb/DMMain.h"
#include "params/FMLoadSave.h"
#include "params/FMUserParameter.h"
#include "params/ParamContext.h"

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

    // The windows of the later subsystems register their actions here:
    //     main.SetOpener(main.actParamGeneralSet, [](TFMMain &owner) { ... });

    // The parameter windows share the program's modules and ask the main
    // window about the line.
    TParamContext params{environment, loader, mainTables, tran,
                         [&main] { return main.FirstAxisInUse(); },
                         [&main] { return main.Online(); },
                         [&main] { main.actCommAxesCheck->trigger(); }};
    main.SetOpener(main.actParamGeneralSet, [&params](TFMMain &owner) { TFMUserParameter::Execute(params, &owner); });
    main.SetOpener(main.actParamSave, [&params](TFMMain &owner) {
        TFMLoadSave::Execute(TFMLoadSave::TDirection::AmpToFile, 1, params, &owner);
    });
    main.SetOpener(main.actParamLoad, [&params](TFMMain &owner) {
        TFMLoadSave::Execute(TFMLoadSave::TDirection::FileToAmp, 1, params, &owner);
    });

    splash.StartTimer(2000);
    main.show();
    const int code = app.exec();
    TMessenger::SetInstance(nullptr);
    return code;
}
