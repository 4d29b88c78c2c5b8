#pragma once

#include <QString>

// The one way the core says something to the user. The windows install an
// implementation with message boxes; the tests install a recorder that answers
// from a script. Data modules and the transaction layer only ever talk to this.
enum class TMsgKind { Information, Warning, Error, Question };
// YesNoDefaultNo: a risky question whose default button (Enter) is No.
enum class TMsgButtons { Ok, OkCancel, YesNo, YesNoCancel, YesNoDefaultNo };
enum class TMsgAnswer { Ok, Cancel, Yes, No };

class TMessenger
{
public:
    virtual ~TMessenger() = default;

    // Shows one modal message and returns the button the user pressed.
    // An empty caption means the program's title.
    virtual TMsgAnswer Show(TMsgKind kind, const QString &text, TMsgButtons buttons,
                            const QString &caption = QString()) = 0;

    // Closes every message box that is open (the cable watch and run windows
    // that lose communication need this); each closed box answers Cancel/No.
    virtual void CloseAll() {}

    void Warning(const QString &text, const QString &caption = QString())
    {
        Show(TMsgKind::Warning, text, TMsgButtons::Ok, caption);
    }
    void Error(const QString &text, const QString &caption = QString())
    {
        Show(TMsgKind::Error, text, TMsgButtons::Ok, caption);
    }
    void Information(const QString &text, const QString &caption = QString())
    {
        Show(TMsgKind::Information, text, TMsgButtons::Ok, caption);
    }
    bool AskOkCancel(const QString &text, const QString &caption = QString())
    {
        return Show(TMsgKind::Question, text, TMsgButtons::OkCancel, caption) == TMsgAnswer::Ok;
    }
    bool AskYesNo(const QString &text, const QString &caption = QString())
    {
        return Show(TMsgKind::Question, text, TMsgButtons::YesNo, caption) == TMsgAnswer::Yes;
    }
    bool AskYesNoDefaultNo(const QString &text, const QString &caption = QString())
    {
        return Show(TMsgKind::Question, text, TMsgButtons::YesNoDefaultNo, caption) == TMsgAnswer::Yes;
    }

    // The process-wide messenger. Without one installed, messages go to the
    // error output and questions answer with their negative button.
    static TMessenger &Instance();
    static void SetInstance(TMessenger *messenger);
};
