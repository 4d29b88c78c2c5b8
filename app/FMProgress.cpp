#include "app/FMProgress.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <algorithm>

namespace {
constexpr int Margin = 8;
constexpr int ButtonWidth = 90;
constexpr int ButtonHeight = 28;
constexpr int ButtonGap = 16;
} // namespace

TFMProgress::TFMProgress(QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("FMProgress"));
    setModal(false);
    setFixedSize(ClientWidth, ClientHeight);

    lblMessage = new QLabel(this);
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    lblMessage->setGeometry(Margin, 12, ClientWidth - 2 * Margin, 24);

    ProgressBar = new QProgressBar(this);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar->setRange(0, 100);
    ProgressBar->setValue(0);
    ProgressBar->setTextVisible(false);
    ProgressBar->setGeometry(Margin, 48, ClientWidth - 2 * Margin, 22);

    btnServoOff = new QPushButton(tr("サーボオフ"), this);
    btnServoOff->setObjectName(QStringLiteral("btnServoOff"));
    btnServoOff->setAutoDefault(false);
    btnServoOff->hide();
    connect(btnServoOff, &QPushButton::clicked, this, [this] { request = rqServoOff; });

    btnCancel = new QPushButton(tr("中止"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setAutoDefault(false);
    btnCancel->hide();
    connect(btnCancel, &QPushButton::clicked, this, [this] { request = rqCancel; });
}

void TFMProgress::SetTitle(const QString &title) { setWindowTitle(title); }
void TFMProgress::SetText(const QString &text) { lblMessage->setText(text); }

void TFMProgress::SetMax(int max)
{
    ProgressBar->setMaximum(max < 0 ? 0 : max);
}

int TFMProgress::Max() const { return ProgressBar->maximum(); }

void TFMProgress::SetPosition(int position)
{
    ProgressBar->setValue(std::clamp(position, ProgressBar->minimum(), ProgressBar->maximum()));
}

int TFMProgress::Position() const { return ProgressBar->value(); }

void TFMProgress::Step()
{
    if (ProgressBar->value() < ProgressBar->maximum())
        ProgressBar->setValue(ProgressBar->value() + 1);
}

void TFMProgress::ShowCancel(bool show) { btnCancel->setVisible(show); }
void TFMProgress::ShowServoOff(bool show) { btnServoOff->setVisible(show); }
// isVisibleTo: the buttons count as shown while the window itself is hidden.
bool TFMProgress::CancelShown() const { return btnCancel->isVisibleTo(this); }
bool TFMProgress::ServoOffShown() const { return btnServoOff->isVisibleTo(this); }

void TFMProgress::Show()
{
    // The button row lies below the bar and needs the taller window; without
    // buttons the window goes back to its small size.
    const bool cancel = CancelShown();
    const bool servoOff = ServoOffShown();
    const bool anyButton = cancel || servoOff;
    setFixedSize(ClientWidth, anyButton ? ClientHeightWithButtons : ClientHeight);
    const int count = int(cancel) + int(servoOff);
    int x = (ClientWidth - count * ButtonWidth - (count - 1) * ButtonGap) / 2;
    const int y = 48 + 22 + (ClientHeightWithButtons - 70 - ButtonHeight) / 2;
    if (servoOff) {
        btnServoOff->setGeometry(x, y, ButtonWidth, ButtonHeight);
        x += ButtonWidth + ButtonGap;
    }
    if (cancel)
        btnCancel->setGeometry(x, y, ButtonWidth, ButtonHeight);
    CentreOverOwner();
    show();
}

void TFMProgress::Repaint()
{
    repaint();
}

void TFMProgress::Hide()
{
    hide();
}

void TFMProgress::CentreOverOwner()
{
    QRect area;
    if (QWidget *owner = parentWidget())
        area = owner->window()->frameGeometry();
    else if (QScreen *screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (area.isValid())
        move(area.center() - QPoint(width() / 2, height() / 2));
}

void TFMProgress::keyPressEvent(QKeyEvent *event)
{
    // Esc is the "中止" button when there is one; otherwise the user has no
    // way to dismiss the window.
    if (event->key() == Qt::Key_Escape) {
        if (btnCancel->isVisible() && btnCancel->isEnabled())
            btnCancel->click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFMProgress::closeEvent(QCloseEvent *event)
{
    event->ignore();
}

void TFMProgress::reject()
{
    // Only the owner hides the window (Hide).
}

void TFMProgress::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isVisible() && !isActiveWindow())
        QTimer::singleShot(0, this, &TFMProgress::ComeForward);
}

void TFMProgress::ComeForward()
{
    if (!isVisible() || isActiveWindow())
        return;
    // Stay in front of the owner, but never over a message box or a modal
    // window that was opened during the series: the user must answer that.
    if (QWidget *modal = QApplication::activeModalWidget()) {
        bool isOwner = false;
        for (QWidget *w = parentWidget(); w; w = w->parentWidget())
            isOwner |= w->window() == modal;
        if (!isOwner)
            return;
    }
    raise();
    activateWindow();
}
