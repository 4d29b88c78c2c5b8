#pragma once

#include <functional>

class TDMEnvironment;
class TDMInterface;
class TDMMain;
class TDMTran;

// What the parameter windows share with the rest of the program: the
// settings, the definition loader, the main tables and the transaction
// layer, and the main window's answers about the line.
struct TParamContext {
    TDMEnvironment &env;
    TDMInterface &intf;
    TDMMain &dmMain;
    TDMTran &tran;
    // The lowest axis in use; none: the line goes offline and 0 comes back.
    std::function<int()> firstAxisInUse;
    // The main window is online.
    std::function<bool()> online;
    // The communication-state window (axes check); none: the action is off.
    std::function<void()> checkCommunication;

    // The lowest axis in use by the settings alone (tests, tools).
    int FirstAxisInUse() const;
};
