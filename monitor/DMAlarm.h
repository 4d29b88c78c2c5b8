#pragma once

#include "defdb/DataSet.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>

struct TAppContext;

// The alarm history of one amplifier or of a parameter file: the alarm
// active now with the time since it occurred, the last seven entries of the
// amplifier's ring of eight, the software version, and for printing the
// amplifier and motor model texts. The window and the command-line program
// both read through it.
//
// The ring pointer (the newest entry) is the sum of the pointer parts
// (bits 8-10) of the current-alarm word and of the eight history words,
// modulo 8; Last1 .. Last7 are the entries p, p-1, ..., p-6.
class TDMAlarm
{
public:
    static constexpr int RingSize = 8;
    static constexpr int Shown = 7;

    // One line of texts: alarm symbol, alarm name, state symbol.
    struct TRow {
        QString symbol;
        QString name;
        QString state;
        int code = -1; // the alarm code; -1 when the row has none
        int stateCode = -1;
    };

    explicit TDMAlarm(TAppContext &context);
    ~TDMAlarm();
    TDMAlarm(const TDMAlarm &) = delete;
    TDMAlarm &operator=(const TDMAlarm &) = delete;

    // Loads the tables and collects the alarm-history parameter IDs.
    void OpenTables();
    void CloseTables();
    // The PARAMETER IDs whose TYPE has LEVEL 600, comma-separated.
    QString HistoryIdList() const { return historyIds; }

    // Reads version, current alarm and history of the axis, in this order,
    // stopping at the first failed read (reported, the axis out of use). A
    // block the model does not have is skipped and its texts stay.
    bool ReadAmp(int axis);
    // Reads the history kept in a parameter file. False for a file that
    // cannot be read (reported by the reader); the texts are then empty.
    bool ReadFile(const QString &fileName);
    // Every text empty (no source, a file without alarm data).
    void Clear();
    // The amplifier and motor model texts of the axis, for the report.
    bool ReadModelTexts(int axis);

    // The texts to show.
    TRow now;
    QString elapsed;
    std::array<TRow, Shown> history;
    QString version;
    QString ampModel;
    QString motorModel;
    // The file of the last ReadFile and its modification time.
    QString fileName;
    QDateTime fileDate;

    // "-----", "%d時間%d分%d秒 経過" or "2000時間以上 経過" for a count of
    // 4 ms ticks.
    static QString ElapsedText(uint32_t ticks);
    // The ring entry shown in row Last(k + 1), k = 0..6.
    static int RingIndex(int pointer, int k) { return ((pointer - k) % RingSize + RingSize) % RingSize; }
    static int PointerPart(uint16_t word) { return word >> 8 & 7; }
    // "Last1" .. "Last7".
    static QString HistoryLabel(int k);
    // Texts the window and the report share: the four column headers of
    // the alarm grids (the first empty), the captions of the version and
    // elapsed-time rows, and the two section captions.
    static QStringList ColumnHeaders();
    static QString VersionCaption();
    static QString ElapsedCaption();
    static QString NowCaption();
    static QString HistoryCaption();

    TDataSet cdsAmplifier;
    TDataSet cdsAmpPara;
    TDataSet cdsParameter;
    TDataSet cdsType;
    TDataSet cdsAlarm;
    TDataSet cdsAlarmData;
    TDataSet cdsStateData;
    TDataSet cdsModel;

private:
    int ModelKey(int code);
    // Symbol, name and state of a history word; missing codes give empty
    // texts, or "?????" when unknown is set.
    TRow RowOf(uint16_t word, int alarmId, int stateId, const QString &unknown);
    void FillHistory(const std::array<uint16_t, RingSize> &ring, int pointer, int count, int alarmId, int stateId,
                     const QString &unknown);

    TAppContext &ctx;
    QString historyIds;
};
