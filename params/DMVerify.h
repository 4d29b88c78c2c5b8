#pragma once

#include "defdb/Buffer.h"
#include "defdb/DataSet.h"
#include "defdb/ParamDef.h"

#include <QDateTime>
#include <QString>
#include <functional>
#include <vector>

class TDMEnvironment;
class TDMInterface;
class TDMMain;
class TDMTran;
class TProgress;

// One verification of an amplifier against a parameter file: the whole
// parameter area of the amplifier's model is read and compared, row by row
// in address order, with the file's model; every place where the two differ
// becomes a row of the difference list cdsList (amplifier side AMP_...,
// file side DSK_...). Created for one verification and freed after it.
class TDMVerify
{
public:
    // How a row is shown, by the LEVEL of its parameter's type.
    enum TPattern { ptOrdinary = 1, ptMaker = 2, ptPeculiar = 3, ptReserve = 4 };
    enum TSide { sdAmp, sdDisk };
    // The columns of each side, left to right.
    enum TColumn { colGroup, colPage, colName, colValue, colUnit, colLevel, ColumnCount };

    TDMVerify(TDMInterface &loader, TDMMain &mainTables, TDMEnvironment &environment, TDMTran &tran);
    ~TDMVerify();
    TDMVerify(const TDMVerify &) = delete;
    TDMVerify &operator=(const TDMVerify &) = delete;

    void SetProgress(TProgress *view) { progress = view; }
    // The unit selector of the calling window (0 UNIT, 1 UNIT2, 2 UNIT3).
    void SetUnitSelector(int selector) { unitSelector = selector; }
    int UnitSelector() const { return unitSelector; }

    // Shows the result; the window's. Without it nothing is shown.
    std::function<void(TDMVerify &)> RunWindow;

    // The whole verification. False only when reading the amplifier failed
    // (the transaction layer has reported it); an unreadable file, a file
    // of another kind of amplifier and a declined version question end
    // with true and no list.
    bool CompareWithFile(int axis, const QString &fileName);
    // Compares without showing anything: the list stays for the caller
    // until the module is freed. Same results as CompareWithFile; Compared()
    // tells whether a comparison took place.
    bool Compare(int axis, const QString &fileName);
    bool Compared() const { return compared; }
    // How the last comparison ended.
    enum class TOutcome { Done, Unreadable, Refused, Declined, ReadFailed, NoAxis };
    TOutcome LastOutcome() const { return outcome; }

    // The whole parameter area of the axis's model into the amplifier
    // image, 8 bytes per read. False after a failed read.
    bool ReadAmplifierImage(int axis);

    static TPattern PatternOfLevel(const TValue &level);

    // --- The difference list --------------------------------------------
    int DifferenceCount() const { return cdsList.RecordCount(); }
    // Display texts of a list position.
    QString CellText(int position, TSide side, TColumn column) const;
    static QString ColumnTitle(TColumn column);
    static QString LevelName(const TValue &level);
    // The two rows are of different parameters: the whole row is red.
    bool RowRed(int position) const;
    // The two raw values differ.
    bool ValueRed(int position) const;
    qint32 AddressAt(int position) const;

    QString FileName() const { return fileName; }
    QDateTime FileDate() const { return fileDate; }
    // AMP-TYPE of the file.
    QString FileModelText() const { return fileImage.modelText; }
    const TBuffer &AmplifierImage() const { return ampImage; }
    const TBuffer &FileImage() const { return fileImage; }

    TDataSet cdsTable_Data;
    TDataSet cdsType;
    TDataSet cdsParameter;
    TDataSet cdsAmp_Para;
    TDataSet cdsDsk_Para;
    TDataSet cdsList;

private:
    void OpenTables();
    void CloseTables();
    void CreateList();
    void Walk();
    void CompareRows(int ampRow, int diskRow);
    TParamDef ListDefinition(int position, TSide side) const;

    TDMInterface &intf;
    TDMMain &dmMain;
    TDMEnvironment &env;
    TDMTran &dmTran;
    TProgress *progress = nullptr;
    int unitSelector = 0;
    bool compared = false;
    TOutcome outcome = TOutcome::Done;
    TBuffer ampImage, fileImage;
    QString fileName;
    QDateTime fileDate;
    TTableDataRows tableData;
    int ampModel = -1, diskModel = -1;
};
