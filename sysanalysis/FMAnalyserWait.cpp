#include "sysanalysis/FMAnalyserWait.h"

#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

TFMAnalyserWait::TFMAnalyserWait(QWidget *o) : owner(o) {}

TFMAnalyserWait::~TFMAnalyserWait()
{
    End();
}

void TFMAnalyserWait::Begin()
{
    cancelled = false;
    if (owner)
        owner->setEnabled(false);
    box = new QMessageBox(QMessageBox::Information, QString(), TDMMachine::WaitText(0).replace(u'\r', QString()),
                          QMessageBox::Cancel);
    box->setObjectName(QStringLiteral("AnalyserWait"));
    box->setAttribute(Qt::WA_DeleteOnClose, false);
    box->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    box->setWindowModality(Qt::ApplicationModal);
    QObject::connect(box, &QMessageBox::finished, box, [this](int) { cancelled = true; });
    box->show();
    if (const QScreen *screen = box->screen())
        box->move(screen->geometry().center() - box->rect().center());
}

bool TFMAnalyserWait::Step(int seconds)
{
    if (box && !cancelled)
        box->setText(TDMMachine::WaitText(seconds).replace(u'\r', QString()));
    return !cancelled;
}

void TFMAnalyserWait::End()
{
    if (box) {
        box->disconnect();
        box->hide();
        box->deleteLater();
        box = nullptr;
    }
    if (owner)
        owner->setEnabled(true);
}
