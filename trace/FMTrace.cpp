#include "trace/FMTrace.h"

#include "app/AppContext.h"
#include "app/DMEnvironment.h"
#include "app/FMProgressView.h"
#include "app/Messenger.h"
#include "params/FMUserParameter.h"
#include "printing/RPCustom.h"
#include "trace/FMSampling.h"
#include "trace/FMTraceColor.h"
#include "trace/FMTraceSetting.h"
#include "trace/RPTrace.h"
#include "trace/TraceFile.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QThread>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace {
QColor ToQColor(TColor c)
{
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

QLineEdit *Field(QWidget *parent, int width = 90)
{
    auto *e = new QLineEdit(parent);
    e->setReadOnly(true);
    e->setMinimumWidth(width);
    return e;
}
} // namespace

const std::vector<std::pair<QString, double>> &TFMTrace::TimeTable()
{
    static const std::vector<std::pair<QString, double>> table = {
        {"   1ms", 1},          {"   2ms", 2},          {"   5ms", 5},         {"  10ms", 10},
        {"  20ms", 20},         {"  50ms", 50},         {" 100ms", 100},      {" 200ms", 200},
        {" 500ms", 500},        {"   1sec", 1e3},       {"   2sec", 2e3},     {"   5sec", 5e3},
        {"  10sec", 1e4},       {"  20sec", 2e4},       {"  50sec", 5e4},     {" 100sec", 1e5},
        {" 200sec", 2e5},       {" 500sec", 5e5},       {"1000sec", 1e6},     {"2000sec", 2e6},
        {"5000sec", 5e6},       {"  10*10^3sec", 1e7},  {"  20*10^3sec", 2e7}, {"  50*10^3sec", 5e7},
        {" 100*10^3sec", 1e8}};
    return table;
}

const std::vector<std::pair<QString, int64_t>> &TFMTrace::AmplitudeTable()
{
    static const std::vector<std::pair<QString, int64_t>> table = [] {
        std::vector<std::pair<QString, int64_t>> t;
        int64_t v = 10;
        for (int i = 0; i < 24; ++i) {
            QString text;
            if (v < 10000)
                text = QString::number(v).rightJustified(4);
            else if (v < 10000000)
                text = QString::number(v / 1000).rightJustified(4) + QStringLiteral("*10^3");
            else
                text = QString::number(v / 1000000).rightJustified(4) + QStringLiteral("*10^6");
            t.push_back({text, v});
            const int64_t m = v;
            const int64_t first = QString::number(m).at(0).digitValue();
            v = first == 2 ? m / 2 * 5 : m * 2; // 1-2-5
        }
        return t;
    }();
    return table;
}

std::vector<int> TFMTrace::TimeRangesFor(double total)
{
    std::vector<int> out;
    const auto &table = TimeTable();
    for (int i = 0; i < int(table.size()); ++i) {
        const double d = std::ceil(total / table[size_t(i)].second);
        if (d <= 300)
            out.push_back(i);
        if (d <= 10)
            break;
    }
    return out;
}

int TFMTrace::AmplitudeFor(int64_t maxAbs)
{
    const auto &table = AmplitudeTable();
    for (int i = 0; i < int(table.size()); ++i)
        if (table[size_t(i)].second * 5 >= maxAbs)
            return i;
    return -1;
}

QString TFMTrace::FormatTime(double ms)
{
    if (ms == 0)
        return QString();
    double v = ms;
    QString unit = QStringLiteral("ms");
    if (ms >= 1000) {
        v = ms / 1000;
        unit = QStringLiteral("sec");
    }
    const int e = int(std::log10(std::fabs(v)));
    if (e >= -2 && e <= 2)
        return TTraceFile::FormatDecimal(v) + unit;
    int exp = int(std::floor(e / 3.0)) * 3;
    const double mantissa = std::round(v / std::pow(10.0, exp) * 1e4) / 1e4;
    return TTraceFile::FormatDecimal(mantissa) + QStringLiteral("*10^") + QString::number(exp) + unit;
}

