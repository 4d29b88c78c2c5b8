#pragma once

#include <QString>

class QWidget;

// The file dialogs of the parameter windows: amplifier files ("ap0"),
// starting in the folder of the current name when that folder exists.
class TFMParameterFileDialog
{
public:
    // "アンプファイル (*.ap0)"
    static QString Filter();
    // An existing file; empty when cancelled.
    static QString AskOpenName(QWidget *owner, const QString &current);
    // A name to write, with the overwrite prompt; "ap0" is added to a name
    // without extension. Empty when cancelled.
    static QString AskSaveName(QWidget *owner, const QString &current);
};
