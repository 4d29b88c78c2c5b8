#include "app/FMAxisChoice.h"

#include "app/AppContext.h"
#include "app/DMEnvironment.h"

#include <QRadioButton>

TFMAxisChoice::TResult TFMAxisChoice::Settle(TAppContext &ctx, const TButtons &buttons, int &axis,
                                             const TReadName &readName, QString &name, int *lost)
{
    for (;;) {
        for (int n = 1; n <= 15; ++n)
            buttons[size_t(n - 1)]->setEnabled(ctx.env.AxisInUse(n));
        if (axis < 1 || axis > 15 || !ctx.env.AxisInUse(axis))
            axis = ctx.FirstAxisInUse();
        if (axis < 1) {
            // Exclusive buttons cannot be unchecked one by one.
            for (QRadioButton *b : buttons) {
                b->setAutoExclusive(false);
                b->setChecked(false);
                b->setAutoExclusive(true);
            }
            name.clear();
            return NoAxis;
        }
        buttons[size_t(axis - 1)]->setChecked(true);
        name.clear();
        if (readName(axis, name))
            return Named;
        // The read took the axis out of use, and the next round moves on; an
        // axis that still answers has no model row, which is not expected,
        // so stop rather than loop on it.
        if (ctx.env.AxisInUse(axis)) {
            name.clear();
            return Unnamed;
        }
        if (lost)
            ++*lost;
    }
}
