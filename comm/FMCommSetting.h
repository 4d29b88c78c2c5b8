#pragma once

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QToolButton;
class TDMEnvironment;
struct TSerialDevice;

// "通信設定": port, bit rate and the axes to use. Only OK changes the settings.
class TFMCommSetting : public QDialog
{
    Q_OBJECT
public:
    // devicesRoot: the folder whose dev/ is searched for serial devices
    // ("/"; tests give a fake tree).
    TFMCommSetting(QWidget *owner, TDMEnvironment &environment,
                   const QString &devicesRoot = QStringLiteral("/"));

    // The ports offered: COM1 to COM255. The serial component holds the port
    // number in 8 bits, so COM256 could never be opened and is not offered.
    static constexpr int PortCount = 255;
    static const QList<int> &BaudRates();
    // " 9600 bps" and the like, as listed.
    static QString BaudRateText(int rate);
    // How a found device is listed: "COM1    /dev/ttyS0", "/dev/ttyUSB0    FTDI ...",
    // "FTDI ...    /dev/serial/by-id/...".
    static QString DeviceText(const TSerialDevice &device);

    QComboBox *cboxPort;
    QComboBox *cboxBaudRate;
    QLineEdit *edtDevice;
    // The serial devices that exist; picking one fills the port or the
    // device path. Listed anew by btnRefresh (an adapter plugged in later).
    QComboBox *cboxDevices;
    QToolButton *btnRefresh;
    std::array<QCheckBox *, 15> cboxAxis{};

public slots:
    void accept() override;

private:
    void ListDevices();
    void PickDevice(int index);

    TDMEnvironment &env;
    QString devicesRoot;
};
