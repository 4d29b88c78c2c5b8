#include "app/FMProgressView.h"

#include "app/Busy.h"
#include "app/FMProgress.h"

TFMProgressView::TFMProgressView(QWidget *owner) : window(std::make_unique<TFMProgress>(owner)) {}

TFMProgressView::~TFMProgressView()
{
    EndSeries();
}

void TFMProgressView::Start(const QString &title, const QString &text, int max)
{
    if (!inSeries) {
        inSeries = true;
        TBusy::Enter();
    }
    window->SetTitle(title);
    window->SetText(text);
    window->SetMax(max);
    window->SetPosition(0);
    window->Show();
    window->Repaint();
}

void TFMProgressView::Step()
{
    window->Step();
}

void TFMProgressView::Finish()
{
    window->Hide();
    window->ShowCancel(false);
    window->ShowServoOff(false);
    EndSeries();
}

void TFMProgressView::EndSeries()
{
    if (inSeries) {
        inSeries = false;
        TBusy::Leave();
    }
}

void TFMProgressView::SetText(const QString &text)
{
    window->SetText(text);
    window->Repaint();
}

void TFMProgressView::SetMax(int max)
{
    window->SetMax(max);
}

void TFMProgressView::SetPosition(int position)
{
    window->SetPosition(position);
    window->Repaint();
}

int TFMProgressView::Position() const
{
    return window->Position();
}

void TFMProgressView::ShowButtons(bool cancel, bool servoOff)
{
    window->ShowCancel(cancel);
    window->ShowServoOff(servoOff);
    // A shown window takes its new height and button places at once.
    if (window->isVisible())
        window->Show();
}

int TFMProgressView::Request() const
{
    return window->Request();
}

void TFMProgressView::ClearRequest()
{
    window->SetRequest(TFMProgress::rqNone);
}

void TFMProgressView::Hide()
{
    window->Hide();
}

void TFMProgressView::Show()
{
    window->Show();
    window->Repaint();
}
