#pragma once

#include "defdb/Buffer.h"
#include "defdb/DataSet.h"
#include "defdb/DecimalSettings.h"
#include "defdb/ParamDef.h"
#include "params/ParameterReport.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

class TDMEnvironment;
class TDMInterface;
class TDMMain;
class TDMTran;
class TDMUserParameterEdit;
class TProgress;

// What the parameter windows' data modules share: the seven table copies,
// the working list cdsAmp_Para with NOW_VALUE and INPUT_VALUE, the model of
// a source, the model texts, the decimal-point settings, the file image, the
// edit dialog, and writing or saving the inputs of the current list.
//
// Sources: 1..15 an axis, 0 the open parameter file, -1 nothing.
// The dialogs it opens are the window's: it calls them through the Run...
// hooks, which the window sets.
class TDMParameterBase
{
public:
    enum class TTransfer { AmpToFile, FileToAmp };

    TDMParameterBase(TDMInterface &loader, TDMMain &mainTables, TDMEnvironment &environment, TDMTran &tran);
    virtual ~TDMParameterBase();
    TDMParameterBase(const TDMParameterBase &) = delete;
    TDMParameterBase &operator=(const TDMParameterBase &) = delete;

    void SetProgress(TProgress *view) { progress = view; }

    // The window's dialogs. Without them, editing, the level change and
    // transfers do nothing.
    std::function<bool(TDMUserParameterEdit &)> RunEditDialog;
    std::function<bool()> RunLevelDialog;
    std::function<void(TTransfer, int axis)> RunTransfer;

    // Closes and reloads the seven tables, then TablesOpened().
    void OpenTables();
    void CloseTables();

    // The model texts of the source ("型番"). False after a failed read.
    bool ReadModelTexts(int source);
    QString MotorModelText() const { return motorModel; }
    QString AmpModelText() const { return ampModel; }

    // The source's values into NOW_VALUE. False after a failed read.
    virtual bool ReadFromAmplifier(int axis) = 0;
    // Reads the parameter file; an empty name gives the empty image.
    virtual bool LoadFromFile(const QString &fileName) = 0;
    // The inputs to the axis; a failed write stops at the row that failed.
    virtual bool WriteToAmplifier(int axis) = 0;
    // The changed inputs into the file image and the image into the file.
    // When the file cannot be written nothing changes: the inputs stay.
    virtual bool SaveToFile(const QString &fileName);

    void ClearInputs();
    // Some row (whatever the filter) has an input that differs from its value.
    virtual bool HasChanges() const;

    // The parameter report of a source (an axis, 0 the file `fileName`):
    // every row of the model gets its current value anew (the whole area
    // read from the axis, or the file read again), then the system items
    // and the general parameters of the display level become the report's
    // texts. False only when the read failed; `report.empty` when the model
    // has no rows or no SYSTEM row. The list's filter, order and current
    // row are kept.
    bool PrepareReport(int source, const QString &fileName, TParameterReport &report);
    // The IDs of the parameters visible at the display level ("-1": none).
    QString ReportLevelFilter();

    void TransferFileToAmp(int source);
    void TransferAmpToFile(int source);

    // AMPLIFIER.ID of the source's model (axis code, file code), -1 for none.
    int ModelKey(int source);
    int ModelKeyOfCode(int code);

    TDecimalSettings DecimalSettings() const { return decimals; }
    const TBuffer &FileImage() const { return fileImage; }

    // --- The current list (view of cdsAmp_Para) --------------------------
    int RowCount() const { return cdsAmp_Para.RecordCount(); }
    int RowIdAt(int position) const { return cdsAmp_Para.RowIdAt(position); }
    const TParamDef &Definition(int rowId) const { return definitions[size_t(rowId)]; }
    std::optional<qint32> NowValue(int position) const;
    std::optional<qint32> InputValue(int position) const;
    // The input differs from the value: drawn in red.
    bool InputChanged(int position) const;
    // The display texts of a row's value and input (by row id).
    QString NowText(int rowId) const;
    QString InputText(int rowId) const;
    // The row of the model at an address among all rows of cdsAmp_Para that
    // the filter lets through; -1 for none.
    int RowIdAtAddress(const TValue &address) const;

    // --- The system items (system grid and parameter report) --------------
    static constexpr int SystemItemRows = 16;
    // Page text, name and SYSTEM field of an item row (1..16).
    static QString SystemItemPage(int row);
    static QString SystemItemName(int row);
    static QString SystemItemField(int row);
    // The model has a SYSTEM row (located by the last model selection).
    bool HasSystemRow() const { return systemRow; }
    // The address in a SYSTEM field ("MOTDAT_ADDRESS"); null without one.
    TValue SystemField(const QString &field) const;
    // The item at a SYSTEM address field among the current rows: its row
    // id or -1.
    int ItemRow(const QString &field) const;
    // The value text of the item at a SYSTEM address field, `missing`
    // without one.
    QString ItemNowText(const QString &field, const QString &missing) const;
    // The value text of an item row; `missing` when it has no row.
    QString SystemItemNow(int row, const QString &missing) const;
    // The item row has something to show: a SYSTEM text or a row.
    bool SystemItemPresent(int row) const;
    // Row 12: "TEXT(c1-c2)" from the combined-motor block, or "-----".
    QString CombinedMotorText() const;

    TDataSet cdsAmplifier;
    TDataSet cdsType;
    TDataSet cdsParameter;
    TDataSet cdsTable_Data;
    TDataSet cdsAmp_Para;
    TDataSet cdsModel;
    TDataSet cdsSystem;

protected:
    // After the tables are loaded: the window's filter and lists.
    virtual void TablesOpened() {}

    // The IDs of the parameters whose type has the level ("" for none).
    QString ParameterIdsOfLevel(int level);
    // Opens the edit dialog for a row; true when the row's input changed.
    bool EditRow(int rowId);
    // Writes the inputs of the current list with O, P or Q. Without
    // `always` an input equal to the value is only cleared.
    bool WriteInputs(int axis, bool always);
    // NOW_VALUE of every row of the current list from an image.
    void TakeImageValues(const TBuffer &image, bool showProgress);
    // The decimal-point settings of the axis; a failed read counts as 0.
    void ReadDecimals(int axis);
    bool WriteValue(int axis, int address, int length, qint32 value);
    void StartProgress(const QString &title, const QString &text, int max);
    void StepProgress();
    void FinishProgress();

    TDMInterface &intf;
    TDMMain &dmMain;
    TDMEnvironment &env;
    TDMTran &dmTran;
    TProgress *progress = nullptr;

    QString motorModel, ampModel;
    TDecimalSettings decimals;
    TBuffer fileImage;
    std::vector<TParamDef> definitions; // by row id
    TTableDataRows tableData;
    int fNow = -1, fInput = -1;
    bool systemRow = false;

private:
    bool ReadText(int axis, const TValue &address, QString &text);
    static std::optional<qint32> Optional(const TValue &v);
};
