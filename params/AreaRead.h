#pragma once

#include "defdb/Buffer.h"

class TDataSet;
class TDMTran;
class TProgress;

// Reads the memory a model's parameter rows cover, 8 bytes per M read,
// under the progress window "読み出し中".
namespace AreaRead {

// `rows` is the model's AMP_PARA view in address order with a LENGTH
// field. The image gets the span from the first row's address rounded down
// to an even address to the end of the last row rounded up, zeroed, then
// filled as far as the reads got. False after a failed read (the
// transaction layer has reported it).
bool Read(TDMTran &tran, TProgress *progress, int axis, const TDataSet &rows, TBuffer &image);

// Reads the bytes from spanStart (even) up to spanEnd into the words of an
// image already sized, each word only where the image has it. The progress
// is started, not finished: the caller may add its own steps first.
bool ReadSpan(TDMTran &tran, TProgress *progress, int axis, qint64 spanStart, qint64 spanEnd, TBuffer &image);

} // namespace AreaRead
