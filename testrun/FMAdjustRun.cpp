#include "testrun/FMAdjustRun.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyle>
#include <QVBoxLayout>

TFMAdjustRun::TFMAdjustRun(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("FMAdjustRun"));
    setWindowFlags((windowFlags() | Qt::CustomizeWindowHint) & ~Qt::WindowContextHelpButtonHint);
    setModal(false);

    auto *top = new QVBoxLayout(this);
    auto *row = new QHBoxLayout;
    lblIcon = new QLabel(this);
    const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    lblIcon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, this).pixmap(size, size));
    lblIcon->setAlignment(Qt::AlignTop);
    lblText = new QLabel(this);
    lblText->setObjectName(QStringLiteral("lblText"));
    lblText->setMinimumWidth(320);
    lblText->setWordWrap(true);
    row->addWidget(lblIcon);
    row->addWidget(lblText, 1);
    top->addLayout(row);

    lblElapsed = new QLabel(this);
    lblElapsed->setObjectName(QStringLiteral("lblElapsed"));
    lblElapsed->setVisible(false);
    top->addWidget(lblElapsed);

    auto *buttons = new QHBoxLayout;
    btnCancel = new QPushButton(tr("Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setVisible(false);
    buttons->addStretch(1);
    buttons->addWidget(btnCancel);
    buttons->addStretch(1);
    top->addLayout(buttons);

    connect(btnCancel, &QPushButton::clicked, this, &TFMAdjustRun::CancelPressed);
    tmrElapsed.setInterval(1000);
    connect(&tmrElapsed, &QTimer::timeout, this, &TFMAdjustRun::Tick);
    UpdateElapsed();
}

TFMAdjustRun::~TFMAdjustRun() = default;

void TFMAdjustRun::ShowElapsed(bool on)
{
    lblElapsed->setVisible(on);
}

void TFMAdjustRun::Start(const QString &title, const QString &text, int maxSteps)
{
    setWindowTitle(title);
    lblText->setText(text);
    max = maxSteps;
    position = 0;
    elapsed = 0;
    UpdateElapsed();
    running = true;
    tmrElapsed.start();
    adjustSize();
    QDialog::show();
    raise();
    activateWindow();
}

void TFMAdjustRun::Finish()
{
    running = false;
    tmrElapsed.stop();
    cancelOffered = false;
    btnCancel->setVisible(false);
    QDialog::hide();
}

void TFMAdjustRun::SetText(const QString &text)
{
    lblText->setText(text);
}

void TFMAdjustRun::ShowButtons(bool cancel, bool)
{
    // The run windows have no servo-off button of their own.
    cancelOffered = cancel;
    btnCancel->setVisible(cancel);
}

void TFMAdjustRun::Hide()
{
    QDialog::hide();
}

void TFMAdjustRun::Show()
{
    if (running)
        QDialog::show();
}

void TFMAdjustRun::CancelPressed()
{
    if (cancelOffered && running)
        request = rqCancel;
}

void TFMAdjustRun::Tick()
{
    ++elapsed;
    UpdateElapsed();
}

void TFMAdjustRun::UpdateElapsed()
{
    lblElapsed->setText(tr("経過時間:%1秒").arg(elapsed));
}

void TFMAdjustRun::closeEvent(QCloseEvent *event)
{
    // The close box is the cancel button when there is one; the owner's loop
    // ends the run and hides the window. A program close (the cable watch)
    // just hides it: the loop's next command fails and ends the run.
    if (event->spontaneous() && running) {
        CancelPressed();
        event->ignore();
        return;
    }
    running = false;
    tmrElapsed.stop();
    QDialog::closeEvent(event);
}

void TFMAdjustRun::reject()
{
    // Escape: like the close box.
    if (running) {
        CancelPressed();
        return;
    }
    QDialog::reject();
}

void TFMAdjustRun::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    // Losing the focus while shown: come back to the front, so the run
    // cannot be hidden behind its owner.
    const QWidget *modal = QApplication::activeModalWidget();
    if (event->type() == QEvent::ActivationChange && running && isVisible() && !isActiveWindow()
        && (!modal || modal == parentWidget()))
        QMetaObject::invokeMethod(this, [this] {
            if (running && isVisible()) {
                raise();
                activateWindow();
            }
        }, Qt::QueuedConnection);
}
