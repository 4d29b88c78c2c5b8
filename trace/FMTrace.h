#pragma once

#include "trace/DMTrace.h"
#include "trace/FMTracePlot.h"

#include <QDialog>

#include <array>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QScrollArea;
class QScrollBar;
class QToolButton;
class QPushButton;
struct TAppContext;

// The operation-trace window ("運転トレース"): choose an axis or a file, set
// up and run recordings, monitor continuously, save, open and print traces,
// and read the curves with two cursors.
class TFMTrace : public QDialog
{
    Q_OBJECT
public:
    explicit TFMTrace(TAppContext &context, QWidget *owner = nullptr);
    ~TFMTrace() override;
    static void Execute(TAppContext &context, QWidget *owner);

    // Time ranges in ms per division with their texts; amplitude ranges.
    static const std::vector<std::pair<QString, double>> &TimeTable();
    static const std::vector<std::pair<QString, int64_t>> &AmplitudeTable();
    // The time-table entries offered for a recordable time T (ms): indices
    // into TimeTable, the last one to be selected.
    static std::vector<int> TimeRangesFor(double totalMs);
    // The first amplitude entry whose value times 5 reaches maxAbs, -1 none.
    static int AmplitudeFor(int64_t maxAbs);
    // The monitor-mode time entry: "100ms", "2sec", "10*10^3sec" ...
    static QString FormatTime(double ms);

    // Source: 1..15 an axis, 0 a file, -1 nothing.
    void SelectSource(int source);
    int Source() const { return source; }
    QString FileName() const { return fileName; }
    bool LoadFile(const QString &name);
    void SetCursor(int cursor, int column);
    void StopMonitoring() { monitoring = false; }

    TDMTrace dm;
    TFMTracePlot *plot;
    QScrollArea *scroll;
    QScrollBar *ScrollBarT1, *ScrollBarT2;
    std::array<QToolButton *, 16> btnAxis{}; // File, #1..#F
    QLineEdit *edtAmp, *edtMotor, *edtSampling, *edtTrigger, *edtLevel, *edtEdge, *edtPosition;
    QLabel *lblTrigger, *lblLevel, *lblEdge, *lblPosition;
    std::array<QCheckBox *, 8> chkChannel{};
    std::array<QLabel *, 8> lblName{};
    std::array<QLabel *, 4> lblUnit{};
    std::array<QComboBox *, 4> cmbRange{};
    std::array<QPushButton *, 4> btnUp{}, btnDown{};
    std::array<QLineEdit *, 8> edtValue{};
    QComboBox *cmbTimeRange;
    QLineEdit *edtLag, *edtFrequency;
    QAction *actOpen, *actClose, *actSave, *actSaveAs, *actExportCsv, *actExit, *actStartRead, *actStart, *actRead,
        *actMonitorStart, *actMonitorStop, *actClear, *actSettings, *actDisplay, *actGeneral, *actPrint,
        *actPreview, *actPrinterSetup;

protected:
    void reject() override;

private:
    int Axis() const { return source >= 1 ? source : 0; }
    void ApplyStyles();
    void UpdateActions();
    void UpdateCaption();
    void UpdateFields();
    void SetupDisplay();
    void UpdateWidth();
    void UpdateReadouts();
    void Redraw();
    void Resync();
    void AfterRead(bool ok, bool read);

    void OnStartRead();
    void OnStart();
    void OnRead();
    void OnMonitorStart();
    void OnClear();
    void OnSettings();
    void OnDisplay();
    void OnOpen();
    void OnSaveAs();
    void OnExportCsv();
    void OnPrint(bool preview);

    TAppContext &ctx;
    int source = -1;
    QString fileName;
    bool monitoring = false;
};
