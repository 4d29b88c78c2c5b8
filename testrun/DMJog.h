#pragma once

#include "defdb/DataSet.h"

#include <QString>
#include <cstdint>

struct TAppContext;

// The data of the test functions: the TESTRUN table (one row per model, with
// the base address C of the test-run common area and the input limits), the
// model texts, and the reads and writes of the common area. Every operation
// takes the axis and fails without sending anything when the axis is below 1
// or the model has no common area; a failed command has already been
// reported by the transaction layer.
class TDMJog
{
public:
    // The test functions; the number is the kind of the test-run commands.
    enum TType { tyVelocityJog = 0, tyPulseJog = 1, tyNotchTuning = 2, tySystemAnalysis = 3,
                 tyTuningResultSave = 4, tyFrequencyTuning = 5 };

    explicit TDMJog(TAppContext &context);
    ~TDMJog();
    TDMJog(const TDMJog &) = delete;
    TDMJog &operator=(const TDMJog &) = delete;

    void OpenTables();
    void CloseTables();

    // The function's name (the selection window's caption), its question
    // before it starts, and the title of its run window and dialogs.
    static QString FunctionName(int type);
    static QString ConfirmText(int type);
    static QString Title(int type, int axis, const QString &modelName);
    // Shared warnings of the run windows.
    static QString NotReadyText(int type);
    static QString NotUsableText(int type);
    static QString AlarmText();
    static QString ServoRefusedText();
    static QString OvertravelText();
    static QString OutOfRangeText();
    static QString NoAmplifierText();

    // The 10-character model text: 8 bytes at the model's AMPLIFIER_ADDRESS
    // and the first 2 of the 8 at AMPLIFIER_ADDRESS + 8.
    bool ReadModelName(int axis, QString &name);

    // Makes the axis's TESTRUN row the current one; false when the model has
    // no row. The limits below are those of the current row.
    bool LocateRow(int axis);
    bool HasCommonArea() const;
    QString VcmdUnit() const;
    int VcmdMin() const;
    int VcmdMax() const;
    int TcmdMin() const;
    int TcmdMax() const;
    QString AnfTuningName() const;
    QString AnfTuningUnit() const;

    // --- Common area (C = COMMON_ADDRESS) ---
    bool ReadVelocityJog(int axis, int &speed, int &endAction);
    bool ReadPulseJog(int axis, int &speed, int &endAction, qint64 &feedAmount);
    bool ReadPositionMonitors(int axis, qint32 &apmon, qint32 &pmon);
    bool ReadTuningSettings(int axis, int &torque, int &endAction, int &word3);
    bool ReadTuningResult(int axis, int &result);
    bool ReadMeasurementSettings(int axis, uint16_t &word0, uint16_t &word1, uint16_t &word3);
    bool ReadMeasurementPair(int axis, uint32_t &value);
    bool ReadMeasurementResults(int axis, uint16_t (&words)[8]);
    bool ReadSaveSelection(int axis, uint8_t (&bytes)[4]);
    // Five words from C + 8 and C + 16 (second false) or C + 18 and C + 26.
    bool ReadSaveValues(int axis, bool second, uint16_t (&words)[5]);
    bool WriteEndAction(int axis, int endAction);
    bool WriteWord0(int axis, uint16_t value);
    bool WriteFeedAmount(int axis, uint32_t value);
    bool WriteWord6(int axis, uint16_t value);
    bool WriteSaveSelection(int axis, uint8_t low, uint8_t high);

    // --- Value checks: false (after "設定範囲外です。") when the text is not a
    // whole number inside the range. caption titles the warning. ---
    bool CheckRange(const QString &text, qint64 low, qint64 high, qint64 &value, const QString &caption = {}) const;
    bool CheckJogSpeed(const QString &text, qint64 &value, const QString &caption = {}) const;
    bool CheckFeedAmount(const QString &text, qint64 &value, const QString &caption = {}) const;
    bool CheckFeedSpeed(const QString &text, qint64 &value, const QString &caption = {}) const;
    bool CheckTuningTorque(const QString &text, qint64 &value, const QString &caption = {}) const;
    bool CheckFriction(const QString &text, qint64 &value, const QString &caption = {}) const;
    // The whole-number parse the checks use.
    static bool ParseWhole(const QString &text, qint64 &value);

    TAppContext &Context() { return ctx; }

    TDataSet cdsAmplifier;
    TDataSet cdsModel;
    TDataSet cdsTestRun;

private:
    // C of the axis's model, false when there is none.
    bool Common(int axis, uint32_t &address);

    TAppContext &ctx;
};
