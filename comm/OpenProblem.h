#pragma once

#include <QString>

// Why a serial device could not be opened, in words a user can act on: a
// device the user may not open names the group that owns it and the command
// that adds the user to that group; a device that is gone or busy says so.
// Every text names the device path that was tried.
class TOpenProblem
{
public:
    enum class TKind { Denied, Missing, Busy, Other };

    // device: the path that was tried; error: the errno of the open (0 or
    // negative when unknown). Looks up the device's owner group at once.
    TOpenProblem(const QString &device, int error);

    TKind Kind() const { return kind; }
    QString Device() const { return device; }
    // The group that owns the device ("dialout"), empty when unknown.
    QString Group() const { return group; }
    // The group may read and write the device: joining it helps.
    bool GroupMayOpen() const { return groupMayOpen; }
    // "sudo usermod -aG dialout USER", empty unless the device was denied
    // and its group is known.
    QString Command() const;

    // For the windows (translated texts, several sentences).
    QString Text() const;
    // For tuvanta-cli: English, one paragraph for the error output.
    QString PlainText() const;

private:
    QString device;
    int error;
    TKind kind;
    QString group;
    QString user;
    bool groupMayOpen = false;
};
