#pragma once

#include <QString>
#include <functional>
#include <vector>

// What a parameter window's grid shows, told by its data module: titles,
// cell texts, the column of current values (light yellow) and which input
// cells are drawn red. The windows draw every grid through one model.
struct TParameterGrid
{
    std::vector<QString> titles;
    // Qt::Alignment per column; missing ones are left-aligned.
    std::vector<int> alignment;
    int nowColumn = -1;
    int inputColumn = -1;
    std::function<int()> rows;
    std::function<QString(int row, int column)> text;
    // The input cell of the row differs from its current value.
    std::function<bool(int row)> inputRed;
};
