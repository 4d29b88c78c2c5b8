#pragma once

#include <functional>

class TDMEnvironment;
class TDMInterface;
class TDMMain;
class TDMTran;
class TTranAmp;

// What every window and data module shares with the rest of the program: the
// settings, the definition loader, the main tables, the transaction layer
// (and through it the one protocol engine), and the main window's answers
// about the line. Created once by the program (or a test) and handed down by
// reference; it owns nothing.
struct TAppContext {
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
    // Takes the line online when it is not (the direct-mode windows); true
    // when it is online afterwards. None: true when online() says so.
    std::function<bool()> goOnline;

    // The lowest axis in use: the main window's answer, or by the settings
    // alone when there is no main window (tests, tools).
    int FirstAxisInUse() const;
    bool Online() const { return online && online(); }
    bool GoOnline() const { return goOnline ? goOnline() : Online(); }
    // The protocol engine, for the callers that talk to it directly (direct
    // mode, release of axes); nullptr before the program created it.
    TTranAmp *Engine() const;
};
