#include "monitor/DMAlarm.h"

#include "app/AppContext.h"
#include "app/DMEnvironment.h"
#include "comm/DMTran.h"
#include "comm/ModelText.h"
#include "defdb/Buffer.h"
#include "defdb/DMInterface.h"
#include "defdb/DMMain.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>

#include <optional>

namespace {

constexpr int HistoryLevel = 600;
constexpr uint32_t TicksPerSecond = 250;
constexpr uint32_t HoursShown = 2000;

// The IDs of the rows the filter lets through, comma-separated.
QString IdList(TDataSet &table, const QString &filter)
{
    table.SetFilter(filter);
    QStringList ids;
    for (table.First(); !table.Eof(); table.Next())
        ids << QString::number(table.Field(QStringLiteral("ID")).AsInteger());
    table.ClearFilter();
    return ids.join(u',');
}

std::optional<uint32_t> Address(const TValue &v)
{
    if (v.IsNull())
        return std::nullopt;
    return uint32_t(v.AsInteger());
}

} // namespace

TDMAlarm::TDMAlarm(TAppContext &context) : ctx(context)
{
    cdsAmplifier.SetIndexName(QStringLiteral("INDEX_CODE"));
    cdsAmpPara.AddLookupField(QStringLiteral("LENGTH"), QStringLiteral("PARAMETER_ID"), &cdsParameter, QStringLiteral("ID"));
}

TDMAlarm::~TDMAlarm()
{
    CloseTables();
}

void TDMAlarm::OpenTables()
{
    CloseTables();
    ctx.intf.LoadTable(cdsAmplifier, QStringLiteral("0_AMPLIFIER.cds"));
    ctx.intf.LoadTable(cdsParameter, QStringLiteral("1_PARAMETER.cds"));
    ctx.intf.LoadTable(cdsAmpPara, QStringLiteral("1_AMP_PARA.cds"));
    ctx.intf.LoadTable(cdsType, QStringLiteral("1_TYPE.cds"));
    ctx.intf.LoadTable(cdsAlarm, QStringLiteral("3_ALARM.cds"));
    ctx.intf.LoadTable(cdsAlarmData, QStringLiteral("3_ALARM_DATA.cds"));
    ctx.intf.LoadTable(cdsStateData, QStringLiteral("3_STATE_DATA.cds"));
    ctx.intf.LoadTable(cdsModel, QStringLiteral("3_MODEL.cds"));
    cdsAmpPara.SetIndexName(QStringLiteral("INDEX_ID_ADDRESS"));

    const QString types = IdList(cdsType, QStringLiteral("LEVEL In (%1)").arg(HistoryLevel));
    historyIds = types.isEmpty() ? QString() : IdList(cdsParameter, QStringLiteral("TYPE_ID In (%1)").arg(types));
    cdsAmpPara.RefreshLookups();
}

void TDMAlarm::CloseTables()
{
    for (TDataSet *t : {&cdsAmplifier, &cdsAmpPara, &cdsParameter, &cdsType, &cdsAlarm, &cdsAlarmData, &cdsStateData,
                        &cdsModel})
        t->Close();
}

int TDMAlarm::ModelKey(int code)
{
    cdsAmplifier.ClearFilter();
    if (!cdsAmplifier.Active() || !cdsAmplifier.Locate(QStringLiteral("CODE"), TValue(code)))
        return -1;
    return cdsAmplifier.Field(QStringLiteral("ID")).AsInteger();
}

QString TDMAlarm::HistoryLabel(int k)
{
    return QStringLiteral("Last%1").arg(k + 1);
}

QStringList TDMAlarm::ColumnHeaders()
{
    return {QString(), QCoreApplication::translate("TDMAlarm", "アラーム内容\r\n(シンボル)"), QCoreApplication::translate("TDMAlarm", "アラーム内容\r\n(名称)"), QCoreApplication::translate("TDMAlarm", "アラーム発生時の\r\n状態")};
}

