#pragma once

#include <QList>
#include <QString>

#include <functional>

class QAction;
class TFMMain;
struct TAppContext;

// The one place that says which window each action of the main window opens.
// Every window of a later subsystem adds its row to Table(); an action with
// no row stays disabled with a hint that the function is not there yet.
class TFMOpeners
{
public:
    struct TEntry {
        QAction *action;
        // objectName of the window that opens (the cable watch closes by it).
        QString windowName;
        // Kind or type number of the shared run and adjustment windows (the
        // window's property "kind"); -1 for the others.
        int kind;
        std::function<void(TFMMain &)> open;
        // Takes the line online first (the direct-mode windows).
        bool online = false;
    };

    // The rows for a main window and the program's shared context.
    static QList<TEntry> Table(TFMMain &main, TAppContext &context);
    // Registers every row's opener with the main window.
    static void Register(TFMMain &main, TAppContext &context);
    // The hint of an action whose window is not there yet.
    static QString NotAvailableHint();
};
