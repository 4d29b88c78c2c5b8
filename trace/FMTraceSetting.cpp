#include "trace/FMTraceSetting.h"

#include "app/Messenger.h"
#include "trace/DMTrace.h"
#include "trace/TraceFile.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QVBoxLayout>

TFMTraceSetting::TFMTraceSetting(TDMTrace &d, int ampCode, const TTraceSetting &setting, QWidget *owner)
    : QDialog(owner), dm(d), lists(d.tables, ampCode)
{
    setObjectName(QStringLiteral("FMTraceSetting"));
    setWindowTitle(tr("運転トレース設定"));
    cmbMode = new QComboBox(this);
    edtSampling = new QSpinBox(this);
    edtPeriod = new QLineEdit(this);
    edtPeriod->setReadOnly(true);
    edtTime = new QLineEdit(this);
    edtTime->setReadOnly(true);
    lblSamplingRange = new QLabel(this);
    lblBase = new QLabel(this);
    auto *top = new QGridLayout;
    top->addWidget(new QLabel(tr("トレースモード :"), this), 0, 0);
    top->addWidget(cmbMode, 0, 1, 1, 3);
    top->addWidget(new QLabel(tr("サンプリング周期 :"), this), 1, 0);
    top->addWidget(edtSampling, 1, 1);
    top->addWidget(lblBase, 1, 2);
    top->addWidget(edtPeriod, 1, 3);
    top->addWidget(lblSamplingRange, 2, 1, 1, 2);
    top->addWidget(new QLabel(tr("トレース可能時間 :"), this), 3, 0);
    top->addWidget(edtTime, 3, 3);

    auto *channels = new QGroupBox(tr("トレース対象"), this);
    auto *grid = new QGridLayout(channels);
    auto *group = new QButtonGroup(this);
    grid->addWidget(new QLabel(tr("トリガ"), channels), 0, 0);
    for (int c = 0; c < 8; ++c) {
        rbTrigger[size_t(c)] = new QRadioButton(QStringLiteral("CH%1 :").arg(c + 1), channels);
        group->addButton(rbTrigger[size_t(c)], c);
        cmbChannel[size_t(c)] = new QComboBox(channels);
        cmbChannel[size_t(c)]->setMinimumWidth(220);
        grid->addWidget(rbTrigger[size_t(c)], c + 1, 0);
        grid->addWidget(cmbChannel[size_t(c)], c + 1, 1);
        if (c < 4) {
            lblUnit[size_t(c)] = new QLabel(channels);
            grid->addWidget(lblUnit[size_t(c)], c + 1, 2);
        }
        const auto &list = c < 4 ? lists.analog : lists.digital;
        for (const TDMTraceSetting::TEntry &e : list)
            cmbChannel[size_t(c)]->addItem(e.text.section(u'\t', 0, 0), e.code);
        connect(cmbChannel[size_t(c)], &QComboBox::currentIndexChanged, this, [this] { ApplyMode(); });
    }
    rbTrigger[8] = new QRadioButton(tr("なし"), channels);
    group->addButton(rbTrigger[8], 8);
    grid->addWidget(rbTrigger[8], 9, 0);
    connect(group, &QButtonGroup::idClicked, this, [this] { ApplyMode(); });

    auto *trigger = new QGroupBox(tr("トリガ"), this);
    auto *tg = new QGridLayout(trigger);
    cmbEdge = new QComboBox(trigger);
    for (const auto &e : lists.edges)
        cmbEdge->addItem(e.text, e.code);
    edtLevel = new QLineEdit(trigger);
    edtLevel->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?[0-9]*")), edtLevel));
    lblLevelRange = new QLabel(trigger);
    edtPosition = new QSpinBox(trigger);
    edtPosition->setRange(0, 100);
    tg->addWidget(new QLabel(tr("トリガエッジ :"), trigger), 0, 0);
    tg->addWidget(cmbEdge, 0, 1);
    tg->addWidget(new QLabel(tr("トリガレベル :"), trigger), 1, 0);
    tg->addWidget(edtLevel, 1, 1);
    tg->addWidget(lblLevelRange, 1, 2);
    tg->addWidget(new QLabel(tr("トリガ位置 :"), trigger), 2, 0);
    tg->addWidget(edtPosition, 2, 1);
    tg->addWidget(new QLabel(QStringLiteral("[%]"), trigger), 2, 2);

    btnOpen = new QPushButton(tr("開く(&O)..."), this);
    auto *open = new QHBoxLayout;
    open->addWidget(new QLabel(tr("設定条件を呼び出す :"), this));
    open->addWidget(btnOpen);
    open->addStretch();
    connect(btnOpen, &QPushButton::clicked, this, [this] {
        const QString name = QFileDialog::getOpenFileName(this, QString(), QString(),
                                                          tr("CSVファイル (*.%1)").arg(QStringLiteral("csv")));
        TTraceSetting s;
        if (!name.isEmpty() && dm.ReadSettingFromFile(name, s))
            Fill(s);
    });

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TFMTraceSetting::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TFMTraceSetting::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    auto *middle = new QHBoxLayout;
    middle->addWidget(channels);
    middle->addWidget(trigger, 0, Qt::AlignTop);
    layout->addLayout(middle);
    layout->addLayout(open);
    layout->addWidget(buttons);

    for (const auto &e : lists.modes)
        cmbMode->addItem(e.text, e.code);
    connect(cmbMode, &QComboBox::currentIndexChanged, this, [this] { ApplyMode(); });
    connect(edtSampling, &QSpinBox::valueChanged, this, [this] { UpdateFields(); });
    lblBase->setText(QStringLiteral("x ") + TTraceFile::FormatDecimal(lists.SamplingBase()) + QStringLiteral(" [ms]"));
    Fill(setting);
}

