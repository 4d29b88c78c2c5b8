#pragma once

#include "app/Progress.h"

#include <memory>

class QWidget;
class TFMProgress;

// The progress window as the data modules drive it. The window is created
// once with its owner and lives as long as the view. While a series is shown
// the program counts as busy (user input to the other windows is dropped,
// see TBusy), so the window's buttons are the only input that gets through.
class TFMProgressView final : public TProgress
{
public:
    explicit TFMProgressView(QWidget *owner);
    ~TFMProgressView() override;

    void Start(const QString &title, const QString &text, int max) override;
    void Step() override;
    void Finish() override;
    void SetText(const QString &text) override;
    void SetMax(int max) override;
    void SetPosition(int position) override;
    int Position() const override;
    void ShowButtons(bool cancel, bool servoOff) override;
    int Request() const override;
    void ClearRequest() override;
    void Hide() override;
    void Show() override;

    TFMProgress &Window() { return *window; }

private:
    void EndSeries();

    std::unique_ptr<TFMProgress> window;
    bool inSeries = false;
};
