#include "ZnLibs/ZnPrintSettings.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSettings>

namespace {

QString storeFile;

// Paper numbers are the Windows paper numbers, so stored values keep their
// meaning; 256 is a user-defined size with extents in 0.1 mm.
constexpr int UserPaperNumber = 256;
// Orientation values: 1 portrait, 2 landscape.
constexpr int OrientationPortrait = 1;
constexpr int OrientationLandscape = 2;

// QSettings separates groups with "/"; the registry path uses "\".
QString Group(const QString &reportKey)
{
    QString path = TZnPrintSettings::KeyPath(reportKey);
    path.replace(u'\\', u'/');
    while (path.startsWith(u'/'))
        path.remove(0, 1);
    return path;
}

bool IsNative(const QPrinter &printer)
{
    return printer.outputFormat() == QPrinter::NativeFormat && !printer.printerName().isEmpty();
}

} // namespace

QString TZnPrintSettings::RegistryBase()
{
    return QStringLiteral("\\Software\\Kestrova\\Halvex\\0.1.0.0\\") + QStringLiteral("Report");
}

QString TZnPrintSettings::KeyPath(const QString &reportKey)
{
    return RegistryBase() + u'\\' + reportKey;
}

void TZnPrintSettings::SetStoreFile(const QString &path)
{
    storeFile = path;
}

std::unique_ptr<QSettings> TZnPrintSettings::OpenStore()
{
    if (!storeFile.isEmpty())
        return std::make_unique<QSettings>(storeFile, QSettings::IniFormat);
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       QStringLiteral("Kestrova"), QStringLiteral("Halvex"));
}

QString TZnPrintSettings::DefaultPrinterText()
{
    return QStringLiteral("(Default Printer)");
}

bool TZnPrintSettings::Exists(const QString &reportKey)
{
    auto store = OpenStore();
    store->beginGroup(Group(reportKey));
    return !store->childKeys().isEmpty();
}

void TZnPrintSettings::Load(const QString &reportKey, QPrinter &printer, int &offsetX, int &offsetY)
{
    offsetX = 0;
    offsetY = 0;
    auto store = OpenStore();
    store->beginGroup(Group(reportKey));
    const QString defaultName = QPrinterInfo::defaultPrinterName();
    if (store->childKeys().isEmpty()) {
        if (!defaultName.isEmpty())
            printer.setPrinterName(defaultName);
        return;
    }

    const QString name = store->value(QStringLiteral("PrinterName")).toString();
    const QStringList names = QPrinterInfo::availablePrinterNames();
    if (!name.isEmpty() && name != DefaultPrinterText() && names.contains(name))
        printer.setPrinterName(name);
    else if (!defaultName.isEmpty())
        printer.setPrinterName(defaultName);
    // Port and BinName: the printing system here has neither ports nor named
    // bins, so no stored name is a known one and they are not applied.

    const QPrinterInfo info(printer);
    const bool native = IsNative(printer);
    bool ok = false;
    if (native && store->contains(QStringLiteral("Quality"))) {
        const int quality = store->value(QStringLiteral("Quality")).toInt(&ok);
        if (ok && quality > 0 && info.supportedResolutions().contains(quality))
            printer.setResolution(quality);
    }
    if (store->contains(QStringLiteral("Color"))) {
        const bool colour = store->value(QStringLiteral("Color")).toBool();
        if (!native || info.supportedColorModes().contains(QPrinter::Color))
            printer.setColorMode(colour ? QPrinter::Color : QPrinter::GrayScale);
    }

    auto accepts = [&](const QPageSize &size) {
        if (!size.isValid())
            return false;
        if (!native || info.supportsCustomPageSizes())
            return true;
        for (const QPageSize &s : info.supportedPageSizes())
            if (s.isEquivalentTo(size))
                return true;
        return false;
    };
    if (store->contains(QStringLiteral("PaperSizeNumber"))) {
        const int number = store->value(QStringLiteral("PaperSizeNumber")).toInt(&ok);
        QPageSize size;
        if (ok && number == UserPaperNumber) {
            const int x = store->value(QStringLiteral("PaperExtentX")).toInt();
            const int y = store->value(QStringLiteral("PaperExtentY")).toInt();
            if (x > 0 && y > 0)
                size = QPageSize(QSizeF(x / 10.0, y / 10.0), QPageSize::Millimeter);
        } else if (ok) {
            const QPageSize::PageSizeId id = QPageSize::id(number);
            if (id != QPageSize::Custom)
                size = QPageSize(id);
        }
        if (accepts(size))
            printer.setPageSize(size);
    } else if (store->contains(QStringLiteral("PaperSizeName"))) {
        const QString paper = store->value(QStringLiteral("PaperSizeName")).toString();
        const QList<QPageSize> sizes = native ? info.supportedPageSizes() : QList<QPageSize>();
        for (const QPageSize &s : sizes) {
            if (s.name() == paper) {
                printer.setPageSize(s);
                break;
            }
        }
    }

    if (store->contains(QStringLiteral("Orientation"))) {
        const int o = store->value(QStringLiteral("Orientation")).toInt(&ok);
        if (ok && o == OrientationLandscape)
            printer.setPageOrientation(QPageLayout::Landscape);
        else if (ok && o == OrientationPortrait)
            printer.setPageOrientation(QPageLayout::Portrait);
    }

    offsetX = store->value(QStringLiteral("PrintOffsetX"), 0).toInt(&ok);
    if (!ok)
        offsetX = 0;
    offsetY = store->value(QStringLiteral("PrintOffsetY"), 0).toInt(&ok);
    if (!ok)
        offsetY = 0;
}

void TZnPrintSettings::Save(const QString &reportKey, const QPrinter &printer, int offsetX, int offsetY)
{
    auto store = OpenStore();
    const QString group = Group(reportKey);
    store->remove(group);
    store->beginGroup(group);

    const bool native = IsNative(printer);
    const QString name = printer.printerName();
    store->setValue(QStringLiteral("PrinterName"),
                    !native || name == QPrinterInfo::defaultPrinterName() ? DefaultPrinterText() : name);
    store->setValue(QStringLiteral("Port"), QString());

    const QPageSize size = printer.pageLayout().pageSize();
    const int number = size.windowsId();
    if (size.id() == QPageSize::Custom || number <= 0) {
        const QSizeF mm = size.size(QPageSize::Millimeter);
        store->setValue(QStringLiteral("PaperSizeNumber"), UserPaperNumber);
        store->setValue(QStringLiteral("PaperExtentX"), qRound(mm.width() * 10));
        store->setValue(QStringLiteral("PaperExtentY"), qRound(mm.height() * 10));
    } else {
        store->setValue(QStringLiteral("PaperSizeNumber"), number);
    }
    store->setValue(QStringLiteral("Orientation"),
                    printer.pageLayout().orientation() == QPageLayout::Landscape ? OrientationLandscape
                                                                                 : OrientationPortrait);
    if (native) {
        const QPrinterInfo info(printer);
        if (info.supportedResolutions().size() > 1) {
            store->setValue(QStringLiteral("Quality"), printer.resolution());
            store->setValue(QStringLiteral("QualityY"), printer.resolution());
        }
        if (info.supportedColorModes().contains(QPrinter::Color))
            store->setValue(QStringLiteral("Color"), printer.colorMode() == QPrinter::Color);
    } else {
        store->setValue(QStringLiteral("Color"), printer.colorMode() == QPrinter::Color);
    }
    store->setValue(QStringLiteral("PrintOffsetX"), offsetX);
    store->setValue(QStringLiteral("PrintOffsetY"), offsetY);
    store->endGroup();
    store->sync();
}
