#pragma once

#include "params/DMSystemParameter.h"

// The data behind the motor parameter window: the model's rows without a
// group, among them the motor parameters (type LEVEL 200) that a motor file
// fills, and the system items that describe the present combination.
class TDMMotorParameter : public TDMSystemParameter
{
public:
    TDMMotorParameter(TDMInterface &loader, TDMMain &mainTables, TDMEnvironment &environment, TDMTran &tran);

    // As the system module, with the items of the motor window; clears the
    // motor type text.
    bool ReadFromAmplifier(int axis) override;
    // As the system module; every input is cleared afterwards.
    bool LoadFromFile(const QString &fileName) override;
    // Every motor parameter that has an input, also one equal to its value.
    bool WriteToAmplifier(int axis) override;
    bool SaveToFile(const QString &fileName) override;
    // A motor file taken into the inputs counts as a change even where it
    // equals the amplifier: writing it sends the whole set.
    bool HasChanges() const override;

    // Takes a motor file into the inputs of the motor parameters. A broken
    // file is reported as corrupt, one of another size as of another kind;
    // either leaves the inputs as they were.
    bool LoadMotorFile(const QString &fileName);
    QString MotorType() const { return motorType; }
    // The IDs of the motor parameters, comma-separated ("" for none).
    QString MotorList() const { return motorList; }
    int MotorParameterCount();

    // "TEXT.mp0" from the motor grid: its input, or its value without one.
    QString PreselectedFile() const;

    TParameterGrid SystemGrid() const;
    TParameterGrid MotorGrid() const;

protected:
    void TablesOpened() override;
    QString ModelFilter(int key) const override;
    QStringList ReadOrder() const override;

private:
    // Restricts the current rows to the motor parameters until destroyed.
    class TMotorRows;

    QString motorList;
    QString motorType;
};
