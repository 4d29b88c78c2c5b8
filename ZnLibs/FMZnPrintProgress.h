#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

// The print progress window, on top of all windows. Preparing pages shows
// "印刷準備中" without a button; printing shows "印刷中" with "ｷｬﾝｾﾙ", which
// only sets a request that the printing loop looks at between pages. The bar
// shows only when a page count is given.
class TFMZnPrintProgress : public QDialog
{
    Q_OBJECT
public:
    enum TMode { pmPreparing, pmPrinting };

    explicit TFMZnPrintProgress(QWidget *owner = nullptr);

    // Shows the window in a mode; count > 0 shows the bar with that maximum.
    void Start(TMode mode, int count = 0);
    void Step();
    void Finish();
    bool Cancelled() const { return cancelled; }
    TMode Mode() const { return mode; }

    QLabel *lblMessage;
    QProgressBar *ProgressBar;
    QPushButton *btnCancel;

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    TMode mode = pmPreparing;
    bool cancelled = false;
};
