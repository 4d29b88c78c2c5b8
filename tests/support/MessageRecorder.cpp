#include "MessageRecorder.h"

TMessageRecorder::TMessageRecorder()
{
    TMessenger::SetInstance(this);
}

TMessageRecorder::~TMessageRecorder()
{
    TMessenger::SetInstance(nullptr);
}

TMsgAnswer TMessageRecorder::Show(TMsgKind kind, const QString &text, TMsgButtons buttons,
                                  const QString &caption)
{
    entries.append({kind, text, buttons, caption});
    if (buttons == TMsgButtons::Ok)
        return TMsgAnswer::Ok;
    if (!script.empty()) {
        TMsgAnswer a = script.front();
        script.pop_front();
        return a;
    }
    return defaultAnswer;
}

QStringList TMessageRecorder::Texts() const
{
    QStringList out;
    for (const TEntry &e : entries)
        out << e.text;
    return out;
}

int TMessageRecorder::Count(TMsgKind kind) const
{
    int n = 0;
    for (const TEntry &e : entries)
        n += e.kind == kind;
    return n;
}
