#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

// Only one Tuvanta per user: the first start listens on a local socket named
// after the product version; a later start connects to it, which asks the
// first one to come forward, and then ends without showing anything.
class TSingleInstance : public QObject
{
    Q_OBJECT
public:
    // "Halvex Version <version> System Mutex".
    static QString MutexName(const QString &version);

    explicit TSingleInstance(const QString &name, QObject *parent = nullptr);
    ~TSingleInstance() override;

    // True when this is the first instance (it now listens); false when
    // another one runs and has been asked to come forward.
    bool Claim();

signals:
    // A later start asked this instance to come forward.
    void ComeForward();

private:
    bool AskRunningInstance();

    QString name;
    QLocalServer *server = nullptr;
};
