#include "defdb/DMMain.h"

#include "app/Messenger.h"
#include "defdb/Buffer.h"
#include "defdb/DMInterface.h"
#include "params/ParameterFile.h"

#include <QCoreApplication>

#include <QLocale>
#include <clocale>

TDMMain::TDMMain(TDMInterface &interface) : intf(interface)
{
    // Numbers read "1,234.5" on every machine: the C formatting routines and
    // Qt's default locale both use "." and ",".
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(QLocale::c());

    const QStringList lookups = {QStringLiteral("CODE"), QStringLiteral("LENGTH"), QStringLiteral("DATAFORM")};
    cdsAmp_Para.AddLookupFields(lookups, QStringLiteral("PARAMETER_ID"), &cdsParam_Para, QStringLiteral("ID"));
    cdsAmp_Moni.AddLookupFields(lookups, QStringLiteral("PARAMETER_ID"), &cdsParam_Moni, QStringLiteral("ID"));
    cdsAmplifier.SetIndexName(QStringLiteral("INDEX_CODE"));
    cdsAmp_Para.SetIndexName(QStringLiteral("INDEX_ID_ADDRESS"));
    cdsAmp_Moni.SetIndexName(QStringLiteral("INDEX_ID_ADDRESS"));
}

TDMMain::~TDMMain()
{
    CloseMainTables();
}

bool TDMMain::LoadMainTables()
{
    CloseMainTables();
    bool ok = intf.LoadTable(cdsParam_Para, QStringLiteral("1_PARAMETER.cds"));
    ok = intf.LoadTable(cdsAmp_Para, QStringLiteral("1_AMP_PARA.cds")) && ok;
    ok = intf.LoadTable(cdsParam_Moni, QStringLiteral("2_PARAMETER.cds")) && ok;
    ok = intf.LoadTable(cdsAmp_Moni, QStringLiteral("2_AMP_PARA.cds")) && ok;
    ok = intf.LoadTable(cdsAmplifier, QStringLiteral("0_AMPLIFIER.cds")) && ok;
    return ok;
}

void TDMMain::CloseMainTables()
{
    cdsAmplifier.Close();
    cdsParam_Para.Close();
    cdsAmp_Para.Close();
    cdsParam_Moni.Close();
    cdsAmp_Moni.Close();
    cdsVersion.Close();
}

int TDMMain::ModelKey(int code)
{
    // The lookup must not depend on what a caller filtered before.
    cdsAmplifier.ClearFilter();
    if (!cdsAmplifier.Locate(QStringLiteral("CODE"), TValue(code)))
        return -1;
    return cdsAmplifier.Field(QStringLiteral("ID")).AsInteger();
}

bool TDMMain::IsKnownCode(int code)
{
    cdsAmplifier.ClearFilter();
    return cdsAmplifier.Locate(QStringLiteral("CODE"), TValue(code));
}

int TDMMain::ModelGroup(int code)
{
    cdsAmplifier.ClearFilter();
    if (!cdsAmplifier.Locate(QStringLiteral("CODE"), TValue(code)))
        return -1;
    const TValue &g = cdsAmplifier.Field(QStringLiteral("GROUP_ID"));
    return g.IsNull() ? -1 : g.AsInteger();
}

TAddressSpan TDMMain::Span(TDataSet &ampTable, int code)
{
    TAddressSpan span;
    const int key = ModelKey(code);
    ampTable.SetIndexName(QStringLiteral("INDEX_ID_ADDRESS"));
    ampTable.SetFilter(QStringLiteral("(AMPLIFIER_ID=%1)").arg(key));
    if (ampTable.IsEmpty())
        return span;
    ampTable.First();
    span.first = ampTable.Field(QStringLiteral("ADDRESS")).AsInteger();
    ampTable.Last();
    span.end = ampTable.Field(QStringLiteral("ADDRESS")).AsInteger() + ampTable.Field(QStringLiteral("LENGTH")).AsInteger();
    span.found = true;
    ampTable.First();
    return span;
}

TAddressSpan TDMMain::ParameterSpan(int code)
{
    return Span(cdsAmp_Para, code);
}

TAddressSpan TDMMain::MonitorSpan(int code)
{
    return Span(cdsAmp_Moni, code);
}

QString TDMMain::VersionText()
{
    if (!cdsVersion.Active() && !intf.LoadTable(cdsVersion, QStringLiteral("0_VERSION.cds")))
        return QString();
    cdsVersion.First();
    return cdsVersion.Field(QStringLiteral("TEXT")).AsString();
}

QString TDMMain::FileVersionText()
{
    return TParameterFile::VersionText(QStringLiteral(TUVANTA_VERSION), VersionText());
}

bool TDMMain::WriteParameterFile(const TBuffer &image, const QString &fileName)
{
    if (fileName.isEmpty())
        return true;
    QString error;
    if (TParameterFile::Save(image, fileName, FileVersionText(), &error))
        return true;
    TMessenger::Instance().Error(
        QCoreApplication::translate("TDMMain", "%1\r\nファイルに書き込めません。\r\n%2").arg(fileName, error));
    return false;
}

bool TDMMain::ReadParameterFile(TBuffer &image, const QString &fileName)
{
    image.ampCode = -1;
    image.words.clear();
    if (fileName.isEmpty())
        return true;
    QString error;
    switch (TParameterFile::Load(fileName, image, &error)) {
    case TParameterFile::TLoad::OpenError:
        TMessenger::Instance().Error(
            QCoreApplication::translate("TDMMain", "%1\r\nファイルを開けません。\r\n%2").arg(fileName, error));
        return false;
    case TParameterFile::TLoad::Corrupt:
        TMessenger::Instance().Warning(QCoreApplication::translate("TDMMain", "アンプファイルが壊れています。"));
        return false;
    case TParameterFile::TLoad::Ok:
        break;
    }
    // Words are whole from an even address, whatever the lowest row.
    const TAddressSpan span = ParameterSpan(image.ampCode);
    if (span.found)
        image.startAddress = span.first & ~1;
    return true;
}
