#pragma once

#include "monitor/DMMultiMonitorSet.h"

#include <QDialog>
#include <array>

struct TAppContext;
class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class TMonitorTables;

// "マルチモニタ表示設定": per slot a check box, an axis and a monitor item.
// OK stores all sixteen slots; Cancel stores nothing.
class TFMMultiMonitorSet : public QDialog
{
    Q_OBJECT
public:
    static constexpr int SlotCount = TDMMultiMonitorSet::SlotCount;

    TFMMultiMonitorSet(TAppContext &context, TMonitorTables &tables, QWidget *owner = nullptr);

    // The slots as the controls show them now.
    TDMMultiMonitorSet::TSlots Slots() const;
    TDMMultiMonitorSet &Module() { return dm; }

    std::array<QCheckBox *, SlotCount> chkbxNo{};
    std::array<QComboBox *, SlotCount> cmbbxAxis{};
    std::array<QComboBox *, SlotCount> cmbbxParam{};
    QDialogButtonBox *buttons;

public slots:
    void accept() override;

private:
    void FillItems(int slot, int axis, int page);
    void EnableSlot(int slot);

    TAppContext &ctx;
    TDMMultiMonitorSet dm;
};
