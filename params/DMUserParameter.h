#pragma once

#include "defdb/Buffer.h"
#include "defdb/DataSet.h"
#include "defdb/DecimalSettings.h"
#include "defdb/ParamDef.h"

#include <QSet>
#include <QString>
#include <array>
#include <functional>
#include <vector>

class TDMEnvironment;
class TDMInterface;
class TDMMain;
class TDMTran;
class TDMUserParameterEdit;
class TProgress;

// The data behind the general parameter window: its table copies, the
// working list cdsAmp_Para with NOW_VALUE and INPUT_VALUE, the level filter,
// and reading, writing, loading and saving of the listed parameters.
//
// Sources: 1..15 an axis, 0 the open parameter file, -1 nothing.
// The dialogs it opens (edit, display level, transfer) are the window's:
// it calls them through the Run... hooks, which the window sets.
class TDMUserParameter
{
public:
    // Grid columns, left to right.
    enum TColumn { colPage, colSymbol, colName, colNow, colUnit, colInput, colMin, colMax, colStandard, ColumnCount };
    enum class TTransfer { AmpToFile, FileToAmp };

    TDMUserParameter(TDMInterface &loader, TDMMain &mainTables, TDMEnvironment &environment, TDMTran &tran);
    ~TDMUserParameter();
    TDMUserParameter(const TDMUserParameter &) = delete;
    TDMUserParameter &operator=(const TDMUserParameter &) = delete;

    void SetProgress(TProgress *view) { progress = view; }

    // The window's dialogs. Without them, editing, the level change and
    // transfers do nothing.
    std::function<bool(TDMUserParameterEdit &)> RunEditDialog;
    std::function<bool()> RunLevelDialog;
    std::function<void(TTransfer, int axis)> RunTransfer;

    // Closes and reloads the seven tables, then BuildLevelFilter(true).
    void OpenTables();
    void CloseTables();

    // The level lists (recomputed on request) and the filter of the
    // current display level; "-1" when no parameter is visible.
    void BuildLevelFilter(bool recompute);
    QString LevelFilter() const { return levelFilter; }
    QString LevelList(int level) const { return levelLists[size_t(level - 1)]; }
    // "ベーシックレベル" ... for the display level of the settings.
    QString LevelName() const;
    static QString LevelName(int displayLevel);

    // The model texts of the source ("型番"). False after a failed read.
    bool ReadModelTexts(int source);
    QString MotorModelText() const { return motorModel; }
    QString AmpModelText() const { return ampModel; }

    // Reads the listed parameters of the axis in 8-byte steps and the
    // decimal-point settings. False after a failed read.
    bool ReadFromAmplifier(int axis);
    // Reads the parameter file; an empty name gives the empty image.
    bool LoadFromFile(const QString &fileName);

    bool GroupExists(int source, int group);
    // Clears every input, then lists the group (-1: nothing).
    void SelectGroup(int source, int group);
    void ClearInputs();

    // Opens the edit dialog for the current row; true when the row's input
    // changed.
    bool EditCurrentRow();
    // Some row (whatever the filter) has an input that differs from its value.
    bool HasChanges() const;

    // The changed rows of the current list to the axis with O, P or Q. A
    // failed write stops at the row that failed.
    bool WriteToAmplifier(int axis);
    // The changed rows into the file image and the image into the file.
    // When the file cannot be written nothing changes: the inputs stay.
    bool SaveToFile(const QString &fileName);

    // The display-level dialog; on OK the filter is rebuilt from the kept
    // level lists. True when it ended with OK.
    bool ChangeLevel();
    void TransferFileToAmp(int source);
    void TransferAmpToFile(int source);

    // AMPLIFIER.ID of the source's model (axis code, file code), -1 for none.
    int ModelKey(int source);
    int ModelKeyOfCode(int code);

    TDecimalSettings DecimalSettings() const { return decimals; }
    const TBuffer &FileImage() const { return fileImage; }
    const TBuffer &AmplifierImage() const { return ampImage; }

    // --- The grid: the current list (view of cdsAmp_Para) ----------------
    int RowCount() const { return cdsAmp_Para.RecordCount(); }
    int RowIdAt(int position) const { return cdsAmp_Para.RowIdAt(position); }
    const TParamDef &Definition(int rowId) const { return definitions[size_t(rowId)]; }
    QString CellText(int position, TColumn column) const;
    std::optional<qint32> NowValue(int position) const;
    std::optional<qint32> InputValue(int position) const;
    // The input differs from the value: drawn in red.
    bool InputChanged(int position) const;
    // "NAME", or "NAME [ high : low ]" for a DATAFORM 6 row; empty for none.
    QString StatusText() const;
    static QString ColumnTitle(TColumn column);

    TDataSet cdsAmplifier;
    TDataSet cdsType;
    TDataSet cdsParameter;
    TDataSet cdsTable_Data;
    TDataSet cdsAmp_Para;
    TDataSet cdsModel;
    TDataSet cdsSystem;

private:
    bool ReadText(int axis, const TValue &address, QString &text);
    void FilterListed(int key, std::optional<int> group);
    bool WriteValue(int axis, int address, int length, qint32 value);
    static std::optional<qint32> Optional(const TValue &v);

    TDMInterface &intf;
    TDMMain &dmMain;
    TDMEnvironment &env;
    TDMTran &dmTran;
    TProgress *progress = nullptr;

    std::array<QString, 4> levelLists;
    QString levelFilter = QStringLiteral("-1");
    QSet<qint64> levelIds;
    QString motorModel, ampModel;
    TDecimalSettings decimals;
    TBuffer fileImage;
    TBuffer ampImage;
    std::vector<TParamDef> definitions; // by row id
    TTableDataRows tableData;
    int fNow = -1, fInput = -1;
};
