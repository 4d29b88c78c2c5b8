#include "printing/RPCustom.h"

#include "ZnLibs/FMZnPreview.h"
#include "ZnLibs/FMZnPrintOffset.h"
#include "ZnLibs/ZnPrintSettings.h"
#include "ZnLibs/ZnPrinter.h"
#include "app/Hourglass.h"
#include "app/Messenger.h"

TRPCustom::TRPCustom(const QString &reportKey, const QString &title, QWidget *owner)
    : reportKey(reportKey), title(title), owner(owner), printer(std::make_unique<TZnPrinter>(title))
{
    THourglass hourglass;
    int x = 0;
    int y = 0;
    TZnPrintSettings::Load(reportKey, printer->Printer(), x, y);
    printer->SetPrintOffsets(x, y);
    printer->SetSettingsChanged(false);
    printer->SetPageBuilder([this](TZnPrinter &p) { BuildPages(p); });
}

TRPCustom::~TRPCustom()
{
    if (printer->SettingsChanged())
        TZnPrintSettings::Save(reportKey, printer->Printer(), printer->PrintOffsetX(), printer->PrintOffsetY());
}

QString TRPCustom::RegistryBase()
{
    return TZnPrintSettings::RegistryBase();
}

void TRPCustom::Prepare()
{
    printer->Prepare();
}

void TRPCustom::Preview()
{
    Prepare();
    TFMZnPreview preview(*printer, owner);
    preview.exec();
}

bool TRPCustom::Print()
{
    Prepare();
    return printer->PrintPages(1, printer->PageCount(), owner);
}

bool TRPCustom::PrintPage(int page)
{
    Prepare();
    if (page < 1 || page > printer->PageCount())
        return false;
    return printer->PrintPages(page, page, owner);
}

bool TRPCustom::PrinterSetup()
{
    Prepare();
    TFMZnPreview preview(*printer, owner);
    return preview.PrinterSetup();
}

bool TRPCustom::PrintOffsets()
{
    int x = printer->PrintOffsetX();
    int y = printer->PrintOffsetY();
    if (!TFMZnPrintOffset::Execute(owner, x, y))
        return false;
    printer->SetPrintOffsets(x, y);
    printer->SetSettingsChanged(true);
    return true;
}

bool TRPCustom::SavePdf(const QString &path, QString *error)
{
    Prepare();
    return printer->SavePdf(path, 1, -1, error);
}

bool TRPCustom::PrinterInstalled()
{
    if (TZnPrinter::HasPrinter())
        return true;
    return TMessenger::Instance().AskOkCancel(
        tr("印刷する前に、プリンタをインストールする必要があります。") + QStringLiteral("\r\n") +
        tr("プリンタの代わりに PDF ファイルに保存しますか?"));
}

int TRPCustom::DrawPageHead(TZnPrinter &p, const QString &dateText, int page)
{
    const QRect area = p.PrintableRect();
    int y = area.top();
    auto line = [&](const QString &text, int w, TZnPrinter::THAlign a) {
        p.TextBox(QRect(area.left(), y, w, p.LineHeight()), text, a, false);
    };
    // A gothic title; IPA's first, whose text layer reads back as drawn.
    p.SetFontName(QStringLiteral("Noto Sans CJK JP"));
    p.SetFontName(QStringLiteral("IPAPGothic"));
    p.SetFontHeight(14);
    p.SetFontStyle(true, false, true);
    line(Title(), area.width(), TZnPrinter::haLeft);
    p.SetFontHeight(9);
    p.SetFontStyle(false);
    line(dateText, area.width() / 2 + 400, TZnPrinter::haRight);
    line(tr("ページ : %1").arg(page), area.width(), TZnPrinter::haRight);
    return y + p.LineHeight() + 20;
}
