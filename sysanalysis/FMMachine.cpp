#include "sysanalysis/FMMachine.h"

#include "app/AppContext.h"
#include "app/DMEnvironment.h"
#include "app/Hourglass.h"
#include "app/Messenger.h"
#include "ZnLibs/PathUtils.h"
#include "params/FMUserParameter.h"
#include "printing/RPCustom.h"
#include "sysanalysis/BodeScale.h"
#include "sysanalysis/FMAnalyserWait.h"
#include "sysanalysis/FMMachineColor.h"
#include "sysanalysis/RPMachine.h"
#include "testrun/FMJog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

namespace {
QColor ToQColor(TColor c)
{
    return QColor(ColorRed(c), ColorGreen(c), ColorBlue(c));
}

QLineEdit *Field(QWidget *parent, int width)
{
    auto *e = new QLineEdit(parent);
    e->setReadOnly(true);
    e->setFixedWidth(width);
    e->setAlignment(Qt::AlignRight);
    return e;
}

QLabel *Swatch(QWidget *parent)
{
    auto *l = new QLabel(parent);
    l->setFixedSize(20, 9);
    l->setAutoFillBackground(true);
    return l;
}

void Paint(QLabel *swatch, const QColor &c)
{
    QPalette pal = swatch->palette();
    pal.setColor(QPalette::Window, c);
    swatch->setPalette(pal);
}

QString Signed(double v, int decimals)
{
    if (v > 0)
        return u'+' + QString::number(v, 'f', decimals);
    if (v < 0)
        return QString::number(v, 'f', decimals);
    return QString::number(0.0, 'f', decimals);
}

QString CsvFilter()
{
    return QCoreApplication::translate("TFMMachine", "CSVファイル (*.%1)").arg(QStringLiteral("csv"));
}
} // namespace

