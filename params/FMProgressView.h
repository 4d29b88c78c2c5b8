#pragma once

#include "params/Progress.h"

#include <memory>

class QWidget;
class TFMProgress;

// The progress window as the data modules drive it. The window is created
// once with its owner and lives as long as the view.
class TFMProgressView final : public TProgress
{
public:
    explicit TFMProgressView(QWidget *owner);
    ~TFMProgressView() override;

    void Start(const QString &title, const QString &text, int max) override;
    void Step() override;
    void Finish() override;

    TFMProgress &Window() { return *window; }

private:
    std::unique_ptr<TFMProgress> window;
};
