#pragma once

#include "app/Messenger.h"
#include "app/Progress.h"
#include "comm/TranAmp.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QTextStream>

#include <csignal>

// The engine that remembers why the last exchange failed, for the exit
// status.
class TRecordingAmp final : public TTranAmp
{
public:
    TTranResult Transact(uint8_t addressByte, const QByteArray &command, QByteArray &answer) override;
    TTranResult lastFailure = trOk;
};

class TCliProgress;

// Messages of the modules go to the error output, one line each; questions
// are answered by --yes, or declined with a hint.
class TCliMessenger final : public TMessenger
{
public:
    TCliMessenger(QTextStream &err, bool yes);
    ~TCliMessenger() override;
    TMsgAnswer Show(TMsgKind kind, const QString &text, TMsgButtons buttons, const QString &caption) override;
    int questions = 0;
    int declined = 0;
    // An unfinished progress line is ended before a message prints.
    TCliProgress *progress = nullptr;
    // Held: messages (not questions) are kept in held instead of printed;
    // the command says what went wrong in a line of its own.
    bool hold = false;
    QList<QPair<TMsgKind, QString>> held;
    // English for the questions the windows ask in Japanese.
    QHash<QString, QString> english;

private:
    QTextStream &err;
    bool yes;
};

// The progress of a series on the error output: the title, then the steps
// (a line each tenth, so a log stays short). Ctrl-C during a series is the
// progress window's button: "サーボオフ" when the series shows one (the
// motor comes to rest), else "中止"; a second Ctrl-C ends the program as
// usual.
class TCliProgress final : public TProgress
{
public:
    explicit TCliProgress(QTextStream &err);
    ~TCliProgress() override;

    void Start(const QString &title, const QString &text, int max) override;
    void Step() override;
    void Finish() override;
    void SetText(const QString &text) override;
    void SetMax(int max) override;
    void SetPosition(int position) override;
    int Position() const override { return position; }
    // Ends an unfinished progress line, so that the next line stands alone.
    void BreakLine() { EndLine(); }
    // English titles for the series' Japanese ones.
    QHash<QString, QString> titles;
    void ShowButtons(bool cancel, bool servoOff) override;
    int Request() const override;
    void ClearRequest() override;
    void Hide() override;
    void Show() override;

private:
    void Print();
    void EndLine();
    void Arm(bool on);

    QTextStream &err;
    QString title;
    int max = 0, position = 0, shown = -1;
    bool cancelButton = false, servoOffButton = false;
    bool armed = false;
    int cleared = 0; // interrupts counted when the request was last cleared
    struct sigaction previous {};
};