TFMTrace::TFMTrace(TAppContext &context, QWidget *owner) : QDialog(owner), dm(context), ctx(context)
{
    setObjectName(QStringLiteral("FMTrace"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    auto *bar = new QMenuBar(this);
    auto add = [this](QMenu *m, const QString &text, void (TFMTrace::*slot)()) {
        QAction *a = m->addAction(text);
        if (slot)
            connect(a, &QAction::triggered, this, slot);
        return a;
    };
    QMenu *file = bar->addMenu(tr("ファイル(&F)"));
    actOpen = add(file, tr("開く(&O)..."), &TFMTrace::OnOpen);
    actClose = add(file, tr("閉じる(&C)"), nullptr);
    connect(actClose, &QAction::triggered, this, [this] {
        fileName.clear();
        SelectSource(0);
    });
    actSave = add(file, tr("上書き保存(&S)"), nullptr);
    actSave->setVisible(false);
    connect(actSave, &QAction::triggered, this, [this] {
        QString error;
        if (fileName.isEmpty() || !QFileInfo(fileName).isWritable() || !dm.SaveToFile(fileName, &error))
            OnSaveAs();
    });
    actSaveAs = add(file, tr("名前を付けて保存(&A)..."), &TFMTrace::OnSaveAs);
    actExportCsv = add(file, tr("CSV形式で書き出し(&E)..."), &TFMTrace::OnExportCsv);
    file->addSeparator();
    actExit = add(file, tr("終了(&X)"), nullptr);
    connect(actExit, &QAction::triggered, this, &TFMTrace::reject);
    QMenu *op = bar->addMenu(tr("運転トレース(&O)"));
    actStartRead = add(op, tr("トレース開始＋データ読み出し(&T)"), &TFMTrace::OnStartRead);
    actStart = add(op, tr("トレース開始(&S)"), &TFMTrace::OnStart);
    actRead = add(op, tr("データ読み出し(&R)"), &TFMTrace::OnRead);
    op->addSeparator();
    actMonitorStart = add(op, tr("モニタ開始(&M)"), &TFMTrace::OnMonitorStart);
    actMonitorStop = add(op, tr("モニタ停止(&P)"), &TFMTrace::StopMonitoring);
    op->addSeparator();
    actClear = add(op, tr("トレースデータクリア(&C)"), &TFMTrace::OnClear);
    actSettings = add(op, tr("運転トレース設定(&E)..."), &TFMTrace::OnSettings);
    actDisplay = add(op, tr("運転トレース表示設定(&D)..."), &TFMTrace::OnDisplay);
    actGeneral = add(op, tr("一般パラメータ設定(&G)"), nullptr);
    connect(actGeneral, &QAction::triggered, this, [this] {
        TFMUserParameter::Execute(ctx, this);
        Resync();
    });
    QMenu *print = bar->addMenu(tr("印刷(&P)"));
    actPrint = add(print, tr("印刷(&P)"), nullptr);
    connect(actPrint, &QAction::triggered, this, [this] { OnPrint(false); });
    actPreview = add(print, tr("印刷プレビュー(&V)..."), nullptr);
    connect(actPreview, &QAction::triggered, this, [this] { OnPrint(true); });
    actPrinterSetup = add(print, tr("プリンタの設定(&S)..."), nullptr);
    actPrinterSetup->setVisible(false);

    // Axis buttons.
    auto *axes = new QHBoxLayout;
    for (int i = 0; i < 16; ++i) {
        btnAxis[size_t(i)] = new QToolButton(this);
        btnAxis[size_t(i)]->setText(i == 0 ? QStringLiteral("File") : QStringLiteral("#%1").arg(QString::number(i, 16).toUpper()));
        btnAxis[size_t(i)]->setCheckable(true);
        btnAxis[size_t(i)]->setAutoExclusive(true);
        axes->addWidget(btnAxis[size_t(i)]);
        connect(btnAxis[size_t(i)], &QToolButton::clicked, this, [this, i] {
            monitoring = false;
            SelectSource(i == 0 ? (fileName.isEmpty() ? -1 : 0) : i);
        });
    }
    axes->addStretch();

    // Model, sampling and trigger fields.
    auto *info = new QGridLayout;
    edtAmp = Field(this, 120);
    edtMotor = Field(this, 120);
    edtSampling = Field(this, 70);
    edtTrigger = Field(this, 130);
    edtLevel = Field(this, 100);
    edtEdge = Field(this, 100);
    edtPosition = Field(this, 50);
    lblTrigger = new QLabel(tr("トリガ :"), this);
    lblLevel = new QLabel(tr("トリガレベル :"), this);
    lblEdge = new QLabel(tr("トリガエッジ :"), this);
    lblPosition = new QLabel(tr("トリガ位置 :"), this);
    info->addWidget(new QLabel(tr("型番"), this), 0, 0);
    info->addWidget(new QLabel(tr("アンプ :"), this), 0, 1);
    info->addWidget(edtAmp, 0, 2);
    info->addWidget(new QLabel(tr("モータ :"), this), 1, 1);
    info->addWidget(edtMotor, 1, 2);
    info->addWidget(new QLabel(tr("サンプリング周期 :"), this), 0, 3);
    info->addWidget(edtSampling, 0, 4);
    info->addWidget(new QLabel(QStringLiteral("[ms]"), this), 0, 5);
    info->addWidget(lblTrigger, 1, 3);
    info->addWidget(edtTrigger, 1, 4, 1, 2);
    info->addWidget(lblLevel, 0, 6);
    info->addWidget(edtLevel, 0, 7);
    info->addWidget(lblEdge, 1, 6);
    info->addWidget(edtEdge, 1, 7);
    info->addWidget(lblPosition, 0, 8);
    info->addWidget(edtPosition, 0, 9);
    info->addWidget(new QLabel(QStringLiteral("[%]"), this), 0, 10);
    info->setColumnStretch(11, 1);

    // Channels.
    auto *channels = new QGridLayout;
    for (int c = 0; c < 8; ++c) {
        chkChannel[size_t(c)] = new QCheckBox(QStringLiteral("CH%1 :").arg(c + 1), this);
        chkChannel[size_t(c)]->setChecked(true);
        connect(chkChannel[size_t(c)], &QCheckBox::toggled, this, [this] {
            UpdateReadouts();
            Redraw();
        });
        lblName[size_t(c)] = new QLabel(this);
        lblName[size_t(c)]->setMinimumWidth(150);
        edtValue[size_t(c)] = Field(this, 80);
        edtValue[size_t(c)]->setAlignment(Qt::AlignRight);
        const int row = c;
        channels->addWidget(chkChannel[size_t(c)], row, 0);
        channels->addWidget(lblName[size_t(c)], row, 1);
        channels->addWidget(edtValue[size_t(c)], row, 6);
        if (c >= 4)
            continue;
        lblUnit[size_t(c)] = new QLabel(this);
        lblUnit[size_t(c)]->setMinimumWidth(60);
        cmbRange[size_t(c)] = new QComboBox(this);
        for (const auto &[text, value] : AmplitudeTable())
            cmbRange[size_t(c)]->addItem(text, qlonglong(value));
        cmbRange[size_t(c)]->setCurrentIndex(6);
        connect(cmbRange[size_t(c)], &QComboBox::currentIndexChanged, this, [this] { Redraw(); });
        btnUp[size_t(c)] = new QPushButton(QStringLiteral("▲"), this);
        btnDown[size_t(c)] = new QPushButton(QStringLiteral("▼"), this);
        for (QPushButton *b : {btnUp[size_t(c)], btnDown[size_t(c)]})
            b->setFixedWidth(26);
        connect(btnUp[size_t(c)], &QPushButton::clicked, this, [this, c] {
            plot->data.offset[size_t(c)] = std::max(0, plot->data.offset[size_t(c)] - 1);
            Redraw();
        });
        connect(btnDown[size_t(c)], &QPushButton::clicked, this, [this, c] {
            plot->data.offset[size_t(c)] = std::min(10, plot->data.offset[size_t(c)] + 1);
            Redraw();
        });
        channels->addWidget(lblUnit[size_t(c)], row, 2);
        channels->addWidget(new QLabel(tr("レンジ :"), this), row, 3);
        channels->addWidget(cmbRange[size_t(c)], row, 4);
        auto *updown = new QHBoxLayout;
        updown->addWidget(btnUp[size_t(c)]);
        updown->addWidget(btnDown[size_t(c)]);
        channels->addLayout(updown, row, 5);
    }
    auto *timeRow = new QHBoxLayout;
    cmbTimeRange = new QComboBox(this);
    connect(cmbTimeRange, &QComboBox::currentIndexChanged, this, [this] {
        UpdateWidth();
        Redraw();
    });
    edtLag = Field(this, 90);
    edtFrequency = Field(this, 90);
    timeRow->addWidget(new QLabel(tr("時間軸レンジ :"), this));
    timeRow->addWidget(cmbTimeRange);
    timeRow->addWidget(new QLabel(QStringLiteral("[/Div]"), this));
    timeRow->addSpacing(20);
    timeRow->addWidget(new QLabel(tr("t1 - t2 :"), this));
    timeRow->addWidget(edtLag);
    timeRow->addWidget(new QLabel(QStringLiteral("[ms]"), this));
    timeRow->addWidget(new QLabel(tr("1 / (t1 - t2) :"), this));
    timeRow->addWidget(edtFrequency);
    timeRow->addWidget(new QLabel(QStringLiteral("[Hz]"), this));
    timeRow->addStretch();

    plot = new TFMTracePlot(this);
    plot->data.trace = &dm.trace;
    plot->cursorMoved = [this](int cursor, int column) {
        (cursor == 0 ? ScrollBarT1 : ScrollBarT2)->setValue(column);
        UpdateReadouts();
    };
    scroll = new QScrollArea(this);
    scroll->setWidget(plot);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setMinimumHeight(TFMTracePlot::Height + 24);
    ScrollBarT1 = new QScrollBar(Qt::Horizontal, this);
    ScrollBarT1->setObjectName(QStringLiteral("ScrollBarT1"));
    ScrollBarT2 = new QScrollBar(Qt::Horizontal, this);
    ScrollBarT2->setObjectName(QStringLiteral("ScrollBarT2"));
    connect(ScrollBarT1, &QScrollBar::valueChanged, this, [this](int v) { SetCursor(0, v); });
    connect(ScrollBarT2, &QScrollBar::valueChanged, this, [this](int v) { SetCursor(1, v); });
    auto *cursors = new QGridLayout;
    cursors->addWidget(new QLabel(QStringLiteral("t1"), this), 0, 0);
    cursors->addWidget(ScrollBarT1, 0, 1);
    cursors->addWidget(new QLabel(QStringLiteral("t2"), this), 1, 0);
    cursors->addWidget(ScrollBarT2, 1, 1);
    cursors->setColumnStretch(1, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setMenuBar(bar);
    layout->addLayout(axes);
    layout->addLayout(info);
    layout->addLayout(channels);
    layout->addLayout(timeRow);
    layout->addWidget(scroll, 1);
    layout->addLayout(cursors);
    resize(800, 760);

    dm.OpenTables();
    ApplyStyles();
    SelectSource(ctx.Online() ? 1 : 0);
}

TFMTrace::~TFMTrace() = default;

void TFMTrace::Execute(TAppContext &context, QWidget *owner)
{
    TFMTrace window(context, owner);
    window.exec();
}

void TFMTrace::reject()
{
    // Closing ends monitoring first; the loop then returns and the window goes.
    monitoring = false;
    QDialog::reject();
}

void TFMTrace::ApplyStyles()
{
    for (int c = 0; c < 8; ++c) {
        const TLineStyle s = ctx.env.TraceChannel(c + 1);
        plot->data.styles[size_t(c)] = {ToQColor(s.color), s.width, s.mark};
        QPalette pal = chkChannel[size_t(c)]->palette();
        pal.setColor(QPalette::WindowText, ToQColor(s.color));
        chkChannel[size_t(c)]->setPalette(pal);
    }
    for (int k = 0; k < 2; ++k) {
        const TCursorStyle s = ctx.env.TraceCursor(k + 1);
        plot->data.cursorStyles[size_t(k)] = {ToQColor(s.color), s.width, 0};
    }
}

void TFMTrace::SelectSource(int wanted)
{
    for (int guard = 0; guard < 16; ++guard) {
        for (int a = 1; a <= 15; ++a)
            btnAxis[size_t(a)]->setEnabled(ctx.env.AxisInUse(a));
        int s = wanted;
        if (s >= 1 && !ctx.env.AxisInUse(s)) {
            s = ctx.FirstAxisInUse();
            if (s < 1) {
                s = fileName.isEmpty() ? -1 : 0;
                TMessenger::Instance().Warning(tr("通信可能なサーボアンプが存在しません。"));
            }
        }
        source = s;
        plot->data.blank = true;
        if (s >= 1) {
            if (!dm.ReadModelNames(s) || !dm.ReadTraceSetting(s)) {
                wanted = s;
                continue; // the axis dropped out: choose again
            }
        } else if (s == 0 && !fileName.isEmpty()) {
            if (dm.LoadFromFile(fileName)) {
                plot->data.blank = false;
            } else {
                fileName.clear();
                source = -1;
            }
        }
        if (source <= 0 && fileName.isEmpty()) {
            dm.trace = TTrace();
            dm.trace.Reset();
        }
        break;
    }
    btnAxis[size_t(std::max(0, source))]->setChecked(true);
    SetupDisplay();
}

void TFMTrace::Resync()
{
    SelectSource(source);
}

void TFMTrace::UpdateActions()
{
    const bool axis = source >= 1;
    const bool monitorMode = dm.trace.Setting.Mode == TTrace::MonitorMode;
    const bool idle = !monitoring;
    actOpen->setEnabled(source <= 0 && idle);
    actClose->setEnabled(source <= 0 && idle);
    for (QAction *a : {actStartRead, actStart, actRead})
        a->setEnabled(axis && !monitorMode && idle);
    actMonitorStart->setEnabled(axis && monitorMode && idle);
    actMonitorStop->setEnabled(axis && monitorMode);
    actClear->setEnabled(axis && idle);
    actSettings->setEnabled(axis && idle);
    actGeneral->setEnabled(axis && idle);
    const bool printable = (axis || (source == 0 && !fileName.isEmpty())) && idle;
    actPrint->setEnabled(printable);
    actPreview->setEnabled(printable);
    actPrinterSetup->setEnabled(idle);
    actSave->setEnabled(idle);
    actSaveAs->setEnabled(idle && !plot->data.blank);
    actExportCsv->setEnabled(idle && !plot->data.blank);
    actDisplay->setEnabled(idle);
    ScrollBarT1->setEnabled(idle);
    ScrollBarT2->setEnabled(idle);
    for (auto *b : btnAxis)
        if (b)
            b->setEnabled(b->isEnabled() || b == btnAxis[0]);
}

void TFMTrace::UpdateCaption()
{
    if (source >= 1)
        setWindowTitle(tr("運転トレース"));
    else
        setWindowTitle(tr("運転トレース - [%1]").arg(fileName.isEmpty() ? tr("無題") : fileName));
}

void TFMTrace::UpdateFields()
{
    const TTrace &t = dm.trace;
    const TTraceSetting &s = t.Setting;
    edtAmp->setText(t.AmpType);
    edtMotor->setText(t.MotType);
    const bool haveTrace = dm.Model() != nullptr;
    edtSampling->setText(haveTrace ? TTraceFile::FormatDecimal(dm.SamplingTime()) : QString());
    const bool trig = haveTrace && s.Mode != TTrace::MonitorMode;
    edtTrigger->setText(trig ? dm.TriggerChannelName(s.TriggerChannel) : QString());
    edtLevel->setText(trig ? QString::number(s.TriggerLevel) : QString());
    edtEdge->setText(trig ? dm.EdgeName(s.TriggerEdge) : QString());
    edtPosition->setText(trig ? QString::number(s.TriggerPosition) : QString());
    for (QLabel *l : {lblTrigger, lblLevel, lblEdge, lblPosition})
        l->setEnabled(trig);
    for (int c = 0; c < 8; ++c) {
        const bool use = t.InUse[size_t(c)];
        if (c < 4) {
            lblName[size_t(c)]->setText(use ? dm.AnalogName(s.Analog[size_t(c)]) : QString());
            lblUnit[size_t(c)]->setText(use ? TTraceTables::UnitText(dm.AnalogUnit(s.Analog[size_t(c)])) : QString());
            cmbRange[size_t(c)]->setEnabled(use);
            btnUp[size_t(c)]->setEnabled(use && plot->data.offset[size_t(c)] > 0);
            btnDown[size_t(c)]->setEnabled(use && plot->data.offset[size_t(c)] < 10);
        } else {
            lblName[size_t(c)]->setText(use ? dm.DigitalName(s.Digital[size_t(c - 4)]) : QString());
        }
        chkChannel[size_t(c)]->setEnabled(use);
        lblName[size_t(c)]->setEnabled(use);
        edtValue[size_t(c)]->setEnabled(use);
    }
}

void TFMTrace::SetupDisplay()
{
    const TTrace &t = dm.trace;
    const int n = int(t.Samples.size());
    {
        const QSignalBlocker b(cmbTimeRange);
        cmbTimeRange->clear();
        if (t.Setting.Mode == TTrace::MonitorMode) {
            cmbTimeRange->addItem(FormatTime(dm.SamplingTime() * 100), dm.SamplingTime() * 100);
        } else {
            for (int i : TimeRangesFor(dm.SamplingTime() * (n - 1)))
                cmbTimeRange->addItem(TimeTable()[size_t(i)].first, TimeTable()[size_t(i)].second);
            cmbTimeRange->setCurrentIndex(cmbTimeRange->count() - 1);
        }
    }
    plot->data.offset = {5, 5, 5, 5};
    if (!plot->data.blank)
        for (int c = 0; c < 4; ++c) {
            const int a = t.InUse[size_t(c)] ? AmplitudeFor(dm.MaxAbs(c)) : -1;
            if (a >= 0)
                cmbRange[size_t(c)]->setCurrentIndex(a);
        }
    for (QScrollBar *s : {ScrollBarT1, ScrollBarT2}) {
        const QSignalBlocker b(s);
        s->setRange(0, std::max(0, n - 1));
        s->setValue(0);
    }
    plot->data.cursor = {0, 0};
    UpdateWidth();
    scroll->horizontalScrollBar()->setValue(0);
    UpdateCaption();
    UpdateFields();
    UpdateActions();
    Redraw();
}

void TFMTrace::UpdateWidth()
{
    const int n = int(dm.trace.Samples.size());
    const double range = cmbTimeRange->currentData().toDouble();
    plot->data.samplingMs = dm.SamplingTime();
    plot->data.timeRangeMs = range > 0 ? range : 10;
    plot->data.divisions = dm.trace.Setting.Mode == TTrace::MonitorMode || range <= 0
                               ? 10
                               : int(std::ceil(dm.SamplingTime() * (n - 1) / range));
}

void TFMTrace::SetCursor(int cursor, int column)
{
    plot->data.cursor[size_t(cursor)] = column;
    QScrollBar *bar = cursor == 0 ? ScrollBarT1 : ScrollBarT2;
    if (bar->value() != column) {
        const QSignalBlocker b(bar);
        bar->setValue(column);
    }
    UpdateReadouts();
    Redraw();
}

void TFMTrace::UpdateReadouts()
{
    const TTrace &t = dm.trace;
    const bool empty = plot->data.blank || monitoring || t.Samples.empty();
    const int t1 = plot->data.cursor[0], t2 = plot->data.cursor[1];
    if (empty) {
        edtLag->clear();
        edtFrequency->clear();
    } else {
        const double lag = std::abs(t1 - t2) * dm.SamplingTime();
        edtLag->setText(QString::number(lag, 'g', 15));
        edtFrequency->setText(lag == 0 ? QString() : TTraceFile::FormatDecimal(1000.0 / lag));
    }
    for (int c = 0; c < 8; ++c) {
        QString text;
        if (!empty && t.InUse[size_t(c)] && chkChannel[size_t(c)]->isChecked() && t1 < int(t.Samples.size())) {
            const TTraceSample &s = t.At(t1);
            if (s.HasValue(c))
                text = QString::number(s.Value(c));
        }
        edtValue[size_t(c)]->setText(text);
    }
}

void TFMTrace::Redraw()
{
    TTracePlotData &d = plot->data;
    d.monitoring = monitoring;
    for (int c = 0; c < 4; ++c) {
        d.range[size_t(c)] = cmbRange[size_t(c)]->currentData().toLongLong();
        if (d.range[size_t(c)] <= 0)
            d.range[size_t(c)] = 1000;
        btnUp[size_t(c)]->setEnabled(dm.trace.InUse[size_t(c)] && d.offset[size_t(c)] > 0);
        btnDown[size_t(c)]->setEnabled(dm.trace.InUse[size_t(c)] && d.offset[size_t(c)] < 10);
    }
    for (int c = 0; c < 8; ++c)
        d.shown[size_t(c)] = chkChannel[size_t(c)]->isChecked();
    plot->Redraw();
}

void TFMTrace::AfterRead(bool ok, bool read)
{
    if (!ok) {
        Resync();
        return;
    }
    if (read) {
        plot->data.blank = false;
        SetupDisplay();
    }
}

void TFMTrace::OnStartRead()
{
    bool usable = false;
    const int axis = Axis();
    if (!dm.CheckTraceUsable(axis, usable))
        return Resync();
    if (!usable)
        return;
    if (!dm.StartTrace(axis))
        return Resync();
    OnRead();
}

void TFMTrace::OnStart()
{
    bool usable = false;
    if (!dm.CheckTraceUsable(Axis(), usable) || (usable && !dm.StartTrace(Axis())))
        Resync();
}

void TFMTrace::OnRead()
{
    bool usable = false;
    if (!dm.CheckTraceUsable(Axis(), usable))
        return Resync();
    if (!usable)
        return;
    TFMSampling sampling(this);
    TFMProgressView progress(this);
    dm.SetWaitView(&sampling);
    dm.SetProgress(&progress);
    bool read = false;
    const bool ok = dm.WaitAndReadTrace(Axis(), read);
    dm.SetWaitView(nullptr);
    dm.SetProgress(nullptr);
    AfterRead(ok, read);
}

void TFMTrace::OnMonitorStart()
{
    bool usable = false;
    const int axis = Axis();
    if (!dm.CheckTraceUsable(axis, usable))
        return Resync();
    if (!usable)
        return;
    if (!dm.StartTrace(axis))
        return Resync();
    dm.ClearLocal();
    monitoring = true;
    plot->data.blank = true;
    UpdateActions();
    UpdateReadouts();
    const auto end = dm.Monitor(axis, [this] { return monitoring; }, [this] {
        plot->data.blank = false;
        Redraw();
    });
    monitoring = false;
    UpdateActions();
    UpdateReadouts();
    Redraw();
    if (end == TDMTrace::TMonitorEnd::Failed)
        Resync();
}

void TFMTrace::OnClear()
{
    if (dm.trace.Setting.Mode == TTrace::MonitorMode) {
        dm.ClearLocal();
    } else {
        bool usable = false;
        if (!dm.CheckTraceUsable(Axis(), usable) || (usable && !dm.ClearTrace(Axis())))
            return Resync();
    }
    plot->data.blank = true;
    UpdateReadouts();
    UpdateActions();
    Redraw();
}

void TFMTrace::OnSettings()
{
    bool usable = false;
    const int axis = Axis();
    if (!dm.CheckTraceUsable(axis, usable))
        return Resync();
    if (!usable)
        return;
    TTraceSetting s = dm.trace.Setting;
    if (!TFMTraceSetting::Execute(dm, ctx.env.AmpCode(axis), s, this))
        return;
    dm.trace.Setting = s;
    if (!dm.WriteTraceSetting(axis))
        return Resync();
    QThread::msleep(50);
    if (!dm.ClearTrace(axis) || !dm.StartTrace(axis))
        return Resync();
    plot->data.blank = true;
    SetupDisplay();
}

void TFMTrace::OnDisplay()
{
    if (!TFMTraceColor::Execute(ctx.env, this))
        return;
    ApplyStyles();
    Redraw();
}

bool TFMTrace::LoadFile(const QString &name)
{
    fileName = name;
    SelectSource(0);
    return !fileName.isEmpty();
}

void TFMTrace::OnOpen()
{
    const QString name = QFileDialog::getOpenFileName(this, QString(), QString(),
                                                      tr("CSVファイル (*.%1)").arg(QStringLiteral("csv")));
    if (!name.isEmpty())
        LoadFile(name);
}

void TFMTrace::OnSaveAs()
{
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    dialog.setNameFilter(tr("CSVファイル (*.%1)").arg(QStringLiteral("csv")));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    QString error;
    if (!dm.SaveToFile(dialog.selectedFiles().first(), &error))
        TMessenger::Instance().Error(error);
}

void TFMTrace::OnExportCsv()
{
    const QString name = QFileDialog::getSaveFileName(this, QString(), QString(), tr("CSVファイル (*.%1)").arg(QStringLiteral("csv")));
    QString error;
    if (!name.isEmpty() && !dm.SaveCsv(name, &error))
        TMessenger::Instance().Error(error);
}

void TFMTrace::OnPrint(bool preview)
{
    if (!TRPCustom::PrinterInstalled())
        return;
    TRPTrace report(*this);
    if (preview)
        report.Preview();
    else
        report.Print();
}
