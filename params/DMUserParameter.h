#pragma once

#include "params/DMParameterBase.h"
#include "params/ParameterGrid.h"

#include <QSet>
#include <array>

// The data behind the general parameter window: the level filter, the
// groups and pages of the listed parameters, and reading them in 8-byte
// steps.
class TDMUserParameter : public TDMParameterBase
{
public:
    // Grid columns, left to right.
    enum TColumn { colPage, colSymbol, colName, colNow, colUnit, colInput, colMin, colMax, colStandard, ColumnCount };

    TDMUserParameter(TDMInterface &loader, TDMMain &mainTables, TDMEnvironment &environment, TDMTran &tran);

    // The level lists (recomputed on request) and the filter of the
    // current display level; "-1" when no parameter is visible.
    void BuildLevelFilter(bool recompute);
    QString LevelFilter() const { return levelFilter; }
    QString LevelList(int level) const { return levelLists[size_t(level - 1)]; }
    // "ベーシックレベル" ... for the display level of the settings.
    QString LevelName() const;
    static QString LevelName(int displayLevel);

    // Reads the listed parameters of the axis in 8-byte steps and the
    // decimal-point settings. False after a failed read.
    bool ReadFromAmplifier(int axis) override;
    bool LoadFromFile(const QString &fileName) override;
    // The changed rows of the current list to the axis with O, P or Q.
    bool WriteToAmplifier(int axis) override;

    bool GroupExists(int source, int group);
    // Clears every input, then lists the group (-1: nothing).
    void SelectGroup(int source, int group);

    // Opens the edit dialog for the current row; true when the row's input
    // changed.
    bool EditCurrentRow();

    // The display-level dialog; on OK the filter is rebuilt from the kept
    // level lists. True when it ended with OK.
    bool ChangeLevel();

    const TBuffer &AmplifierImage() const { return ampImage; }

    QString CellText(int position, TColumn column) const;
    // "NAME", or "NAME [ high : low ]" for a DATAFORM 6 row; empty for none.
    QString StatusText() const;
    static QString ColumnTitle(TColumn column);
    // The grid of the current list.
    TParameterGrid Grid() const;

protected:
    void TablesOpened() override;

private:
    void FilterListed(int key, std::optional<int> group);

    std::array<QString, 4> levelLists;
    QString levelFilter = QStringLiteral("-1");
    QSet<qint64> levelIds;
    TBuffer ampImage;
};
