#pragma once

#include "defdb/Buffer.h"
#include "defdb/DataSet.h"

#include <QString>

class TDMEnvironment;
class TDMInterface;
class TDMMain;
class TDMTran;
class TProgress;

// Moves whole parameter sets between an amplifier and a parameter file: the
// whole area from the amplifier into a new file, or chosen kinds of
// parameters from a file into the amplifier. The transfer window and the
// command-line program both work through it.
class TDMLoadSave
{
public:
    // Parameter kinds, by the LEVEL of their TYPE row.
    enum TKind : int { kdGeneral = 1, kdSystem = 2, kdMotor = 4, kdAll = 7 };

    TDMLoadSave(TDMInterface &loader, TDMMain &mainTables, TDMEnvironment &environment, TDMTran &tran);
    ~TDMLoadSave();
    TDMLoadSave(const TDMLoadSave &) = delete;
    TDMLoadSave &operator=(const TDMLoadSave &) = delete;

    // Where the series of commands is shown; none: nowhere.
    void SetProgress(TProgress *view) { progress = view; }

    // Loads the six tables and builds the three kind lists.
    void OpenTables();
    void CloseTables();

    // The comma-separated PARAMETER IDs of one kind ("" when it has none).
    QString KindList(TKind kind) const;
    // The union of the lists of the kinds set in the mask.
    QString KindsList(int kinds) const;
    static QString KindCaption(TKind kind);

    // The 10-character model text of the axis: 8 bytes at the model's
    // AMPLIFIER_ADDRESS and 2 at AMPLIFIER_ADDRESS + 8. False after a failed
    // read (reported, the axis taken out of use), for an axis below 1 and
    // for a model the database does not know.
    bool ReadAmpModelText(int axis, QString &text);

    // Reads the axis's whole parameter area and writes it as a new file.
    // Nothing is written unless every read succeeded (area and version
    // block), nor for an axis out of use or of a model the database lacks:
    // an existing file stays as it was.
    bool TransferAmpToFile(int axis, const QString &fileName, const QString &modelText);

    // Writes the parameters of the chosen kinds that both models have from
    // the file into the axis, each one inside the amplifier model's range.
    // False only after a failed write; a refused or declined transfer and an
    // unreadable file (both reported) count as success.
    bool TransferFileToAmp(int axis, const QString &fileName, int kinds);

    // How the last TransferFileToAmp ended, for callers that tell more.
    enum class TOutcome { Done, Unreadable, Refused, Declined, WriteFailed };
    TOutcome LastOutcome() const { return outcome; }
    int LastWritten() const { return written; }
    int LastSkipped() const { return skipped; }

    // The range check of a file value against the amplifier model's limits.
    static bool InRange(int dataForm, int length, qint32 value, qint32 minValue, qint32 maxValue);
    // "A1.23.4 - 0001 - 0002 - 0003 - 0004" from the version block words.
    static QString FirmwareText(const quint16 (&block)[6]);

    // The amplifier's model key (AMPLIFIER.ID) and group, -1 when unknown.
    int ModelKey(int code);
    int ModelGroup(int code);

    TDataSet cdsAmplifier;
    TDataSet cdsType;
    TDataSet cdsParameter;
    TDataSet cdsModel;
    TDataSet cdsAmp;  // the amplifier's model
    TDataSet cdsDisk; // the file's model

private:
    bool WriteValue(int axis, int address, int length, qint32 value);

    TDMInterface &intf;
    TDMMain &dmMain;
    TDMEnvironment &env;
    TDMTran &dmTran;
    TProgress *progress = nullptr;
    QString generalList, systemList, motorList;
    TOutcome outcome = TOutcome::Done;
    int written = 0;
    int skipped = 0;
};
