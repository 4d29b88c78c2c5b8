#pragma once

#include <QString>

#include <array>
#include <functional>

class QRadioButton;
struct TAppContext;

// The fifteen axis buttons of the windows that work on one amplifier at a
// time (file transfers, adjustments, test runs), and the search for an axis
// that answers.
class TFMAxisChoice
{
public:
    enum TResult { Named, Unnamed, NoAxis };
    using TButtons = std::array<QRadioButton *, 15>;
    using TReadName = std::function<bool(int axis, QString &name)>;

    // Enables the buttons of the axes in use and settles `axis` on one that
    // answers. An axis out of use gives way to the first one in use (the
    // main window's answer, which may take the line offline); an axis whose
    // name cannot be read and which has dropped out of use gives way to the
    // next. Named: `name` holds its model name. Unnamed: the axis answers
    // but has no name in the database. NoAxis: every button is cleared.
    // `lost` counts the axes given up on the way.
    static TResult Settle(TAppContext &ctx, const TButtons &buttons, int &axis, const TReadName &readName,
                          QString &name, int *lost = nullptr);
};
