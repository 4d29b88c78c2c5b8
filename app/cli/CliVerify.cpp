// tuvanta-cli verify FILE.ap0 AXIS [--json]: the differences between an
// amplifier and a parameter file, through the verification's data module.
// Exit 0 without differences and 1 with some, so a script can check a line.
#include "app/cli/Cli.h"
#include "app/cli/CliCommand.h"
#include "app/cli/CliSession.h"
#include "params/DMVerify.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// A failed exchange: the engine's code, but a plain communication error
// (1 elsewhere) would read as "differences found".
constexpr int ExitVerifyCommError = 4;

int RunVerify(TCliRun &run)
{
    if (run.args.size() != 2)
        return run.Usage(QStringLiteral("verify takes FILE.ap0 AXIS"));
    const QString file = run.args[0];
    int axis = 0;
    if (!TCliRun::ParseAxis(run.args[1], axis))
        return run.Usage(QStringLiteral("the axis is one hex digit 1 to F"));
    if (!QFileInfo(file).isFile()) {
        run.err << "tuvanta-cli: " << file << ": no such parameter file\n";
        return TCli::ExitBadFile;
    }
    int status = 0;
    std::unique_ptr<TCliSession> s = run.Open(axis, status);
    if (!s)
        return status;

    TDMVerify dm(*s->intf, *s->dmMain, *s->env, *s->tran);
    dm.SetProgress(&s->progress);
    const bool ok = dm.Compare(axis, file);
    switch (dm.LastOutcome()) {
    case TDMVerify::TOutcome::Unreadable: return TCli::ExitBadFile;
    case TDMVerify::TOutcome::Refused:
    case TDMVerify::TOutcome::Declined: return TCli::ExitRefused;
    default: break;
    }
    if (!ok || !dm.Compared()) {
        const int failed = s->Failed();
        return failed == 1 ? ExitVerifyCommError : failed;
    }

    const int count = dm.DifferenceCount();
    auto address = [&](int i) { return QString::number(dm.AddressAt(i), 16).toUpper().rightJustified(5, u'0'); };
    auto text = [&](int i, TDMVerify::TSide side, TDMVerify::TColumn column) {
        return dm.CellText(i, side, column);
    };
    if (run.Has(QStringLiteral("json"))) {
        QJsonArray list;
        for (int i = 0; i < count; ++i) {
            QJsonObject o;
            o.insert(QStringLiteral("address"), address(i));
            o.insert(QStringLiteral("name"), text(i, TDMVerify::sdAmp, TDMVerify::colName));
            o.insert(QStringLiteral("amplifier"), text(i, TDMVerify::sdAmp, TDMVerify::colValue));
            o.insert(QStringLiteral("file"), text(i, TDMVerify::sdDisk, TDMVerify::colValue));
            const QString fileName = text(i, TDMVerify::sdDisk, TDMVerify::colName);
            if (fileName != o.value(QStringLiteral("name")).toString())
                o.insert(QStringLiteral("file_name"), fileName);
            list.append(o);
        }
        run.out << QString::fromUtf8(QJsonDocument(list).toJson(QJsonDocument::Indented));
    } else {
        for (int i = 0; i < count; ++i) {
            QString name = text(i, TDMVerify::sdAmp, TDMVerify::colName);
            const QString fileName = text(i, TDMVerify::sdDisk, TDMVerify::colName);
            if (fileName != name)
                name += QStringLiteral(" / ") + fileName;
            run.out << address(i) << '\t' << name << '\t' << text(i, TDMVerify::sdAmp, TDMVerify::colValue) << '\t'
                    << text(i, TDMVerify::sdDisk, TDMVerify::colValue) << '\n';
        }
        run.err << count << (count == 1 ? " difference" : " differences") << " between axis "
                << QString::number(axis, 16).toUpper() << " and " << QFileInfo(file).fileName() << "\n";
    }
    return count == 0 ? TCli::ExitOk : 1;
}

} // namespace

TCliCommand CliVerifyCommand()
{
    return {QStringLiteral("verify"),
            QStringLiteral("  verify FILE.ap0 AXIS [--json]  list where the axis differs from the file (address,\n"
                           "                                 name, amplifier value, file value); exit 0 when\n"
                           "                                 none, 1 when some, 4 on a communication error\n"),
            {{QStringLiteral("json"), false}},
            true,
            RunVerify};
}
