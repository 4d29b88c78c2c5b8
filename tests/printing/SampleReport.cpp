#include "SampleReport.h"

#include "ZnLibs/ZnPrintSettings.h"

TPrintStoreScope::TPrintStoreScope()
{
    TZnPrintSettings::SetStoreFile(Path());
}

TPrintStoreScope::~TPrintStoreScope()
{
    TZnPrintSettings::SetStoreFile(QString());
    TZnPrinter::OverrideHasPrinter(std::nullopt);
    TZnPrinter::SetPdfPathChooser({});
}
