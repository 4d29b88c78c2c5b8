#include "app/cli/CliCommand.h"

TCliCommand CliMonitor();
TCliCommand CliTraceCommand();

// Each data-module command of tuvanta-cli, in help order. A command lives in
// its own file (CliMonitor.cpp, ...) and offers a function that returns its
// TCliCommand; list it here once.
TCliCommand CliAlarmsCommand();
TCliCommand CliAlarmResetCommand();

const QList<TCliCommand> &CliCommands()
{
    static const QList<TCliCommand> commands = {
        CliMonitor(),
        CliAlarmsCommand(),
        CliAlarmResetCommand(),
        CliTraceCommand(),
    };
    return commands;
}
