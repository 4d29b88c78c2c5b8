#pragma once

#include "app/AppContext.h"
#include "app/DMEnvironment.h"
#include "app/cli/CliSupport.h"
#include "comm/DMTran.h"
#include "defdb/DMInterface.h"
#include "defdb/DMMain.h"

#include <QTemporaryDir>

#include <memory>

// The modules of one tuvanta-cli run on an open line (see TCliRun::Open).
// Closing it releases nothing on the amplifier (the commands do what they
// must) but drops RTS and closes the port; with --stats the engine's counts
// go to the error output first.
class TCliSession
{
public:
    TCliSession(QTextStream &err, bool yes, bool stats);
    ~TCliSession();
    TCliSession(const TCliSession &) = delete;
    TCliSession &operator=(const TCliSession &) = delete;

    // The exit status for the last failed exchange (1, 2 or 3).
    int Failed() const;

    int axis = 0;
    TRecordingAmp amp;
    std::unique_ptr<TDMInterface> intf;
    QTemporaryDir settingsDir;
    std::unique_ptr<TDMEnvironment> env;
    TCliMessenger messenger;
    std::unique_ptr<TDMMain> dmMain;
    std::unique_ptr<TDMTran> tran;
    std::unique_ptr<TAppContext> ctx;
    TCliProgress progress;

private:
    QTextStream &err;
    bool stats;
};
