#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

struct TAppContext;
class TDMJog;
class TProgress;

// The automatic tunings on top of the test-run module: the notch-filter
// tuning (type 2) and the vibration-suppression frequency tuning (type 5)
// share their start and progress exchange, which the run windows and the
// command line both use; the tuning-result save (type 4) shares its texts
// and value display. Messages go through the messenger, titled with the
// caller's title.
class TDMTuning
{
public:
    // How a started tuning ended.
    enum class TEnd {
        Finished,      // reply 5; the result has been read
        Failed,        // reply 6
        NotReady,      // reply 1
        Cancelled,     // the user cancelled (frequency tuning only); nothing was sent for it
        Stopped,       // the caller stopped waiting (its window closed)
        CommFault,     // an unexpected progress reply; the axis is marked not in use
        CommandFailed, // a command or the result read failed in the transaction layer
    };

    TDMTuning(TAppContext &context, TDMJog &jog);

    // Texts of the two tunings (type 2 or 5).
    static QString RunningText(int type);
    static QString SuccessText(int type);
    static QString FailureText(int type);
    static QString CommFaultText(int axis);
    // The result's name and unit: the model's TESTRUN texts for the notch
    // tuning, "制振周波数" and "Hz" for the frequency tuning. The module's
    // TESTRUN row must be the axis's.
    QString ResultName(int type) const;
    QString ResultUnit(int type) const;

    // Polls the progress (role 6) back to back until the tuning ends, with
    // the progress shown (may be null). keepGoing runs before every poll
    // (lets messages run; false stops); a cancel request of the progress
    // ends with Cancelled when cancellable. On Finished, result holds the
    // result word sign-extended. Shows the communication-fault warning and
    // marks the axis itself; every other message is the caller's.
    TEnd Poll(int axis, int type, const QString &title, TProgress *progress, bool cancellable,
              const std::function<bool()> &keepGoing, int &result);

    // --- Tuning-result save: the texts of its bytes and words ---
    static QStringList ChoiceTexts();
    static QString ModeText(int mode);
    static QString CharacteristicText(int characteristic);
    // Gain i (0 KP, 1 KVP, 2 TVI, 3 TCFIL, 4 JRAT) as shown: unsigned, TVI
    // in tenths of a millisecond shown as milliseconds with one decimal.
    static QString GainText(int index, uint16_t word);

    // --- The command line's whole run: pre-check, settings, servo on,
    // start, progress, result, end. false with the reason in error when the
    // tuning did not produce a result. ---
    struct TRunSettings {
        int torque = 0;
        int friction = -1; // frequency tuning: written when 0..50
    };
    bool RunToEnd(int axis, int type, const TRunSettings &settings, TProgress *progress,
                  const std::function<bool()> &keepGoing, int &result, QString &error);

private:
    TAppContext &ctx;
    TDMJog &jog;
};
