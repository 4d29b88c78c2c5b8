#pragma once

#include "defdb/Buffer.h"
#include "defdb/DataSet.h"

#include <QString>

class TProgress;
struct TAppContext;

// The whole-area load: the parameters of a parameter file written into one
// amplifier, chosen by their type level rather than by the display level,
// so that a service engineer can restore areas the normal transfer leaves
// alone. The writes go through the transaction layer.
class TDMMakerLoad
{
public:
    // Load modes 1 to 3.
    enum TMode { lmBelow500 = 1, lmNotOffsets = 2, lmEverything = 3 };

    explicit TDMMakerLoad(TAppContext &context);
    ~TDMMakerLoad();
    TDMMakerLoad(const TDMMakerLoad &) = delete;
    TDMMakerLoad &operator=(const TDMMakerLoad &) = delete;

    void SetProgress(TProgress *view) { progress = view; }

    // Loads TYPE, PARAMETER and the two AMP_PARA copies (failures ignored:
    // an unloaded table selects nothing).
    void OpenTables();
    void CloseTables();

    // The TYPE filter of a mode ("" for every row) and its help text.
    static QString TypeFilter(int mode);
    static QString HelpText(int mode);
    // The comma-separated PARAMETER IDs the mode selects ("" for none).
    QString ParameterList(int mode);

    // How the last Load ended.
    enum class TOutcome { Done, Declined, Unreadable, Refused, WriteFailed };

    // Steps 2 to 10 of the load for an axis whose amplifier code is known
    // to the settings module: the confirmation, the file, the compatibility
    // check and the walk. True unless a write failed; a failed write ends
    // the walk and the transaction layer has reported it.
    bool Load(int axis, const QString &fileName, int mode);
    TOutcome LastOutcome() const { return outcome; }
    int LastWritten() const { return written; }
    // Address of the write that failed (-1 when none did).
    qint64 FailedAddress() const { return failedAddress; }

    TDataSet cdsType;
    TDataSet cdsParameter;
    TDataSet cdsAmp;  // the target amplifier's model
    TDataSet cdsDisk; // the file's model

private:
    bool WriteRow(int axis, qint64 address, int length, const TBuffer &image);

    TAppContext &ctx;
    TProgress *progress = nullptr;
    TOutcome outcome = TOutcome::Done;
    int written = 0;
    qint64 failedAddress = -1;
};
