#pragma once

#include <QDir>
#include <QWidget>

// With TUVANTA_SHOTS set to a folder, widget tests leave pictures of what
// they showed there, to look at by eye.
inline void Shot(QWidget *w, const QString &name)
{
    const QString dir = qEnvironmentVariable("TUVANTA_SHOTS");
    if (dir.isEmpty())
        return;
    w->resize(w->size().expandedTo(w->sizeHint()));
    w->grab().save(QDir(dir).filePath(name + QStringLiteral(".png")));
}