TFMMachine::TFMMachine(TAppContext &context, QWidget *owner) : QDialog(owner), dm(context), ctx(context)
{
    setObjectName(QStringLiteral("FMMachine"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    execSelection = [this](int &axis) {
        TFMJog selection(ctx, TDMJog::tySystemAnalysis, axis, this);
        selection.machine = &dm;
        const int result = selection.exec();
        axis = selection.SelectedAxis();
        return result;
    };

    auto *bar = new QMenuBar(this);
    auto add = [this](QMenu *m, const QString &text, auto slot) {
        QAction *a = m->addAction(text);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    QMenu *file = bar->addMenu(tr("ファイル(&F)"));
    actOpen = add(file, tr("開く(&O)..."), [this] { OnOpen(); });
    actOpen->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
    actClose = add(file, tr("閉じる(&C)"), [this] { CloseFile(); });
    actSave = add(file, tr("上書き保存(&S)"), [this] { OnSave(); });
    actSave->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
    actSave->setVisible(false);
    actSaveAs = add(file, tr("名前を付けて保存(&A)..."), [this] { OnSaveAs(); });
    file->addSeparator();
    actExit = add(file, tr("終了(&X)"), [this] { reject(); });
    QMenu *analysis = bar->addMenu(tr("システムアナリシス(&S)"));
    actStart = add(analysis, tr("データ測定＆解析開始(&A)..."), [this] { StartMeasurement(); });
    actGeneral = add(analysis, tr("一般パラメータ設定(&G)..."), [this] {
        THourglass wait;
        TFMUserParameter::Execute(ctx, this);
        Refresh();
    });
    actClear = add(analysis, tr("データクリア(&C)"), [this] { ClearData(); });
    analysis->addSeparator();
    actDisplay = add(analysis, tr("表示設定(&D)..."), [this] { OnDisplay(); });
    QMenu *print = bar->addMenu(tr("印刷(&P)"));
    actPrint = add(print, tr("印刷(&P)"), [this] { OnPrint(false); });
    actPrint->setShortcut(QKeySequence(QStringLiteral("Ctrl+P")));
    actPreview = add(print, tr("印刷プレビュー(&V)..."), [this] { OnPrint(true); });
    actPrinterSetup = print->addAction(tr("プリンタの設定(&S)..."));
    actPrinterSetup->setVisible(false);
    QMenu *help = bar->addMenu(tr("ヘルプ(&H)"));
    actHelp = add(help, tr("システムアナリシス使用上の注意(&C)"), [this] { OnHelp(); });

    toolBar = new QToolBar(this);
    toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    for (QAction *a : {actOpen, actSaveAs, actStart, actGeneral, actClear, actDisplay, actPrint, actPreview})
        toolBar->addAction(a);

    // Axis, models, conditions and monitors.
    auto *head = new QHBoxLayout;
    auto *axisBox = new QGroupBox(tr("軸番号"), this);
    auto *axisLayout = new QHBoxLayout(axisBox);
    edtAxis = Field(axisBox, 50);
    edtAxis->setAlignment(Qt::AlignCenter);
    axisLayout->addWidget(edtAxis);
    head->addWidget(axisBox);
    auto *model = new QGroupBox(tr("型番"), this);
    auto *modelGrid = new QGridLayout(model);
    edtMotor = Field(model, 130);
    edtAmp = Field(model, 130);
    edtMotor->setAlignment(Qt::AlignLeft);
    edtAmp->setAlignment(Qt::AlignLeft);
    modelGrid->addWidget(new QLabel(tr("モータ :"), model), 0, 0);
    modelGrid->addWidget(edtMotor, 0, 1);
    modelGrid->addWidget(new QLabel(tr("アンプ :"), model), 1, 0);
    modelGrid->addWidget(edtAmp, 1, 1);
    head->addWidget(model);
    auto *conditions = new QGroupBox(tr("システムアナリシス設定"), this);
    auto *condGrid = new QGridLayout(conditions);
    edtTorque = Field(conditions, 60);
    edtFrequency = Field(conditions, 130);
    condGrid->addWidget(new QLabel(tr("トルク（推力）指令 :"), conditions), 0, 0);
    condGrid->addWidget(edtTorque, 0, 1);
    condGrid->addWidget(new QLabel(QStringLiteral("[%]"), conditions), 0, 2);
    condGrid->addWidget(new QLabel(tr("測定周波数 :"), conditions), 1, 0);
    condGrid->addWidget(edtFrequency, 1, 1, 1, 2);
    head->addWidget(conditions);
    auto *monitor = new QGroupBox(tr("制御ループパラメータモニタ"), this);
    auto *monGrid = new QGridLayout(monitor);
    const char *names[] = {"JRAT_MON :", "KVP_MON :", "TVI_MON :", "TCNFILA_MON :", "TCNFILB_MON :", "TCFIL_MON :"};
    const char *units[] = {"[%]", "[Hz]", "[ms]", "[Hz]", "[Hz]", "[Hz]"};
    for (int i = 0; i < 6; ++i) {
        edtMonitor[size_t(i)] = Field(monitor, 60);
        const int row = i % 3, column = 3 * (i / 3);
        monGrid->addWidget(new QLabel(QLatin1String(names[i]), monitor), row, column);
        monGrid->addWidget(edtMonitor[size_t(i)], row, column + 1);
        monGrid->addWidget(new QLabel(QLatin1String(units[i]), monitor), row, column + 2);
    }
    head->addWidget(monitor);
    head->addStretch();

    // Legends.
    auto *legends = new QGridLayout;
    chkGain = new QCheckBox(this);
    chkGain->setChecked(true);
    chkPhase = new QCheckBox(this);
    chkPhase->setChecked(true);
    lblGainSwatch = Swatch(this);
    lblPhaseSwatch = Swatch(this);
    lblGain = new QLabel(this);
    lblPhase = new QLabel(this);
    lblGain->setMinimumWidth(40);
    lblPhase->setMinimumWidth(40);
    cmbGainRange = new QComboBox(this);
    cmbGainRange->setObjectName(QStringLiteral("cmbGainRange"));
    for (int r : TBodeScale::GainRanges())
        cmbGainRange->addItem(TBodeScale::GainRangeText(r));
    lblPhaseRange = new QLabel(this);
    lblPhaseRange->setMinimumWidth(30);
    btnAuto = new QPushButton(QStringLiteral("Auto"), this);
    btnDefault = new QPushButton(QStringLiteral("Default"), this);
    btnUp = new QPushButton(QStringLiteral("▲"), this);
    btnDown = new QPushButton(QStringLiteral("▼"), this);
    for (QPushButton *b : {btnUp, btnDown})
        b->setFixedWidth(28);
    legends->addWidget(chkGain, 0, 0);
    legends->addWidget(lblGainSwatch, 0, 1);
    legends->addWidget(lblGain, 0, 2);
    legends->addWidget(new QLabel(tr("レンジ :"), this), 0, 3);
    legends->addWidget(cmbGainRange, 0, 4);
    legends->addWidget(new QLabel(QStringLiteral("[dB/Div]"), this), 0, 5);
    legends->addWidget(btnAuto, 0, 6);
    legends->addWidget(btnDefault, 0, 7);
    legends->addWidget(btnUp, 0, 8);
    legends->addWidget(btnDown, 0, 9);
    legends->addWidget(chkPhase, 1, 0);
    legends->addWidget(lblPhaseSwatch, 1, 1);
    legends->addWidget(lblPhase, 1, 2);
    legends->addWidget(new QLabel(tr("レンジ :"), this), 1, 3);
    legends->addWidget(lblPhaseRange, 1, 4);
    legends->addWidget(new QLabel(QStringLiteral("[deg/Div]"), this), 1, 5);
    legends->setColumnStretch(10, 1);
    connect(chkGain, &QCheckBox::toggled, this, [this] { Redraw(); });
    connect(chkPhase, &QCheckBox::toggled, this, [this] { Redraw(); });
    connect(cmbGainRange, &QComboBox::currentIndexChanged, this, [this] { Redraw(); });
    connect(btnAuto, &QPushButton::clicked, this, &TFMMachine::GainAuto);
    connect(btnDefault, &QPushButton::clicked, this, &TFMMachine::GainDefault);
    connect(btnUp, &QPushButton::clicked, this, &TFMMachine::GainUp);
    connect(btnDown, &QPushButton::clicked, this, &TFMMachine::GainDown);

    // Graphs.
    plotGain = new TFMBodePlot(false, this);
    plotPhase = new TFMBodePlot(true, this);
    for (TFMBodePlot *p : {plotGain, plotPhase})
        p->cursorMoved = [this](int cursor, int point) { SetCursor(cursor, point); };
    auto *graphs = new QVBoxLayout;
    graphs->addWidget(plotGain);
    graphs->addWidget(plotPhase);

    // Cursors and the torque-limit rate.
    auto *cursors = new QGridLayout;
    for (int c = 0; c < 2; ++c) {
        QScrollBar *bar2 = new QScrollBar(Qt::Horizontal, this);
        bar2->setObjectName(c == 0 ? QStringLiteral("ScrollBarT1") : QStringLiteral("ScrollBarT2"));
        bar2->setMinimumWidth(200);
        (c == 0 ? ScrollBarT1 : ScrollBarT2) = bar2;
        connect(bar2, &QScrollBar::valueChanged, this, [this, c](int v) { SetCursor(c, v); });
        lblCursorSwatch[size_t(c)] = Swatch(this);
        edtCursorHz[size_t(c)] = Field(this, 80);
        edtCursorGain[size_t(c)] = Field(this, 60);
        edtCursorPhase[size_t(c)] = Field(this, 60);
        lblCursorDb[size_t(c)] = new QLabel(QStringLiteral("[dB]"), this);
        lblCursorDeg[size_t(c)] = new QLabel(QStringLiteral("[deg]"), this);
        int col = 0;
        cursors->addWidget(new QLabel(c == 0 ? QStringLiteral("t1 :") : QStringLiteral("t2 :"), this), c, col++);
        cursors->addWidget(lblCursorSwatch[size_t(c)], c, col++);
        cursors->addWidget(bar2, c, col++);
        cursors->addWidget(edtCursorHz[size_t(c)], c, col++);
        cursors->addWidget(new QLabel(QStringLiteral("[Hz]"), this), c, col++);
        cursors->addWidget(edtCursorGain[size_t(c)], c, col++);
        cursors->addWidget(lblCursorDb[size_t(c)], c, col++);
        cursors->addWidget(edtCursorPhase[size_t(c)], c, col++);
        cursors->addWidget(lblCursorDeg[size_t(c)], c, col++);
    }
    cursors->setColumnStretch(2, 1);
    auto *limitRow = new QHBoxLayout;
    edtTorqueLimit = Field(this, 60);
    limitRow->addStretch();
    limitRow->addWidget(new QLabel(tr("測定中のトルク（推力）制限状態発生率 :"), this));
    limitRow->addWidget(edtTorqueLimit);
    limitRow->addWidget(new QLabel(QStringLiteral("[%]"), this));

    auto *layout = new QVBoxLayout(this);
    layout->setMenuBar(bar);
    layout->addWidget(toolBar);
    layout->addLayout(head);
    layout->addLayout(legends);
    layout->addLayout(graphs);
    layout->addLayout(cursors);
    layout->addLayout(limitRow);
    layout->addStretch();

    dm.OpenTables();
    dm.ClearData();
    ApplyStyles();
    source = ctx.Online() ? 1 : -1;
}

TFMMachine::~TFMMachine() = default;

void TFMMachine::Execute(TAppContext &context, QWidget *owner)
{
    TFMMachine window(context, owner);
    window.exec();
}

void TFMMachine::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (shown)
        return;
    shown = true;
    // After the window is up: the refresh may warn.
    QMetaObject::invokeMethod(this, [this] { Refresh(); }, Qt::QueuedConnection);
}

void TFMMachine::ApplyStyles()
{
    const TLineStyle g = ctx.env.Gain, p = ctx.env.Phase;
    for (TFMBodePlot *plot : {plotGain, plotPhase}) {
        plot->data.gain = {ToQColor(g.color), g.width, g.mark};
        plot->data.phase = {ToQColor(p.color), p.width, p.mark};
        for (int c = 0; c < 2; ++c) {
            const TCursorStyle s = ctx.env.AnalysisCursor(c + 1);
            plot->data.cursorStyles[size_t(c)] = {ToQColor(s.color), s.width, 0};
        }
    }
    Paint(lblGainSwatch, ToQColor(g.color));
    Paint(lblPhaseSwatch, ToQColor(p.color));
    for (int c = 0; c < 2; ++c)
        Paint(lblCursorSwatch[size_t(c)], plotGain->data.cursorStyles[size_t(c)].color);
}

bool TFMMachine::HasResult() const
{
    return source >= 1 ? hasData : !fileName.isEmpty();
}

void TFMMachine::Refresh()
{
    if (source >= 1 && !ctx.env.AxisInUse(source)) {
        const int axis = ctx.FirstAxisInUse();
        if (axis >= 1)
            source = axis;
        else
            TMessenger::Instance().Warning(tr("通信可能なサーボアンプが存在しません。"), windowTitle());
    }
    bool blank = true;
    if (source <= 0) {
        if (!fileName.isEmpty() && !dm.LoadAnalysisFile(fileName))
            fileName.clear();
        blank = fileName.isEmpty();
    } else {
        hasData = false;
    }
    plotGain->data.blank = plotPhase->data.blank = blank;
    UpdateActions();
    UpdateCaption();
    SetupDisplay();
    Redraw();
}

void TFMMachine::ShowMeasured(int axis)
{
    source = axis;
    hasData = true;
    UpdateActions();
    UpdateCaption();
    SetupDisplay();
    plotGain->data.blank = plotPhase->data.blank = false;
    Redraw();
}

void TFMMachine::UpdateActions()
{
    actClose->setEnabled(source <= 0);
    const bool axisOrOnline = source >= 1 || ctx.Online();
    actStart->setEnabled(axisOrOnline);
    actGeneral->setEnabled(axisOrOnline);
    actClear->setEnabled(source >= 1);
    const bool printable = (source >= 1 && hasData) || !fileName.isEmpty();
    actPrint->setEnabled(printable);
    actPreview->setEnabled(printable);
}

void TFMMachine::UpdateCaption()
{
    if (source <= 0)
        setWindowTitle(tr("システムアナリシス - [%1]").arg(fileName.isEmpty() ? tr("無題") : fileName));
    else
        setWindowTitle(tr("システムアナリシス"));
    if (source >= 1)
        edtAxis->setText(hasData ? QStringLiteral("#%1").arg(QString::number(source, 16).toUpper()) : QString());
    else
        edtAxis->setText(source == 0 && !fileName.isEmpty() ? QStringLiteral("File") : QString());
}

void TFMMachine::SetupDisplay()
{
    const TMachineResult &r = dm.result;
    for (TFMBodePlot *p : {plotGain, plotPhase}) {
        p->data.result = &r;
        p->data.gainOffset = 0;
        p->data.gainRange = 10;
        p->data.cursor = {0, 0};
        int first = -1, count = 0;
        TBodeScale::PlottedRun(r, first, count);
        p->data.firstRow = first;
        p->data.count = count;
    }
    {
        const QSignalBlocker block(cmbGainRange);
        cmbGainRange->setCurrentText(TBodeScale::GainRangeText(10));
    }
    for (QScrollBar *bar : {ScrollBarT1, ScrollBarT2}) {
        const QSignalBlocker block(bar);
        bar->setRange(0, std::max(0, Points() - 1));
        bar->setValue(0);
    }
    const bool result = HasResult();
    for (QWidget *w : std::initializer_list<QWidget *>{chkGain, chkPhase, lblGain, lblPhase, cmbGainRange, btnAuto,
                                                        btnDefault, btnUp, btnDown, lblPhaseRange})
        w->setEnabled(result);
    if (!result) {
        for (QLineEdit *e : {edtTorque, edtFrequency, edtMotor, edtAmp})
            e->clear();
        for (QLineEdit *e : edtMonitor)
            e->clear();
        lblGain->clear();
        lblPhase->clear();
        lblPhaseRange->clear();
        return;
    }
    edtMotor->setText(r.MotType);
    edtAmp->setText(r.AmpType);
    edtTorque->setText(QString::number(r.TC));
    edtFrequency->setText(TMachineResult::FrequencyText(r.FREQUENCY));
    edtMonitor[0]->setText(QString::number(r.JRAT_MON));
    edtMonitor[1]->setText(QString::number(r.KVP_MON));
    edtMonitor[2]->setText(QString::number(r.TVI_MON / 10.0, 'f', 1));
    edtMonitor[3]->setText(QString::number(r.TCNFILA_MON));
    edtMonitor[4]->setText(QString::number(r.TCNFILB_MON));
    edtMonitor[5]->setText(QString::number(r.TCFIL_MON));
    lblGain->setText(QStringLiteral("Gain"));
    lblPhase->setText(QStringLiteral("Phase"));
    lblPhaseRange->setText(QString::number(TBodeScale::PhaseRange));
}

void TFMMachine::Redraw()
{
    const int range = TBodeScale::GainRangeOfText(cmbGainRange->currentText());
    const bool showGain = chkGain->isEnabled() && chkGain->isChecked();
    const bool showPhase = chkPhase->isEnabled() && chkPhase->isChecked();
    for (TFMBodePlot *p : {plotGain, plotPhase}) {
        // Without a range (Auto found none) the last one stays in use.
        if (range > 0)
            p->data.gainRange = range;
        p->data.showGain = showGain;
        p->data.showPhase = showPhase;
        p->data.frequencyLabels = !TMachineResult::FrequencyText(dm.result.FREQUENCY).isEmpty();
    }
    const TBodePlotData &d = plotGain->data;
    for (int c = 0; c < 2; ++c) {
        lblCursorDb[size_t(c)]->setEnabled(showGain);
        lblCursorDeg[size_t(c)]->setEnabled(showPhase);
        const bool readable = !d.blank && d.count > 0;
        if (!readable) {
            edtCursorHz[size_t(c)]->clear();
            edtCursorGain[size_t(c)]->clear();
            edtCursorPhase[size_t(c)]->clear();
            continue;
        }
        const TMachineResult::TRow &row = dm.result.DATA2[size_t(d.firstRow + d.cursor[size_t(c)])];
        edtCursorHz[size_t(c)]->setText(QString::number(row.frequency, 'f', 2));
        edtCursorGain[size_t(c)]->setText(showGain ? Signed(row.gain, 1) : QString());
        edtCursorPhase[size_t(c)]->setText(showPhase ? Signed(std::round(row.phase), 0) : QString());
    }
    if (d.blank)
        edtTorqueLimit->clear();
    else
        edtTorqueLimit->setText(QString::number(dm.result.T_LIM, 'f', 1));
    plotGain->Redraw();
    plotPhase->Redraw();
}

void TFMMachine::SetCursor(int cursor, int point)
{
    if (Points() <= 0)
        return;
    point = std::clamp(point, 0, Points() - 1);
    for (TFMBodePlot *p : {plotGain, plotPhase})
        p->data.cursor[size_t(cursor)] = point;
    QScrollBar *bar = cursor == 0 ? ScrollBarT1 : ScrollBarT2;
    {
        const QSignalBlocker block(bar);
        bar->setValue(point);
    }
    Redraw();
}

void TFMMachine::GainUp()
{
    for (TFMBodePlot *p : {plotGain, plotPhase})
        p->data.gainOffset = std::min(p->data.gainOffset + 1, TBodeScale::MaxOffset);
    Redraw();
}

void TFMMachine::GainDown()
{
    for (TFMBodePlot *p : {plotGain, plotPhase})
        p->data.gainOffset = std::max(p->data.gainOffset - 1, TBodeScale::MinOffset);
    Redraw();
}

void TFMMachine::GainDefault()
{
    for (TFMBodePlot *p : {plotGain, plotPhase})
        p->data.gainOffset = 0;
    const QSignalBlocker block(cmbGainRange);
    cmbGainRange->setCurrentText(TBodeScale::GainRangeText(10));
    Redraw();
}

void TFMMachine::GainAuto()
{
    if (dm.result.DATA2.empty())
        return;
    const TBodeScale::TAuto a = TBodeScale::AutoOf(dm.result);
    {
        const QSignalBlocker block(cmbGainRange);
        if (a.range > 0)
            cmbGainRange->setCurrentText(TBodeScale::GainRangeText(a.range));
        else
            cmbGainRange->setCurrentIndex(-1);
    }
    for (TFMBodePlot *p : {plotGain, plotPhase})
        p->data.gainOffset = a.offset;
    Redraw();
}

void TFMMachine::OpenFile(const QString &name)
{
    THourglass wait;
    fileName = name;
    source = 0;
    Refresh();
}

void TFMMachine::CloseFile()
{
    THourglass wait;
    fileName.clear();
    source = -1;
    Refresh();
}

void TFMMachine::ClearData()
{
    dm.ClearData();
    hasData = false;
    UpdateActions();
    UpdateCaption();
    SetupDisplay();
    plotGain->data.blank = plotPhase->data.blank = true;
    Redraw();
}

void TFMMachine::StartMeasurement()
{
    if (ctx.env.AnalyserPath.isEmpty()) {
        TMessenger::Instance().Information(tr("縮小インストールされたTuvantaでは、この機能は使用できません。"),
                                           windowTitle());
        return;
    }
    THourglass wait;
    int axis = source >= 1 ? source : 1;
    if (execSelection(axis) == QDialog::Accepted) {
        source = axis;
        if (dm.ReadModelNames(axis)) {
            TFMAnalyserWait box(this);
            if (dm.RunAnalyser(false, analyserWait ? analyserWait : &box))
                ShowMeasured(axis);
            return;
        }
    }
    Refresh();
}

void TFMMachine::OnOpen()
{
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    dialog.setNameFilter(CsvFilter());
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        OpenFile(dialog.selectedFiles().first());
}

void TFMMachine::OnSaveAs()
{
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    dialog.setNameFilter(CsvFilter());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    QString error;
    if (!dm.SaveAnalysisFile(dialog.selectedFiles().first(), &error))
        TMessenger::Instance().Error(error);
}

void TFMMachine::OnSave()
{
    QString error;
    if (fileName.isEmpty() || !QFileInfo(fileName).isWritable() || !dm.SaveAnalysisFile(fileName, &error))
        OnSaveAs();
}

void TFMMachine::OnDisplay()
{
    THourglass wait;
    if (!TFMMachineColor::Execute(ctx.env, this))
        return;
    ApplyStyles();
    Redraw();
}

void TFMMachine::OnPrint(bool preview)
{
    THourglass wait;
    if (!TRPCustom::PrinterInstalled())
        return;
    TRPMachine report(*this);
    if (preview)
        report.Preview();
    else
        report.Print();
}

void TFMMachine::OnHelp()
{
    const QString path = ExpandPath(ctx.env.AnalysisHelpFile);
    if (path.isEmpty() || !QFileInfo::exists(path))
        return;
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
