#pragma once

#include "defdb/DataSet.h"

#include <QString>

struct TAppContext;
class TProgress;

// The one-shot operations of the adjustment family: the offset adjustments
// of the analog inputs, alarm reset, alarm trace clear, absolute-encoder
// clear and fixed excitation. Each runs as query (Wn1), start (Wn2), polls
// of its progress (Wn3) and end (Wn0); the type picks n. The window and the
// command-line program both run it through Execute.
//
// Questions and messages go through TMessenger with the operation's title
// as caption; the progress of a run goes to the TProgress set with
// SetProgress (the window's TFMAdjustRun, the command line's output), whose
// cancel request stops a run that can be cancelled.
class TDMAdjust
{
public:
    // The types as the openers number them; equal to TDMTran's adjustment kinds.
    enum TType { atOffsetVRef = 0, atOffsetTComp = 1, atAlarmReset = 2, atAlarmTraceClear = 3,
                 atAbsEncoderClear = 4, atExcitation = 5 };
    static constexpr int TypeCount = 6;

    enum class TOutcome {
        Declined,    // the confirmation was not answered OK: nothing sent
        NotUsable,   // Wn1 answered 2
        NotReady,    // Wn1 or Wn2 answered 1
        Quiet,       // Wn1 or Wn2 answered another non-zero value
        Succeeded,   // Wn3 answered 5
        Failed,      // Wn3 answered 6
        Cancelled,   // the user cancelled the run
        CommFailure, // a command failed, or Wn3 answered something undefined
    };

    explicit TDMAdjust(TAppContext &context);
    ~TDMAdjust();
    TDMAdjust(const TDMAdjust &) = delete;
    TDMAdjust &operator=(const TDMAdjust &) = delete;

    void SetProgress(TProgress *view) { progress = view; }

    void OpenTables();
    void CloseTables();

    // The 10-character amplifier model name of the axis. False after a
    // failed read (reported, the axis taken out of use) and for a model
    // without a MODEL row.
    bool ReadModelName(int axis, QString &name);

    // Texts of a type (0..5); empty for another number.
    static bool ValidType(int type) { return type >= 0 && type < TypeCount; }
    static QString Name(int type);
    static QString Confirmation(int type);
    static bool Cancellable(int type) { return type == atExcitation; }
    // "<name> [#3 : TVA-S10A]"
    static QString Title(int type, int axis, const QString &modelName);
    static QString ProgressText(int type);
    static QString NotReadyText(int type);
    static QString NotUsableText(int type);
    static QString SuccessText(int type);
    static QString FailureText(int type);
    static QString CommFaultText(int axis);

    // Runs the operation on the axis: confirmation, query, start, the polls
    // under the progress view, and the end. The user's input is held for the
    // whole series. After CommFailure the axis is out of use (already said).
    TOutcome Execute(int type, int axis, const QString &modelName);

    TDataSet cdsAmplifier;
    TDataSet cdsModel;
    TDataSet cdsTestRun;

private:
    // Sends Wn0 and warns when the amplifier is not ready to leave.
    bool End(int type, int axis, const QString &title);

    TAppContext &ctx;
    TProgress *progress = nullptr;
};
