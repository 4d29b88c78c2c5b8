#include "app/Messenger.h"

#include <cstdio>

namespace {

class TStderrMessenger final : public TMessenger
{
public:
    TMsgAnswer Show(TMsgKind kind, const QString &text, TMsgButtons buttons,
                    const QString &caption) override
    {
        const char *tag = kind == TMsgKind::Error     ? "error"
                          : kind == TMsgKind::Warning ? "warning"
                          : kind == TMsgKind::Question ? "question"
                                                        : "info";
        QString line = text;
        line.replace(QLatin1String("\r\n"), QLatin1String(" "));
        std::fprintf(stderr, "%s: %s\n", tag, line.toLocal8Bit().constData());
        switch (buttons) {
        case TMsgButtons::Ok: return TMsgAnswer::Ok;
        case TMsgButtons::OkCancel: return TMsgAnswer::Cancel;
        case TMsgButtons::YesNo:
        case TMsgButtons::YesNoDefaultNo:
        case TMsgButtons::YesNoCancel: return TMsgAnswer::No;
        }
        return TMsgAnswer::Cancel;
    }
};

TStderrMessenger g_fallback;
TMessenger *g_current = nullptr;

} // namespace

TMessenger &TMessenger::Instance()
{
    return g_current ? *g_current : g_fallback;
}

void TMessenger::SetInstance(TMessenger *messenger)
{
    g_current = messenger;
}