QString TDMAlarm::VersionCaption() { return QCoreApplication::translate("TDMAlarm", "サーボアンプのソフトウェアバージョン"); }
QString TDMAlarm::ElapsedCaption() { return QCoreApplication::translate("TDMAlarm", "発生からの経過時間"); }
QString TDMAlarm::NowCaption() { return QCoreApplication::translate("TDMAlarm", "現在の状態"); }
QString TDMAlarm::HistoryCaption() { return QCoreApplication::translate("TDMAlarm", "アラーム発生履歴"); }

QString TDMAlarm::ElapsedText(uint32_t ticks)
{
    if (ticks == 0)
        return QStringLiteral("-----");
    const uint32_t s = ticks / TicksPerSecond;
    const uint32_t h = s / 3600;
    if (h >= HoursShown)
        return QCoreApplication::translate("TDMAlarm", "2000時間以上 経過");
    return QCoreApplication::translate("TDMAlarm", "%1時間%2分%3秒 経過").arg(h).arg(s % 3600 / 60).arg(s % 3600 % 60);
}

TDMAlarm::TRow TDMAlarm::RowOf(uint16_t word, int alarmId, int stateId, const QString &unknown)
{
    TRow row;
    row.code = word & 0xFF;
    row.stateCode = word >> 12 & 0x0F;
    const QString nameField = ctx.env.Japanese ? QStringLiteral("NAME_J") : QStringLiteral("NAME_E");
    if (cdsAlarmData.Locate(QStringLiteral("ALARM_ID;VALUE"), {TValue(alarmId), TValue(row.code)})) {
        row.symbol = cdsAlarmData.Field(QStringLiteral("SYMBOL")).AsString();
        row.name = cdsAlarmData.Field(nameField).AsString();
    } else {
        row.symbol = row.name = unknown;
    }
    if (cdsStateData.Locate(QStringLiteral("STATE_ID;VALUE"), {TValue(stateId), TValue(row.stateCode)}))
        row.state = cdsStateData.Field(QStringLiteral("SYMBOL")).AsString();
    else
        row.state = unknown;
    return row;
}

void TDMAlarm::FillHistory(const std::array<uint16_t, RingSize> &ring, int pointer, int count, int alarmId,
                           int stateId, const QString &unknown)
{
    for (int k = 0; k < Shown; ++k) {
        const int index = RingIndex(pointer, k);
        history[size_t(k)] = index < count ? RowOf(ring[size_t(index)], alarmId, stateId, unknown) : TRow{};
    }
}

void TDMAlarm::Clear()
{
    now = TRow{};
    elapsed.clear();
    history.fill(TRow{});
    version.clear();
    ampModel.clear();
    motorModel.clear();
}

