#pragma once

#include "app/Messenger.h"

#include <QList>
#include <QPointer>

class QMessageBox;
class QWidget;

// Message boxes for the running program. Every box is modal over the active
// window; CloseAll rejects the ones still open (the cable watch needs that).
class TFMMessenger final : public TMessenger
{
public:
    TMsgAnswer Show(TMsgKind kind, const QString &text, TMsgButtons buttons,
                    const QString &caption) override;
    void CloseAll() override;

private:
    QList<QPointer<QMessageBox>> open;
};
