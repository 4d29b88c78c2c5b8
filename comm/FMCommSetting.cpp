#include "comm/FMCommSetting.h"

#include "app/DMEnvironment.h"
#include "comm/Comm.h"
#include "comm/SerialDevices.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QAbstractItemView>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

const QList<int> &TFMCommSetting::BaudRates()
{
    static const QList<int> rates = {1200, 2400, 4800, 9600, 19200, 38400, 57600};
    return rates;
}

QString TFMCommSetting::BaudRateText(int rate)
{
    return QStringLiteral("%1 bps").arg(rate, 5);
}

QString TFMCommSetting::DeviceText(const TSerialDevice &device)
{
    const QString gap = QStringLiteral("    ");
    if (device.port > 0)
        return QStringLiteral("COM%1").arg(device.port) + gap + device.path;
    if (device.Stable())
        return (device.name.isEmpty() ? device.target : device.name) + gap + device.path;
    return device.name.isEmpty() ? device.path : device.path + gap + device.name;
}

TFMCommSetting::TFMCommSetting(QWidget *owner, TDMEnvironment &environment, const QString &devicesRoot)
    : QDialog(owner), env(environment), devicesRoot(devicesRoot)
{
    setObjectName(QStringLiteral("FMCommSetting"));
    setWindowTitle(tr("通信設定"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    // Each entry names the device it opens, so the COM numbers mean
    // something on this system too.
    cboxPort = new QComboBox(this);
    cboxPort->setObjectName(QStringLiteral("cboxPort"));
    for (int port = 1; port <= PortCount; ++port)
        cboxPort->addItem(QStringLiteral("COM%1    %2").arg(port).arg(TComm::PortDeviceName(port)), port);
    cboxPort->setCurrentIndex(env.CommPort >= 1 && env.CommPort <= PortCount ? env.CommPort - 1 : -1);
    cboxPort->setMaxVisibleItems(16);

    // A device path given here (or in the settings file) is opened instead of
    // the port's device: a USB adapter, the simulator's link.
    edtDevice = new QLineEdit(env.CommDevice, this);
    edtDevice->setObjectName(QStringLiteral("edtDevice"));
    edtDevice->setPlaceholderText(tr("ポート番号のデバイスを使用"));
    edtDevice->setClearButtonEnabled(true);
    // Wide enough for the path it holds (a simulator link is long), within reason.
    const QFontMetrics fm(edtDevice->font());
    const int wanted = std::max(fm.horizontalAdvance(QStringLiteral("/dev/serial/by-id/usb-0000")),
                                fm.horizontalAdvance(env.CommDevice) + 48);
    edtDevice->setMinimumWidth(std::min(wanted, 560));
    edtDevice->setToolTip(env.CommDevice);
    auto followDevice = [this] { cboxPort->setEnabled(edtDevice->text().trimmed().isEmpty()); };
    connect(edtDevice, &QLineEdit::textChanged, this, followDevice);
    followDevice();

    cboxDevices = new QComboBox(this);
    cboxDevices->setObjectName(QStringLiteral("cboxDevices"));
    // Long adapter names must not widen the dialog; the open list shows them whole.
    cboxDevices->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cboxDevices->setMinimumContentsLength(28);
    connect(cboxDevices, &QComboBox::activated, this, &TFMCommSetting::PickDevice);
    btnRefresh = new QToolButton(this);
    btnRefresh->setObjectName(QStringLiteral("btnRefresh"));
    btnRefresh->setText(tr("更新"));
    btnRefresh->setToolTip(tr("接続されているシリアルデバイスを探し直します"));
    connect(btnRefresh, &QToolButton::clicked, this, &TFMCommSetting::ListDevices);
    ListDevices();
    auto *found = new QHBoxLayout;
    found->setContentsMargins(0, 0, 0, 0);
    found->addWidget(cboxDevices, 1);
    found->addWidget(btnRefresh);

    cboxBaudRate = new QComboBox(this);
    cboxBaudRate->setObjectName(QStringLiteral("cboxBaudRate"));
    for (int rate : BaudRates())
        cboxBaudRate->addItem(BaudRateText(rate), rate);
    cboxBaudRate->setCurrentIndex(int(BaudRates().indexOf(env.BaudRate)));

    auto *line = new QGroupBox(tr("通信ポート"), this);
    auto *form = new QFormLayout(line);
    form->addRow(tr("ポート"), cboxPort);
    form->addRow(tr("検出されたデバイス"), found);
    form->addRow(tr("デバイス"), edtDevice);
    form->addRow(tr("通信速度"), cboxBaudRate);

    auto *axes = new QGroupBox(tr("軸番号選択"), this);
    auto *grid = new QGridLayout(axes);
    for (int axis = 1; axis <= 15; ++axis) {
        auto *box = new QCheckBox(QStringLiteral("#%1").arg(QString::number(axis, 16).toUpper()), axes);
        box->setObjectName(QStringLiteral("cboxAxis%1").arg(QString::number(axis, 16).toUpper()));
        box->setChecked(env.UseAxis(axis));
        cboxAxis[size_t(axis - 1)] = box;
        grid->addWidget(box, (axis - 1) / 5, (axis - 1) % 5);
    }

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TFMCommSetting::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(line);
    layout->addWidget(axes);
    layout->addWidget(buttons);
    setFixedSize(sizeHint());
}

void TFMCommSetting::accept()
{
    // A stored port that the list does not offer stays as it was.
    if (cboxPort->currentIndex() >= 0)
        env.CommPort = cboxPort->currentIndex() + 1;
    env.CommDevice = edtDevice->text().trimmed();
    const int rate = cboxBaudRate->currentIndex();
    env.BaudRate = rate >= 0 ? BaudRates().at(rate) : 9600;
    for (int axis = 1; axis <= 15; ++axis)
        env.SetUseAxis(axis, cboxAxis[size_t(axis - 1)]->isChecked());
    QDialog::accept();
}

void TFMCommSetting::ListDevices()
{
    const QList<TSerialDevice> devices = TSerialDevices::List(devicesRoot);
    cboxDevices->clear();
    for (const TSerialDevice &d : devices) {
        cboxDevices->addItem(DeviceText(d), d.path);
        cboxDevices->setItemData(cboxDevices->count() - 1, d.port, Qt::UserRole + 1);
        cboxDevices->setItemData(cboxDevices->count() - 1, d.path, Qt::ToolTipRole);
    }
    // Nothing is picked until the user picks: the port and path above stay.
    cboxDevices->setCurrentIndex(-1);
    cboxDevices->setPlaceholderText(devices.isEmpty() ? tr("シリアルデバイスが見つかりません")
                                                      : tr("一覧から選択"));
    cboxDevices->setEnabled(!devices.isEmpty());
    int wide = 0;
    const QFontMetrics fm(cboxDevices->view()->font());
    for (int i = 0; i < cboxDevices->count(); ++i)
        wide = std::max(wide, fm.horizontalAdvance(cboxDevices->itemText(i)));
    cboxDevices->view()->setMinimumWidth(std::min(wide + 40, 900));
}

void TFMCommSetting::PickDevice(int index)
{
    if (index < 0)
        return;
    // A built-in port is chosen by its number, as the settings always held
    // it; anything else by its path.
    const int port = cboxDevices->itemData(index, Qt::UserRole + 1).toInt();
    if (port >= 1 && port <= PortCount) {
        edtDevice->clear();
        cboxPort->setCurrentIndex(port - 1);
    } else {
        edtDevice->setText(cboxDevices->itemData(index).toString());
    }
}
