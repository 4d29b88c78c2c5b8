#include "app/cli/CliSession.h"

#include "app/cli/Cli.h"
#include "app/cli/CliCommand.h"

#include <cstring>

TCliSession::TCliSession(QTextStream &err, bool yes, bool stats) : messenger(err, yes), progress(err), err(err), stats(stats)
{
}

TCliSession::~TCliSession()
{
    if (stats)
        TCli::PrintStats(err, amp);
    ctx.reset();
    tran.reset();
    amp.SetRts(false);
    amp.ClosePort();
}

int TCliSession::Failed() const
{
    return amp.lastFailure != trOk ? int(amp.lastFailure) : int(trCommError);
}

int TCliRun::Usage(const QString &problem)
{
    err << "tuvanta-cli: " << problem << " (see --help)\n";
    err.flush();
    return TCli::ExitUsage;
}

bool TCliRun::ParseAxis(const QString &text, int &axis)
{
    bool ok = false;
    axis = text.toInt(&ok, 16);
    return ok && text.size() == 1 && axis >= 1 && axis <= 15;
}

std::unique_ptr<TCliSession> TCliRun::Open(int axis, int &status, bool requireKnownModel)
{
    auto s = std::make_unique<TCliSession>(err, yes, stats);
    s->axis = axis;
    if (!OpenDefinitions(*s, status))
        return nullptr;
    if (!device.isEmpty())
        s->amp.SetDevicePath(device);
    s->amp.OpenPort(baud, uint8_t(port));
    if (!s->amp.PortOpen()) {
        TCli::SayOpenFailure(err, s->amp);
        status = TCli::ExitNoPort;
        return nullptr;
    }
    s->amp.SetRts(true);
    MakeModules(*s);
    TCliSession *raw = s.get();
    s->ctx = std::make_unique<TAppContext>(TAppContext{*s->env, *s->intf, *s->dmMain, *s->tran,
                                                       nullptr,
                                                       [raw] { return raw->amp.PortOpen() && raw->amp.CtsOn(); },
                                                       nullptr, nullptr});

    int32_t code = 0;
    const TTranResult identified = s->amp.CmdH0(axis, code);
    if (identified != trOk) {
        const QString where = QStringLiteral(" (axis #%1)").arg(QString::number(axis, 16).toUpper());
        switch (identified) {
        case trNak: err << "tuvanta-cli: NAK: the axis number is duplicated" << where << "\n"; break;
        case trTimeout: err << "tuvanta-cli: communication time-out" << where << "\n"; break;
        default: err << "tuvanta-cli: communication error" << where << "\n"; break;
        }
        err.flush();
        status = int(identified);
        return nullptr;
    }
    if (requireKnownModel && !s->dmMain->IsKnownCode(code)) {
        err << "tuvanta-cli: the amplifier code "
            << QStringLiteral("%1").arg(uint32_t(code), 6, 16, QLatin1Char('0')).toUpper()
            << " of axis #" << QString::number(axis, 16).toUpper() << " is not in the definition database\n";
        err.flush();
        status = TCli::ExitRefused;
        return nullptr;
    }
    s->env->SetAmpCode(axis, code);
    status = TCli::ExitOk;
    return s;
}

bool TCliRun::OpenDefinitions(TCliSession &s, int &status)
{
    s.intf = std::make_unique<TDMInterface>(TCli::DatabasePath(db), TStgManager::TAccess::Shared);
    if (s.intf->DatabaseBroken()) {
        err << "tuvanta-cli: definition database: " << s.intf->BrokenReason() << "\n";
        err.flush();
        status = TCli::ExitNoDatabase;
        return false;
    }
    return true;
}

void TCliRun::MakeModules(TCliSession &s)
{
    s.env = std::make_unique<TDMEnvironment>(s.settingsDir.filePath(QStringLiteral("tuvanta-cli.ini")));
    s.env->Japanese = false;
    s.dmMain = std::make_unique<TDMMain>(*s.intf);
    s.dmMain->LoadMainTables();
    s.tran = std::make_unique<TDMTran>(*s.env, &s.amp);
}

std::unique_ptr<TCliSession> TCliRun::OpenDatabase(int &status)
{
    auto s = std::make_unique<TCliSession>(err, yes, false);
    if (!OpenDefinitions(*s, status))
        return nullptr;
    MakeModules(*s);
    s->ctx = std::make_unique<TAppContext>(
        TAppContext{*s->env, *s->intf, *s->dmMain, *s->tran, nullptr, [] { return false; }, nullptr, nullptr});
    status = TCli::ExitOk;
    return s;
}