bool TDMAlarm::ReadAmp(int axis)
{
    if (axis < 1 || axis > 15)
        return false;
    const int key = ModelKey(ctx.env.AmpCode(axis));

    if (cdsModel.Locate(QStringLiteral("AMPLIFIER_ID"), TValue(key))) {
        if (const auto at = Address(cdsModel.Field(QStringLiteral("VERSION_ADDRESS")))) {
            TDMTran::TWords s{}, u{};
            if (!ctx.tran.ReadWords8(axis, *at, 4, s) || !ctx.tran.ReadWords4(axis, *at + 8, 2, u))
                return false;
            const uint16_t block[6] = {s[0], s[1], s[2], s[3], u[0], u[1]};
            version = ModelText::VersionText(block);
        }
    }

    if (!cdsAlarm.Locate(QStringLiteral("AMPLIFIER_ID"), TValue(key)))
        return true;
    const int alarmId = cdsAlarm.Field(QStringLiteral("ALARM_ID")).AsInteger();
    const int stateId = cdsAlarm.Field(QStringLiteral("STATE_ID")).AsInteger();
    const auto nowAt = Address(cdsAlarm.Field(QStringLiteral("NOW_ALARM_ADDRESS")));
    const auto historyAt = Address(cdsAlarm.Field(QStringLiteral("HISTORY_ALARM_ADDRESS")));

    int pointer = 0;
    if (nowAt) {
        TDMTran::TWords w{};
        if (!ctx.tran.ReadWords8(axis, *nowAt, 4, w))
            return false;
        now = RowOf(w[0], alarmId, stateId, QString());
        pointer = PointerPart(w[0]);
        elapsed = ElapsedText(uint32_t(w[2]) | uint32_t(w[3]) << 16);
    }
    if (historyAt) {
        std::array<uint16_t, RingSize> ring{};
        for (uint32_t half = 0; half < 2; ++half) {
            TDMTran::TWords w{};
            if (!ctx.tran.ReadWords8(axis, *historyAt + 8 * half, 4, w))
                return false;
            for (size_t i = 0; i < 4; ++i)
                ring[4 * half + i] = w[i];
        }
        for (uint16_t h : ring)
            pointer += PointerPart(h);
        FillHistory(ring, pointer % RingSize, RingSize, alarmId, stateId, QString());
    }
    return true;
}

bool TDMAlarm::ReadFile(const QString &name)
{
    Clear();
    fileName = name;
    fileDate = QDateTime();
    if (name.isEmpty())
        return true;
    TBuffer image;
    if (!ctx.dmMain.ReadParameterFile(image, name) || image.ampCode < 0) {
        fileName.clear();
        return false;
    }
    fileDate = QFileInfo(name).lastModified();
    version = image.firmwareText;
    ampModel = image.modelText;

    const int key = ModelKey(image.ampCode);
    if (!cdsAlarm.Locate(QStringLiteral("AMPLIFIER_ID"), TValue(key)) || historyIds.isEmpty()) {
        Clear();
        return true;
    }
    const int alarmId = cdsAlarm.Field(QStringLiteral("ALARM_ID")).AsInteger();
    const int stateId = cdsAlarm.Field(QStringLiteral("STATE_ID")).AsInteger();

    // The history words in address order are ring entries 0, 1, 2, ...; a
    // model with more than eight keeps the first eight, one with fewer shows
    // empty rows for the entries it lacks.
    cdsAmpPara.SetFilter(QStringLiteral("(AMPLIFIER_ID=%1) and (PARAMETER_ID In (%2))").arg(key).arg(historyIds));
    std::array<uint16_t, RingSize> ring{};
    int count = 0, pointer = 0;
    for (cdsAmpPara.First(); !cdsAmpPara.Eof() && count < RingSize; cdsAmpPara.Next()) {
        const qint64 address = cdsAmpPara.Field(QStringLiteral("ADDRESS")).AsInt64();
        const int length = cdsAmpPara.Field(QStringLiteral("LENGTH")).AsInteger();
        const auto word = uint16_t(ImageValue(image, address, length));
        ring[size_t(count++)] = word;
        pointer += PointerPart(word);
    }
    cdsAmpPara.ClearFilter();
    FillHistory(ring, pointer % RingSize, count, alarmId, stateId, QStringLiteral("?????"));
    return true;
}

bool TDMAlarm::ReadModelTexts(int axis)
{
    const int key = ModelKey(ctx.env.AmpCode(axis));
    if (!cdsModel.Locate(QStringLiteral("AMPLIFIER_ID"), TValue(key)))
        return true;
    if (const auto at = Address(cdsModel.Field(QStringLiteral("AMPLIFIER_ADDRESS"))))
        if (!ModelText::Read(ctx.tran, axis, *at, *at + 8, ampModel))
            return false;
    if (const auto at = Address(cdsModel.Field(QStringLiteral("MOTOR_ADDRESS"))))
        if (!ModelText::Read(ctx.tran, axis, *at + 4, *at + 12, motorModel))
            return false;
    return true;
}
