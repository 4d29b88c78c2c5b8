#include "app/cli/CliCommand.h"

TCliCommand CliMotorCommand();

// Each data-module command of tuvanta-cli, in help order. A command lives in
// its own file (CliMonitor.cpp, ...) and offers a function that returns its
// TCliCommand; list it here once.
const QList<TCliCommand> &CliCommands()
{
    static const QList<TCliCommand> commands = {
        CliMotorCommand(),
    };
    return commands;
}
