#include "app/FMOpeners.h"

#include "app/AppContext.h"
#include "app/FMMain.h"
#include "direct/FMMakerLoad.h"
#include "direct/FMMakerMonitor.h"
#include "direct/FMMakerParameter.h"
#include "params/FMLoadSave.h"
#include "params/FMMotorParameter.h"
#include "params/FMSystemParameter.h"
#include "params/FMUserParameter.h"

#include <QCoreApplication>

QList<TFMOpeners::TEntry> TFMOpeners::Table(TFMMain &main, TAppContext &ctx)
{
    TAppContext *c = &ctx;
    return {
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
        {main.actMakerPara, QStringLiteral("FMMakerParameter"), -1,
         [c](TFMMain &owner) { TFMMakerParameter::Execute(*c, &owner); }, true},
        {main.actMakerMonitor, QStringLiteral("FMMakerMonitor"), -1,
         [c](TFMMain &owner) { TFMMakerMonitor::Execute(*c, &owner); }, true},
        {main.actMakerLoad, QStringLiteral("FMMakerLoad"), -1,
         [c](TFMMain &owner) { TFMMakerLoad::Execute(*c, &owner); }, true},
    };
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
