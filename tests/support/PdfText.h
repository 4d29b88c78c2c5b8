#pragma once

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>

// The text layer of a PDF as pdftotext (poppler-utils) reads it, exactly as
// a viewer's search and copy see it; a null string when the tool is not
// there. TUVANTA_KEEP_PDF=folder keeps a copy of each file looked at.
inline QString PdfText(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit)
        return QString();
    if (!qEnvironmentVariableIsEmpty("TUVANTA_KEEP_PDF"))
        QFile::copy(pdf, qEnvironmentVariable("TUVANTA_KEEP_PDF") + u'/' + QFileInfo(pdf).fileName());
    return QString::fromUtf8(p.readAllStandardOutput());
}
