#include "app/cli/CliCommand.h"

// Each data-module command of tuvanta-cli, in help order. A command lives in
// its own file (CliMonitor.cpp, ...) and offers a function that returns its
// TCliCommand; list it here once.
TCliCommand CliMonitor();
TCliCommand CliAlarmsCommand();
TCliCommand CliAlarmResetCommand();
TCliCommand CliTraceCommand();
TCliCommand CliMotorCommand();
TCliCommand CliAnalyseCommand();
TCliCommand CliVerifyCommand();
TCliCommand CliReportCommand();
TCliCommand CliTuneCommand();

const QList<TCliCommand> &CliCommands()
{
    static const QList<TCliCommand> commands = {
        CliMonitor(),
        CliAlarmsCommand(),
        CliAlarmResetCommand(),
        CliTraceCommand(),
        CliMotorCommand(),
        CliAnalyseCommand(),
        CliVerifyCommand(),
        CliReportCommand(),
        CliTuneCommand(),
    };
    return commands;
}
