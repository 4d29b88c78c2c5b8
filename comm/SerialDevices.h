#pragma once

#include <QList>
#include <QString>

// One serial device found on this system.
struct TSerialDevice
{
    QString path;     // what to open: /dev/ttyUSB0, /dev/serial/by-id/usb-...
    QString name;     // the adapter's name, when the system gives one
    QString target;   // for a stable name: the device it points to
    int port = 0;     // the COM number that opens it (ttyS0 is 1), 0 for none
    bool Stable() const { return !target.isEmpty(); }
    bool operator==(const TSerialDevice &) const = default;
};

// The serial devices that exist: built-in ports /dev/ttyS* (those with a
// UART behind them), USB adapters /dev/ttyUSB* and /dev/ttyACM*, and the
// stable names under /dev/serial/by-id/ that keep naming the same adapter
// whatever order they were plugged in. The adapter's name comes from its
// stable name.
class TSerialDevices
{
public:
    // root is the folder that holds dev/ and sys/ ("/" on a running system;
    // tests give a fake tree). Paths in the result start with root.
    // Built-in ports first, then adapters, then stable names; each group in
    // numeric order.
    static QList<TSerialDevice> List(const QString &root = QStringLiteral("/"));

    // "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0" -> "FTDI FT232R USB UART A50285BI".
    static QString AdapterName(const QString &byIdName);
};
