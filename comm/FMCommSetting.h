#pragma once

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QLineEdit;
class TDMEnvironment;

// "通信設定": port, bit rate and the axes to use. Only OK changes the settings.
class TFMCommSetting : public QDialog
{
    Q_OBJECT
public:
    TFMCommSetting(QWidget *owner, TDMEnvironment &environment);

    // The ports offered: COM1 to COM255. The serial component holds the port
    // number in 8 bits, so COM256 could never be opened and is not offered.
    static constexpr int PortCount = 255;
    static const QList<int> &BaudRates();
    // " 9600 bps" and the like, as listed.
    static QString BaudRateText(int rate);

    QComboBox *cboxPort;
    QComboBox *cboxBaudRate;
    QLineEdit *edtDevice;
    std::array<QCheckBox *, 15> cboxAxis{};

public slots:
    void accept() override;

private:
    TDMEnvironment &env;
};
