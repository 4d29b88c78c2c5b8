#pragma once

#include "defdb/AddressSpan.h"
#include "defdb/DataSet.h"

#include <QString>

class TDMInterface;
struct TBuffer;

// The main tables that stay loaded while the main window is open, and the
// questions about models the shell and the axes check ask.
class TDMMain
{
public:
    // Fixes the number format of the whole program ("." and ","), whatever
    // the system's regional settings.
    explicit TDMMain(TDMInterface &interface);
    ~TDMMain();
    TDMMain(const TDMMain &) = delete;
    TDMMain &operator=(const TDMMain &) = delete;

    TDataSet cdsAmplifier;  // 0_AMPLIFIER, order INDEX_CODE
    TDataSet cdsParam_Para; // 1_PARAMETER
    TDataSet cdsAmp_Para;   // 1_AMP_PARA, order INDEX_ID_ADDRESS, lookups CODE, LENGTH, DATAFORM
    TDataSet cdsParam_Moni; // 2_PARAMETER
    TDataSet cdsAmp_Moni;   // 2_AMP_PARA, order INDEX_ID_ADDRESS, lookups CODE, LENGTH, DATAFORM
    TDataSet cdsVersion;    // 0_VERSION, loaded by VersionText

    // Closes the six tables, then loads PARAMETER [1], AMP_PARA [1],
    // PARAMETER [2], AMP_PARA [2], AMPLIFIER [0]. True when all five loaded.
    bool LoadMainTables();
    void CloseMainTables();

    // AMPLIFIER has a row with that CODE.
    bool IsKnownCode(int code);
    // AMPLIFIER.ID of the code, -1 when unknown.
    int ModelKey(int code);
    // AMPLIFIER.GROUP_ID of the code, -1 when unknown.
    int ModelGroup(int code);

    // The model's parameter (storage 1) and monitor (storage 2) areas. The
    // restriction to the model stays on the table afterwards.
    TAddressSpan ParameterSpan(int code);
    TAddressSpan MonitorSpan(int code);

    // TEXT of the first VERSION row (loads the table the first time); empty
    // when the table has none.
    QString VersionText();

    // Parameter files ("ap0"). The writer replaces the file through a
    // temporary file; a failure shows an error and leaves the old file. An
    // empty name writes nothing and succeeds.
    bool WriteParameterFile(const TBuffer &image, const QString &fileName);
    // Fills the image from the file; its start address is the lowest
    // parameter address of the file's model (unchanged for a code the
    // database does not know). A file that does not parse shows
    // "アンプファイルが壊れています。", one that cannot be opened an error;
    // both leave code -1 and no words. An empty name gives that empty image
    // and succeeds.
    bool ReadParameterFile(TBuffer &image, const QString &fileName);
    // "Version <product> - <database>" as the files carry it.
    QString FileVersionText();

private:
    TAddressSpan Span(TDataSet &ampTable, int code);

    TDMInterface &intf;
};
