#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

// The small modeless window shown while a module runs a series of amplifier
// commands. It does nothing itself: the owner drives it between transactions
// and looks at Request() when it chooses. The user cannot close it; the two
// optional buttons only set the request.
class TFMProgress : public QDialog
{
    Q_OBJECT
public:
    enum TRequest { rqNone = 0, rqCancel = 1, rqServoOff = 2 };

    explicit TFMProgress(QWidget *owner = nullptr);

    void SetTitle(const QString &title);
    void SetText(const QString &text);
    void SetMax(int max);
    int Max() const;
    void SetPosition(int position);
    int Position() const;
    // Advances the bar by one, but never beyond its maximum.
    void Step();

    // Shows the window without making it modal, centred over its owner.
    void Show();
    void Repaint();
    void Hide();

    void ShowCancel(bool show);
    void ShowServoOff(bool show);
    bool CancelShown() const;
    bool ServoOffShown() const;

    // 0 nothing pressed, 1 "中止", 2 "サーボオフ"; the last press wins. Only
    // the caller clears it.
    int Request() const { return request; }
    void SetRequest(int value) { request = value; }

    QLabel *lblMessage;
    QProgressBar *ProgressBar;
    QPushButton *btnCancel;
    QPushButton *btnServoOff;

    static constexpr int ClientWidth = 305;
    static constexpr int ClientHeight = 93;
    static constexpr int ClientHeightWithButtons = 150;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void reject() override;

private:
    void CentreOverOwner();
    void ComeForward();

    int request = rqNone;
};
