#include "comm/SerialDevices.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

// A fake system root with dev/ and sys/ as Linux lays them out.
class FakeRoot
{
public:
    QString Path(const QString &relative = QString()) const
    {
        return relative.isEmpty() ? QDir::cleanPath(dir.path()) : QDir::cleanPath(dir.filePath(relative));
    }
    void File(const QString &relative, const QByteArray &content = QByteArray()) const
    {
        QDir().mkpath(QFileInfo(Path(relative)).absolutePath());
        QFile f(Path(relative));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    void Link(const QString &relative, const QString &target) const
    {
        QDir().mkpath(QFileInfo(Path(relative)).absolutePath());
        ASSERT_TRUE(QFile::link(target, Path(relative)));
    }

private:
    QTemporaryDir dir;
};

TEST(SerialDevices, ListsPortsAdaptersAndStableNamesInNumberOrder)
{
    FakeRoot root;
    for (const char *name : {"ttyS0", "ttyS1", "ttyS2", "ttyS10", "ttyUSB1", "ttyUSB0", "ttyACM0",
                             // not serial adapters: consoles, pseudo-terminals, the port-less name
                             "tty", "tty1", "ttyprintk", "ttyS", "ttyUSB", "ptmx", "ttySX1"})
        root.File(QStringLiteral("dev/") + QLatin1String(name));
    // ttyS1 has no UART behind it; ttyS2 has one; ttyS0 and ttyS10 say nothing.
    root.File("sys/class/tty/ttyS1/type", "0\n");
    root.File("sys/class/tty/ttyS2/type", "4\n");
    root.Link("dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0", "../../ttyUSB0");
    // An absolute link points into the same tree.
    root.Link("dev/serial/by-id/usb-Arduino__www.arduino.cc__0043_7523230313535161C0B1-if00", "/dev/ttyACM0");
    // An adapter that was pulled leaves no device behind its link.
    root.Link("dev/serial/by-id/usb-Prolific_Technology_Inc._USB-Serial_Controller-if00-port0", "../../ttyUSB7");

    const QString dev = root.Path("dev");
    const QString ftdi = dev + "/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";
    const QString arduino = dev + "/serial/by-id/usb-Arduino__www.arduino.cc__0043_7523230313535161C0B1-if00";
    const QList<TSerialDevice> expected = {
        {dev + "/ttyS0", "", "", 1},
        {dev + "/ttyS2", "", "", 3},
        {dev + "/ttyS10", "", "", 11},
        {dev + "/ttyACM0", "Arduino www.arduino.cc 0043 7523230313535161C0B1", "", 0},
        {dev + "/ttyUSB0", "FTDI FT232R USB UART A50285BI", "", 0},
        {dev + "/ttyUSB1", "", "", 0},
        {arduino, "Arduino www.arduino.cc 0043 7523230313535161C0B1", dev + "/ttyACM0", 0},
        {ftdi, "FTDI FT232R USB UART A50285BI", dev + "/ttyUSB0", 0},
    };
    const QList<TSerialDevice> found = TSerialDevices::List(root.Path());
    ASSERT_EQ(found.size(), expected.size());
    for (qsizetype i = 0; i < found.size(); ++i) {
        EXPECT_EQ(found[i].path, expected[i].path) << i;
        EXPECT_EQ(found[i].name, expected[i].name) << i;
        EXPECT_EQ(found[i].target, expected[i].target) << i;
        EXPECT_EQ(found[i].port, expected[i].port) << i;
    }
}

TEST(SerialDevices, ARootWithoutDevicesListsNothing)
{
    FakeRoot root;
    EXPECT_TRUE(TSerialDevices::List(root.Path()).isEmpty());
    root.File("dev/null");
    EXPECT_TRUE(TSerialDevices::List(root.Path()).isEmpty());
}

TEST(SerialDevices, PortNumbersStopWhereTheSettingsCanHoldThem)
{
    FakeRoot root;
    root.File("dev/ttyS254");
    root.File("dev/ttyS255");
    const QList<TSerialDevice> found = TSerialDevices::List(root.Path());
    ASSERT_EQ(found.size(), 2);
    EXPECT_EQ(found[0].port, 255);
    EXPECT_EQ(found[1].port, 0) << "COM256 cannot be chosen: listed by its path";
}

TEST(SerialDevices, AdapterNameFromTheStableName)
{
    const struct {
        const char *link, *name;
    } cases[] = {
        {"usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0", "FTDI FT232R USB UART A50285BI"},
        {"usb-1a86_USB2.0-Serial-if00-port0", "1a86 USB2.0-Serial"},
        {"usb-Silicon_Labs_CP2102_USB_to_UART_Bridge_Controller_0001-if00-port0",
         "Silicon Labs CP2102 USB to UART Bridge Controller 0001"},
        {"usb-STMicroelectronics_STM32_Virtual_ComPort_6D8C35A05551-if00", "STMicroelectronics STM32 Virtual ComPort 6D8C35A05551"},
        {"pci-0000:00:16.3-port0", "0000:00:16.3"},
        {"my-own-name", "my-own-name"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TSerialDevices::AdapterName(QString::fromLatin1(c.link)), QString::fromLatin1(c.name)) << c.link;
}

} // namespace