void TFMTraceSetting::Fill(const TTraceSetting &s)
{
    const QSignalBlocker b(cmbMode);
    cmbMode->setCurrentIndex(TDMTraceSetting::IndexOf(lists.modes, s.Mode));
    cmbEdge->setCurrentIndex(TDMTraceSetting::IndexOf(lists.edges, s.TriggerEdge));
    for (int c = 0; c < 8; ++c) {
        const QSignalBlocker bc(cmbChannel[size_t(c)]);
        cmbChannel[size_t(c)]->setCurrentIndex(
            TDMTraceSetting::IndexOf(c < 4 ? lists.analog : lists.digital,
                                     c < 4 ? s.Analog[size_t(c)] : s.Digital[size_t(c - 4)]));
    }
    rbTrigger[size_t(s.TriggerChannel >= 0 && s.TriggerChannel < 8 ? s.TriggerChannel : 8)]->setChecked(true);
    edtLevel->setText(QString::number(s.TriggerLevel));
    edtPosition->setValue(s.TriggerPosition);
    edtSampling->setRange(TDMTraceSetting::SamplingMin(s.Mode), TDMTraceSetting::SamplingMax());
    edtSampling->setValue(s.Sampling);
    ApplyMode();
}

TTraceSetting TFMTraceSetting::Result() const
{
    TTraceSetting s;
    s.Mode = cmbMode->currentData().isValid() ? cmbMode->currentData().toInt() : -1;
    s.TriggerEdge = cmbEdge->currentData().toInt();
    s.TriggerChannel = -1;
    for (int c = 0; c < 8; ++c)
        if (rbTrigger[size_t(c)]->isChecked() && rbTrigger[size_t(c)]->isEnabled())
            s.TriggerChannel = c;
    s.TriggerLevel = edtLevel->text().toLongLong();
    s.TriggerPosition = edtPosition->value();
    s.Sampling = edtSampling->value();
    for (int c = 0; c < 8; ++c) {
        const QVariant v = cmbChannel[size_t(c)]->currentData();
        const int code = v.isValid() ? v.toInt() : -1;
        if (c < 4)
            s.Analog[size_t(c)] = code;
        else
            s.Digital[size_t(c - 4)] = code;
    }
    return s;
}

void TFMTraceSetting::ApplyMode()
{
    const TTraceSetting s = Result();
    const auto on = TDMTraceSetting::ChannelsOn(s.Mode);
    for (int c = 0; c < 8; ++c) {
        cmbChannel[size_t(c)]->setEnabled(on[size_t(c)]);
        rbTrigger[size_t(c)]->setEnabled(lists.TriggerAllowed(s.Mode, c));
        if (c >= 4)
            continue;
        // Quantities the chosen widths leave no room for are grey; 4-byte
        // ones bold.
        auto *model = qobject_cast<QStandardItemModel *>(cmbChannel[size_t(c)]->model());
        for (int i = 0; model && i < model->rowCount(); ++i) {
            const auto &e = lists.analog[size_t(i)];
            QFont f = cmbChannel[size_t(c)]->font();
            f.setBold(e.length == 4);
            model->item(i)->setFont(f);
            model->item(i)->setForeground(lists.Grey(c, e.length, s) ? QBrush(Qt::gray) : QBrush());
        }
        const int index = cmbChannel[size_t(c)]->currentIndex();
        lblUnit[size_t(c)]->setText(index >= 0 ? lists.analog[size_t(index)].text.section(u'\t', 1) : QString());
    }
    const bool trigger = TDMTraceSetting::TriggerOn(s.Mode);
    cmbEdge->setEnabled(trigger);
    edtPosition->setEnabled(trigger);
    rbTrigger[8]->setEnabled(trigger);
    int64_t lo = 0, hi = 0;
    const bool level = trigger && lists.LevelRange(s, lo, hi);
    edtLevel->setEnabled(level);
    lblLevelRange->setText(level ? QStringLiteral("( %1 - %2 )").arg(lo).arg(hi) : QString());
    edtLevel->setMaxLength(level ? int(std::max(QString::number(lo).size(), QString::number(hi).size())) : 32767);
    edtSampling->setRange(TDMTraceSetting::SamplingMin(s.Mode), TDMTraceSetting::SamplingMax());
    lblSamplingRange->setText(
        QStringLiteral("( %1 - %2 )").arg(TDMTraceSetting::SamplingMin(s.Mode)).arg(TDMTraceSetting::SamplingMax()));
    UpdateFields();
}

void TFMTraceSetting::UpdateFields()
{
    const double period = edtSampling->value() * lists.SamplingBase();
    edtPeriod->setText(TTraceFile::FormatDecimal(period));
    const int mode = cmbMode->currentData().toInt();
    edtTime->setText(TTraceFile::FormatDecimal((TTrace::SampleCount(mode) - 1) * period));
}

void TFMTraceSetting::accept()
{
    bool levelIsNumber = false;
    edtLevel->text().toLongLong(&levelIsNumber);
    const QString warning = lists.Validate(Result(), true, levelIsNumber || !edtLevel->isEnabled(), true);
    if (!warning.isEmpty()) {
        TMessenger::Instance().Warning(warning);
        return;
    }
    QDialog::accept();
}

bool TFMTraceSetting::Execute(TDMTrace &dm, int ampCode, TTraceSetting &setting, QWidget *owner)
{
    TFMTraceSetting dialog(dm, ampCode, setting, owner);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    setting = dialog.Result();
    return true;
}
