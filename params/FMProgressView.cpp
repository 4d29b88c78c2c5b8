#include "params/FMProgressView.h"

#include "app/FMProgress.h"

TFMProgressView::TFMProgressView(QWidget *owner) : window(std::make_unique<TFMProgress>(owner)) {}

TFMProgressView::~TFMProgressView() = default;

void TFMProgressView::Start(const QString &title, const QString &text, int max)
{
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
}
