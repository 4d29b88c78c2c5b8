#include "direct/FMMakerMonitor.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QPushButton>

#include <algorithm>

TFMMakerMonitor::TFMMakerMonitor(TAppContext &context, QWidget *owner)
    : TFMMakerWindow(context, QStringLiteral("FMMakerMonitor"), QStringLiteral("Maker Parameter Monitor Mode"), owner)
{
    btnAddPlus8 = new QPushButton(QStringLiteral("&Add +8"), this);
    btnAddPlus8->setObjectName(QStringLiteral("btnAddPlus8"));
    btnAddPlus8->setAutoDefault(false);
    buttonRow->insertWidget(2, btnAddPlus8);
    connect(btnAddPlus8, &QPushButton::clicked, this,
            [this] { JumpTo(std::min<qint64>(qint64(Base()) + 8, TDMMakerDirect::MaxBase)); });

    // One-shot: the next read is timed only after this one has come back.
    tmrReadParam.setSingleShot(true);
    tmrReadParam.setInterval(PollMs);
    connect(&tmrReadParam, &QTimer::timeout, this, &TFMMakerMonitor::Tick);

    SetState(stNotConnected);
}

void TFMMakerMonitor::Execute(TAppContext &context, QWidget *owner)
{
    TFMMakerMonitor window(context, owner);
    window.exec();
}

void TFMMakerMonitor::StateChanged()
{
    btnAddPlus8->setEnabled(State() == stShown && Base() < TDMMakerDirect::MaxBase);
}

void TFMMakerMonitor::Jumped()
{
    polling = true;
    tmrReadParam.start();
}

void TFMMakerMonitor::StopWork()
{
    polling = false;
    tmrReadParam.stop();
}

void TFMMakerMonitor::Tick()
{
    tmrReadParam.stop();
    if (!polling)
        return;
    QCoreApplication::processEvents();
    // A disconnect, a jump or the close may have come in meanwhile.
    if (!polling || State() != stShown)
        return;
    TDMMakerDirect::TWords words{};
    if (!ReadPresent(words))
        return; // polling stays off
    if (!polling)
        return;
    for (int i = 0; i < 4; ++i)
        ShowPresent(i, words[size_t(i)]);
    tmrReadParam.start();
}

void TFMMakerMonitor::done(int result)
{
    StopWork();
    TFMMakerWindow::done(result);
}
