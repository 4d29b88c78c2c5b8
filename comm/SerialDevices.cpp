#include "comm/SerialDevices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <climits>
#include <unistd.h>

namespace {

QString Join(const QString &root, const QString &path)
{
    return QDir::cleanPath(root + QLatin1Char('/') + path);
}

// A built-in port whose driver found no UART reports type 0 (unknown); the
// kernel keeps such placeholders for every possible ttyS number.
bool PlaceholderPort(const QString &root, const QString &name)
{
    QFile type(Join(root, QStringLiteral("sys/class/tty/%1/type").arg(name)));
    if (!type.open(QIODevice::ReadOnly))
        return false; // nothing known: offer it
    return type.readAll().trimmed() == "0";
}

// Where a link under root points, kept inside root: an absolute target is
// taken relative to root, as on the system the tree mirrors.
QString LinkTarget(const QString &root, const QString &linkPath)
{
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink(QFile::encodeName(linkPath).constData(), buffer, sizeof buffer - 1);
    if (n <= 0)
        return QString();
    const QString raw = QFile::decodeName(QByteArray(buffer, int(n)));
    if (QDir::isAbsolutePath(raw))
        return Join(root, raw);
    return QDir::cleanPath(QFileInfo(linkPath).absolutePath() + QLatin1Char('/') + raw);
}

} // namespace

QString TSerialDevices::AdapterName(const QString &byIdName)
{
    QString name = byIdName;
    static const QRegularExpression bus(QStringLiteral("^(usb|pci|platform)-"));
    static const QRegularExpression iface(QStringLiteral("-if[0-9A-Fa-f]{2}(-port[0-9]+)?$"));
    static const QRegularExpression port(QStringLiteral("-port[0-9]+$"));
    name.remove(bus);
    name.remove(iface);
    name.remove(port);
    name.replace(QLatin1Char('_'), QLatin1Char(' '));
    return name.simplified();
}

QList<TSerialDevice> TSerialDevices::List(const QString &root)
{
    const QDir dev(Join(root, QStringLiteral("dev")));
    // ttyS2 before ttyS10: the name without its trailing number, then the number.
    const auto byName = [](const QString &a, const QString &b) {
        static const QRegularExpression tail(QStringLiteral("^(.*?)([0-9]*)$"));
        const QRegularExpressionMatch ma = tail.match(a), mb = tail.match(b);
        const int stem = QString::compare(ma.captured(1), mb.captured(1));
        if (stem != 0)
            return stem < 0;
        return ma.captured(2).toULongLong() < mb.captured(2).toULongLong();
    };

    // The stable names first, so that each adapter can carry its name.
    QList<TSerialDevice> stable;
    const QDir byId(dev.filePath(QStringLiteral("serial/by-id")));
    QStringList links = byId.entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot);
    std::sort(links.begin(), links.end(), byName);
    for (const QString &link : links) {
        const QString path = byId.filePath(link);
        const QString target = LinkTarget(root, path);
        if (target.isEmpty() || !QFileInfo::exists(target))
            continue; // a dangling link names an adapter that is gone
        stable.append({path, AdapterName(link), target, 0});
    }

    QList<TSerialDevice> devices;
    static const QRegularExpression builtin(QStringLiteral("^ttyS([0-9]+)$"));
    static const QRegularExpression adapter(QStringLiteral("^tty(USB|ACM)[0-9]+$"));
    QStringList names = dev.entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot);
    std::sort(names.begin(), names.end(), byName);
    QList<TSerialDevice> adapters;
    for (const QString &name : names) {
        const QString path = dev.filePath(name);
        const QRegularExpressionMatch m = builtin.match(name);
        if (m.hasMatch()) {
            if (PlaceholderPort(root, name))
                continue;
            const int port = m.captured(1).toInt() + 1;
            devices.append({path, QString(), QString(), port <= 255 ? port : 0});
        } else if (adapter.match(name).hasMatch()) {
            TSerialDevice d{path, QString(), QString(), 0};
            for (const TSerialDevice &s : stable) {
                if (s.target == QDir::cleanPath(path)) {
                    d.name = s.name;
                    break;
                }
            }
            adapters.append(d);
        }
    }
    devices += adapters;
    devices += stable;
    return devices;
}
