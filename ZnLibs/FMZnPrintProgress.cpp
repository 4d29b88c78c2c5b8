#include "ZnLibs/FMZnPrintProgress.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

TFMZnPrintProgress::TFMZnPrintProgress(QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("FMZnPrintProgress"));
    lblMessage = new QLabel(this);
    lblMessage->setAlignment(Qt::AlignCenter);
    ProgressBar = new QProgressBar(this);
    ProgressBar->setTextVisible(false);
    btnCancel = new QPushButton(tr("ｷｬﾝｾﾙ"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    connect(btnCancel, &QPushButton::clicked, this, [this] { cancelled = true; });

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnCancel);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblMessage);
    layout->addWidget(ProgressBar);
    layout->addLayout(buttons);
    setMinimumWidth(300);
    // While pages go out, the windows below take no input: only "ｷｬﾝｾﾙ".
    setWindowModality(Qt::ApplicationModal);
}

void TFMZnPrintProgress::Start(TMode value, int count)
{
    mode = value;
    cancelled = false;
    if (mode == pmPreparing) {
        setWindowTitle(tr("印刷準備中"));
        lblMessage->setText(tr("印刷準備中です。お待ちください。"));
    } else {
        setWindowTitle(tr("印刷中"));
        lblMessage->setText(tr("印刷中です。お待ちください。"));
    }
    btnCancel->setVisible(mode == pmPrinting);
    ProgressBar->setVisible(count > 0);
    ProgressBar->setRange(0, qMax(count, 1));
    ProgressBar->setValue(0);
    adjustSize();
    show();
    raise();
    // Paint it now: the work that follows does not return to the event loop.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TFMZnPrintProgress::Step()
{
    if (ProgressBar->value() < ProgressBar->maximum())
        ProgressBar->setValue(ProgressBar->value() + 1);
}

void TFMZnPrintProgress::Finish()
{
    hide();
}

void TFMZnPrintProgress::closeEvent(QCloseEvent *event)
{
    // Only the cancel button ends a print; the window itself stays.
    event->ignore();
}

void TFMZnPrintProgress::reject()
{
    if (mode == pmPrinting)
        cancelled = true;
}
