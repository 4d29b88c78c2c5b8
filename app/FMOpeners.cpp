#include "app/FMOpeners.h"

#include "app/AppContext.h"
#include "app/FMMain.h"
#include "direct/FMMakerLoad.h"
#include "direct/FMMakerMonitor.h"
#include "direct/FMMakerParameter.h"
#include "monitor/FMMonitor.h"
#include "monitor/FMMultiMonitor.h"
#include "params/FMLoadSave.h"
#include "params/FMMotorParameter.h"
#include "params/FMSystemParameter.h"
#include "params/FMUserParameter.h"
#include "sysanalysis/FMMachine.h"
#include "testrun/FMJog.h"
#include "monitor/FMAlarm.h"
#include "testrun/DMAdjust.h"
#include "testrun/FMAdjust.h"
#include "trace/FMTrace.h"

#include <QCoreApplication>

QList<TFMOpeners::TEntry> TFMOpeners::Table(TFMMain &main, TAppContext &ctx)
{
    TAppContext *c = &ctx;
    QList<TEntry> rows{
        {main.actParamGeneralSet, QStringLiteral("FMUserParameter"), -1,
         [c](TFMMain &owner) { TFMUserParameter::Execute(*c, &owner); }},
        {main.actParamSystemSet, QStringLiteral("FMSystemParameter"), -1,
         [c](TFMMain &owner) { TFMSystemParameter::Execute(*c, &owner); }},
        {main.actParamMotorSet, QStringLiteral("FMMotorParameter"), -1,
         [c](TFMMain &owner) { TFMMotorParameter::Execute(*c, &owner); }},
        {main.actParamSave, QStringLiteral("FMLoadSave"), int(TFMLoadSave::TDirection::AmpToFile),
         [c](TFMMain &owner) { TFMLoadSave::Execute(TFMLoadSave::TDirection::AmpToFile, 1, *c, &owner); }},
        {main.actParamLoad, QStringLiteral("FMLoadSave"), int(TFMLoadSave::TDirection::FileToAmp),
         [c](TFMMain &owner) { TFMLoadSave::Execute(TFMLoadSave::TDirection::FileToAmp, 1, *c, &owner); }},
        {main.actMonitorDisp, QStringLiteral("FMMonitor"), -1,
         [c](TFMMain &owner) { TFMMonitor::Execute(*c, &owner); }},
        {main.actMonitorMulti, QStringLiteral("FMMultiMonitor"), -1,
         [c](TFMMain &owner) { TFMMultiMonitor::Execute(*c, &owner); }},
        {main.actTestVelocityJog, QStringLiteral("FMJog"), int(TDMJog::tyVelocityJog),
         [c](TFMMain &owner) { TFMJog::Execute(*c, TDMJog::tyVelocityJog, 1, &owner); }},
        {main.actTestPulseJog, QStringLiteral("FMJog"), int(TDMJog::tyPulseJog),
         [c](TFMMain &owner) { TFMJog::Execute(*c, TDMJog::tyPulseJog, 1, &owner); }},
        {main.actTestANFTuning, QStringLiteral("FMJog"), int(TDMJog::tyNotchTuning),
         [c](TFMMain &owner) { TFMJog::Execute(*c, TDMJog::tyNotchTuning, 1, &owner); }},
        {main.actTextAutoFrequencyTuning, QStringLiteral("FMJog"), int(TDMJog::tyFrequencyTuning),
         [c](TFMMain &owner) { TFMJog::Execute(*c, TDMJog::tyFrequencyTuning, 1, &owner); }},
        {main.actTestAutoTunigResultSave, QStringLiteral("FMJog"), int(TDMJog::tyTuningResultSave),
         [c](TFMMain &owner) { TFMJog::Execute(*c, TDMJog::tyTuningResultSave, 1, &owner); }},
        {main.actMonitorAlarm, QStringLiteral("FMAlarm"), -1, [c](TFMMain &owner) { TFMAlarm::Execute(*c, &owner); }},
        {main.actTrace, QStringLiteral("FMTrace"), -1, [c](TFMMain &owner) { TFMTrace::Execute(*c, &owner); }},
        {main.actTestSystemAnalysis, QStringLiteral("FMMachine"), -1,
         [c](TFMMain &owner) { TFMMachine::Execute(*c, &owner); }},
        {main.actMakerPara, QStringLiteral("FMMakerParameter"), -1,
         [c](TFMMain &owner) { TFMMakerParameter::Execute(*c, &owner); }, true},
        {main.actMakerMonitor, QStringLiteral("FMMakerMonitor"), -1,
         [c](TFMMain &owner) { TFMMakerMonitor::Execute(*c, &owner); }, true},
        {main.actMakerLoad, QStringLiteral("FMMakerLoad"), -1,
         [c](TFMMain &owner) { TFMMakerLoad::Execute(*c, &owner); }, true},
    };
    // The one-shot operations share one window; the type tells them apart.
    const std::pair<QAction *, int> adjustments[] = {
        {main.actTestOffsetVRef, TDMAdjust::atOffsetVRef},
        {main.actTestOffsetTComp, TDMAdjust::atOffsetTComp},
        {main.actTestAlarmReset, TDMAdjust::atAlarmReset},
        {main.actTestAbsEncClear, TDMAdjust::atAbsEncoderClear},
        {main.actTestExcitation, TDMAdjust::atExcitation},
    };
    for (const auto &[action, type] : adjustments)
        rows.append({action, QStringLiteral("FMAdjust"), type,
                     [c, type = type](TFMMain &owner) { TFMAdjust::Execute(type, 1, *c, &owner); }});
    return rows;
}

void TFMOpeners::Register(TFMMain &main, TAppContext &ctx)
{
    for (const TEntry &e : Table(main, ctx))
        main.SetOpener(e.action, e.open, e.online);
    main.DisableActionsWithoutOpener(NotAvailableHint());
}

QString TFMOpeners::NotAvailableHint()
{
    return QCoreApplication::translate("TFMOpeners", "この機能はこの版ではまだ使用できません");
}
