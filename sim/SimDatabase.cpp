#include "sim/SimDatabase.h"

#include "defdb/DMInterface.h"
#include "defdb/DataSet.h"
#include "sim/SimMemory.h"

#include <QString>
#include <algorithm>
#include <cmath>
#include <optional>

namespace {
// A whole table as rows of named cells.
struct TTable {
    TDataSet set;
    const TValue &At(int row, const char *field) const { return set.RowValue(row, QString::fromLatin1(field)); }
    int Rows() const { return set.AllRowCount(); }
};

std::optional<uint32_t> Address(const TValue &v)
{
    if (v.IsNull())
        return std::nullopt;
    return uint32_t(v.AsInt64()) & TSimMemory::Mask;
}

// Plausible still values of monitor items the motor model does not drive.
std::optional<double> StillValue(const std::string &symbol)
{
    static const std::pair<const char *, double> values[] = {
        {"VDC", 283}, {"ETMP", 35}, {"ATMP", 40.5}, {"JEST", 100}, {"FRES", 450}, {"PON", 1234}, {"MODE", 0},
    };
    for (const auto &[s, v] : values)
        if (symbol == s)
            return v;
    return std::nullopt;
}
} // namespace

bool TSimDatabase::Open(const std::string &basePath, std::string *error)
{
    layouts.clear();
    TDMInterface db(QString::fromStdString(basePath), TStgManager::TAccess::Shared);
    if (db.DatabaseBroken()) {
        if (error)
            *error = "definition database " + basePath + ": " + db.BrokenReason().toStdString();
        return false;
    }
    TTable amplifier, paraParam, paraAmp, moniParam, moniAmp, model, alarm, testrun, trace, system, analogData;
    struct TLoad {
        TTable *table;
        const char *stream;
        bool required;
    };
    for (const TLoad &l : {TLoad{&amplifier, "0_AMPLIFIER.cds", true}, TLoad{&paraParam, "1_PARAMETER.cds", true},
                           TLoad{&paraAmp, "1_AMP_PARA.cds", true}, TLoad{&moniParam, "2_PARAMETER.cds", false},
                           TLoad{&moniAmp, "2_AMP_PARA.cds", false}, TLoad{&model, "3_MODEL.cds", false},
                           TLoad{&alarm, "3_ALARM.cds", false}, TLoad{&testrun, "3_TESTRUN.cds", false},
                           TLoad{&trace, "3_TRACE.cds", false}, TLoad{&system, "3_SYSTEM.cds", false},
                           TLoad{&analogData, "3_ANALOG_DATA.cds", false}}) {
        if (!db.LoadTable(l.table->set, QString::fromLatin1(l.stream)) && l.required) {
            if (error)
                *error = "definition database " + basePath + ": cannot load " + l.stream;
            return false;
        }
    }

    // PARAMETER rows by ID.
    auto index = [](const TTable &t) {
        std::map<qint64, int> byId;
        for (int r = 0; r < t.Rows(); ++r)
            byId[t.At(r, "ID").AsInt64()] = r;
        return byId;
    };
    const auto paraById = index(paraParam);
    const auto moniById = index(moniParam);
    auto rowOf = [](const TTable &t, const char *keyField, qint64 key) {
        for (int r = 0; r < t.Rows(); ++r)
            if (!t.At(r, keyField).IsNull() && t.At(r, keyField).AsInt64() == key)
                return r;
        return -1;
    };

    for (int a = 0; a < amplifier.Rows(); ++a) {
        const qint64 key = amplifier.At(a, "ID").AsInt64();
        const uint32_t code = uint32_t(amplifier.At(a, "CODE").AsInt64()) & 0xFFFFFF;
        TSimLayout l;
        l.known = true;
        l.modelName = amplifier.At(a, "NAME").AsString().toStdString();

        // The parameter area at its standard values.
        uint32_t first = UINT32_MAX, end = 0;
        for (int r = 0; r < paraAmp.Rows(); ++r) {
            if (paraAmp.At(r, "AMPLIFIER_ID").AsInt64() != key)
                continue;
            const auto p = paraById.find(paraAmp.At(r, "PARAMETER_ID").AsInt64());
            if (p == paraById.end())
                continue;
            const int length = paraParam.At(p->second, "LENGTH").AsInteger();
            const uint32_t address = uint32_t(paraAmp.At(r, "ADDRESS").AsInt64()) & TSimMemory::Mask;
            l.AddValue(address, uint32_t(paraAmp.At(r, "STANDARD_VALUE").AsInt64()), length);
            first = std::min(first, address);
            end = std::max(end, address + uint32_t(length));
        }
        if (end > 0) {
            l.parameterFirst = first;
            l.parameterEnd = end;
        }

        // Monitor items: the motor drives what it can, the rest stands still.
        first = UINT32_MAX;
        end = 0;
        for (int r = 0; r < moniAmp.Rows(); ++r) {
            if (moniAmp.At(r, "AMPLIFIER_ID").AsInt64() != key)
                continue;
            const auto p = moniById.find(moniAmp.At(r, "PARAMETER_ID").AsInt64());
            if (p == moniById.end())
                continue;
            TSimMonitorItem item;
            item.address = uint32_t(moniAmp.At(r, "ADDRESS").AsInt64()) & TSimMemory::Mask;
            item.length = moniParam.At(p->second, "LENGTH").AsInteger();
            item.symbol = moniParam.At(p->second, "SYMBOL").AsString().toStdString();
            const int form = moniParam.At(p->second, "DATAFORM").AsInteger();
            item.isSigned = form == 2 || form == 8 || form == 9 || form == 10;
            if (form == 4 || form == 8)
                item.decimals = moniParam.At(p->second, "PER_POWEROF10").AsInteger();
            else if (form == 9)
                item.decimalsAddress = 0xF84A4;
            else if (form == 10)
                item.decimalsAddress = 0xF84A5;
            item.minValue = moniAmp.At(r, "MIN_VALUE").AsInt64();
            item.maxValue = moniAmp.At(r, "MAX_VALUE").AsInt64();
            item.quantity =
                TSimMotion::QuantityOf(item.symbol, moniParam.At(p->second, "NAME_E").AsString().toStdString());
            if (item.quantity == TSimQuantity::None) {
                if (const auto still = StillValue(item.symbol)) {
                    const int64_t raw = std::clamp<int64_t>(std::llround(*still * std::pow(10.0, item.decimals)),
                                                            std::min(item.minValue, item.maxValue),
                                                            std::max(item.minValue, item.maxValue));
                    l.AddValue(item.address, uint32_t(raw), item.length);
                }
            }
            first = std::min(first, item.address);
            end = std::max(end, item.address + uint32_t(item.length));
            l.monitorItems.push_back(item);
        }
        if (end > 0) {
            l.monitorFirst = first;
            l.monitorEnd = end;
        }

        // Model texts, after the parameters: the motor text is the combined-
        // motor block's text when the model has one.
        std::string motorText = "TVM-SIM   ";
        std::vector<uint8_t> motorCodes(4, 0);
        const int sys = rowOf(system, "AMPLIFIER_ID", key);
        if (sys >= 0) {
            if (const auto motdat = Address(system.At(sys, "MOTDAT_ADDRESS"))) {
                TSimMemory scratch;
                l.ApplyTo(scratch);
                motorCodes = scratch.Read(*motdat, 4);
                std::string text;
                for (uint8_t b : scratch.Read(*motdat + 4, 10))
                    text += b >= 0x20 && b < 0x7F ? char(b) : ' ';
                if (text.find_first_not_of(' ') != std::string::npos)
                    motorText = text;
            }
        }
        const int m = rowOf(model, "AMPLIFIER_ID", key);
        if (m >= 0) {
            l.amplifierTextAddress = Address(model.At(m, "AMPLIFIER_ADDRESS"));
            l.motorTextAddress = Address(model.At(m, "MOTOR_ADDRESS"));
            l.versionAddress = Address(model.At(m, "VERSION_ADDRESS"));
            if (l.amplifierTextAddress)
                l.AddText(*l.amplifierTextAddress, l.modelName, 10);
            if (l.motorTextAddress) {
                l.AddBytes(*l.motorTextAddress, motorCodes);
                l.AddText(*l.motorTextAddress + 4, motorText, 10);
            }
            if (l.versionAddress) {
                const uint16_t words[4] = {uint16_t(code >> 16), uint16_t(code), 0x2026, 0x0001};
                l.AddVersion(*l.versionAddress, VersionLetter, VersionDigits, words);
            }
        }
        const int al = rowOf(alarm, "AMPLIFIER_ID", key);
        if (al >= 0) {
            l.nowAlarmAddress = Address(alarm.At(al, "NOW_ALARM_ADDRESS"));
            l.historyAlarmAddress = Address(alarm.At(al, "HISTORY_ALARM_ADDRESS"));
        }
        const int tr = rowOf(testrun, "AMPLIFIER_ID", key);
        if (tr >= 0)
            l.commonAddress = Address(testrun.At(tr, "COMMON_ADDRESS"));
        const int tc = rowOf(trace, "AMPLIFIER_ID", key);
        if (tc >= 0) {
            l.traceAddress = Address(trace.At(tc, "TRACE_ADDRESS"));
            l.traceSettingAddress = Address(trace.At(tc, "SETTING_ADDRESS"));
            TSimTraceLayout &r = l.traceRecorder;
            r.present = l.traceAddress && l.traceSettingAddress;
            r.traceAddress = l.traceAddress.value_or(0);
            r.settingAddress = l.traceSettingAddress.value_or(0);
            r.analogAddress = Address(trace.At(tc, "ANALOG_ADDRESS")).value_or(0);
            r.digitalAddress = Address(trace.At(tc, "DIGITAL_ADDRESS")).value_or(0);
            if (!trace.At(tc, "SAMPLING_BASE").IsNull())
                r.samplingBaseMs = trace.At(tc, "SAMPLING_BASE").AsFloat();
            const qint64 analogId = trace.At(tc, "ANALOG_ID").AsInt64();
            for (int a = 0; a < analogData.Rows(); ++a) {
                if (analogData.At(a, "ANALOG_ID").IsNull() || analogData.At(a, "ANALOG_ID").AsInt64() != analogId)
                    continue;
                TSimTraceLayout::TAnalog q;
                q.length = int(analogData.At(a, "LENGTH").AsInt64());
                q.isSigned = analogData.At(a, "DATAFORM").AsInt64() == 2;
                q.quantity = TSimMotion::QuantityOf({}, analogData.At(a, "NAME_E").AsString().toStdString());
                r.analog[int(analogData.At(a, "VALUE").AsInt64())] = q;
            }
        }
        layouts[code] = std::move(l);
    }
    return true;
}

TSimLayout TSimDatabase::Layout(uint32_t code) const
{
    const auto it = layouts.find(code & 0xFFFFFF);
    return it == layouts.end() ? TSimLayout{} : it->second;
}

std::vector<uint32_t> TSimDatabase::Codes() const
{
    std::vector<uint32_t> out;
    for (const auto &[code, layout] : layouts)
        out.push_back(code);
    return out;
}
