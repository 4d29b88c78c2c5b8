#pragma once

#include "app/Messenger.h"

#include <QList>
#include <QString>
#include <deque>

// Stands in for the message boxes in tests: records every message and answers
// questions from a script (then from a default). Installs itself while alive.
class TMessageRecorder final : public TMessenger
{
public:
    struct TEntry {
        TMsgKind kind;
        QString text;
        TMsgButtons buttons;
        QString caption;
    };

    TMessageRecorder();
    ~TMessageRecorder() override;

    TMsgAnswer Show(TMsgKind kind, const QString &text, TMsgButtons buttons,
                    const QString &caption) override;
    void CloseAll() override { ++closeAllCount; }

    // Answers given in order to the next questions; afterwards defaultAnswer.
    void Script(std::initializer_list<TMsgAnswer> answers) { script.insert(script.end(), answers); }

    QList<TEntry> entries;
    TMsgAnswer defaultAnswer = TMsgAnswer::Ok;
    int closeAllCount = 0;

    QStringList Texts() const;
    int Count(TMsgKind kind) const;
    void Clear() { entries.clear(); }

private:
    std::deque<TMsgAnswer> script;
};
