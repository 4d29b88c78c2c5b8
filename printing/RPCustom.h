#pragma once

#include <QCoreApplication>
#include <QString>
#include <memory>

class QWidget;
class TZnPrinter;

// The base of every printed report. A report derives from it, passes its
// report key and title to the constructor and draws its pages in
// BuildPages; the base does the rest:
//
//   class TRPAlarm : public TRPCustom {
//   public:
//       explicit TRPAlarm(QWidget *owner)
//           : TRPCustom(QStringLiteral("AlarmHistory"), tr("アラーム履歴"), owner) {}
//       ... setters for the report's data ...
//   protected:
//       void BuildPages(TZnPrinter &p) override;   // page 1 is open already
//   };
//
//   if (!TRPCustom::PrinterInstalled()) return;
//   TRPAlarm report(this);        // loads the report's printer settings
//   report.SetRows(...);
//   report.Preview();             // or Print(), PrinterSetup()
//   // leaving the scope saves the settings when the user changed them
//
// The printer settings of each report (printer, paper, orientation, offsets)
// are kept per report key in the user's settings store (TZnPrintSettings).
class TRPCustom
{
    Q_DECLARE_TR_FUNCTIONS(TRPCustom)
public:
    // Loads the report's printer settings (hourglass cursor meanwhile).
    TRPCustom(const QString &reportKey, const QString &title, QWidget *owner = nullptr);
    // Saves the printer settings when they changed.
    virtual ~TRPCustom();
    TRPCustom(const TRPCustom &) = delete;
    TRPCustom &operator=(const TRPCustom &) = delete;

    // "\Software\Kestrova\Halvex\0.1.0.0\Report", the same for all reports.
    static QString RegistryBase();
    QString ReportKey() const { return reportKey; }
    QString Title() const { return title; }

    // Prepares the pages and shows the preview window modally.
    virtual void Preview();
    // Prepares the pages and prints them all (without a printer installed,
    // offers a PDF file instead). True when the pages went out.
    virtual bool Print();
    // Prepares the pages and prints one (1-based).
    bool PrintPage(int page);
    // Runs the printer set-up through a preview window that is not shown.
    virtual bool PrinterSetup();
    // Runs the print offset dialog.
    virtual bool PrintOffsets();
    // Prepares the pages and writes them as a PDF file.
    bool SavePdf(const QString &path, QString *error = nullptr);

    // True when the system has a printer. Without one, warns "印刷する前に、
    // プリンタをインストールする必要があります。" and asks whether to save
    // a PDF instead: true when the user wants it (printing then writes a
    // PDF), false otherwise. Every print action calls it first.
    static bool PrinterInstalled();

    // Builds the pages anew (what preview and print do first).
    void Prepare();
    TZnPrinter &Printer() { return *printer; }
    QWidget *Owner() const { return owner; }

protected:
    // Draws every page through the page store: page 1 is open when it is
    // called; NewPage() starts each further page.
    virtual void BuildPages(TZnPrinter &printer) = 0;
    // The page head of the one-page pictures (trace, frequency response): the
    // title, bold and underlined, then the date text and "ページ : N" at the
    // right. Returns the y below it.
    int DrawPageHead(TZnPrinter &printer, const QString &dateText, int page);

private:
    QString reportKey;
    QString title;
    QWidget *owner;
    std::unique_ptr<TZnPrinter> printer;
};
