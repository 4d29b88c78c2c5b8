#pragma once

#include <QString>
#include <memory>

class QPrinter;
class QSettings;

// The printer settings of one report, remembered between sessions in a
// settings store of the user: printer, paper, orientation, colour, print
// quality and the print offsets. The store is an INI file of QSettings'
// user scope (on Linux ~/.config/Kestrova/Halvex.ini), standing in for the
// registry key "\Software\Kestrova\Halvex\0.1.0.0\Report\<report key>"; the
// values are named as they were in the registry. Store errors are ignored:
// the printer then keeps its defaults.
class TZnPrintSettings
{
public:
    // "\Software\Kestrova\Halvex\0.1.0.0\Report", the same for all reports.
    static QString RegistryBase();
    // The registry base and the report key joined with one backslash.
    static QString KeyPath(const QString &reportKey);

    // Tests and tools: keep the settings in this INI file instead of the
    // user's store; an empty path restores the user's store.
    static void SetStoreFile(const QString &path);
    static std::unique_ptr<QSettings> OpenStore();

    // The text stored as PrinterName for the default printer.
    static QString DefaultPrinterText();

    // Applies the stored settings of a report to the printer and returns the
    // print offsets (0.1 mm; 0 when missing). A report without a key prints
    // on the default printer.
    static void Load(const QString &reportKey, QPrinter &printer, int &offsetX, int &offsetY);
    // Deletes the report's key and writes it anew from the printer.
    static void Save(const QString &reportKey, const QPrinter &printer, int offsetX, int offsetY);
    // The report's key exists in the store.
    static bool Exists(const QString &reportKey);
};
