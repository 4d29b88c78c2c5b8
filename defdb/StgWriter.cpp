// libgsf (through gio) uses "signals" as a name, so it comes before Qt.
#include <gsf/gsf.h>

#include "defdb/StgWriter.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <vector>

bool TStgWriter::Write(const QString &fileName, const QList<TStream> &streams, QString *error,
                       const QString &storageName)
{
    static const bool initialised = [] {
        gsf_init();
        return true;
    }();
    (void)initialised;

    auto fail = [&](const QString &why) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(fileName, why);
        return false;
    };
    const QString temp = fileName + QStringLiteral(".part");
    QFile::remove(temp);

    GError *gerr = nullptr;
    GsfOutput *sink = gsf_output_stdio_new(QFile::encodeName(temp).constData(), &gerr);
    if (!sink) {
        const QString why = gerr ? QString::fromUtf8(gerr->message) : QStringLiteral("cannot be created");
        if (gerr)
            g_error_free(gerr);
        return fail(why);
    }
    GsfOutfile *outfile = gsf_outfile_msole_new(sink);
    bool ok = outfile != nullptr;
    // The chain of storages down to the one that holds the streams.
    std::vector<GsfOutfile *> dirs;
    GsfOutfile *dir = outfile;
    for (const QString &part : storageName.split(QLatin1Char('\\'), Qt::SkipEmptyParts)) {
        if (!ok)
            break;
        GsfOutput *child = gsf_outfile_new_child(dir, part.toUtf8().constData(), TRUE);
        ok = child != nullptr;
        if (ok) {
            dir = GSF_OUTFILE(child);
            dirs.push_back(dir);
        }
    }
    for (const TStream &s : streams) {
        if (!ok)
            break;
        GsfOutput *child = gsf_outfile_new_child(dir, s.first.toUtf8().constData(), FALSE);
        if (!child) {
            ok = false;
            break;
        }
        ok = gsf_output_write(child, size_t(s.second.size()), reinterpret_cast<const guint8 *>(s.second.constData()))
             && gsf_output_close(child);
        g_object_unref(child);
    }
    for (auto it = dirs.rbegin(); it != dirs.rend(); ++it) {
        ok = gsf_output_close(GSF_OUTPUT(*it)) && ok;
        g_object_unref(*it);
    }
    if (outfile) {
        ok = gsf_output_close(GSF_OUTPUT(outfile)) && ok;
        g_object_unref(outfile);
    }
    if (!gsf_output_is_closed(sink))
        ok = gsf_output_close(sink) && ok;
    g_object_unref(sink);

    if (!ok) {
        QFile::remove(temp);
        return fail(QStringLiteral("writing failed"));
    }
    if (std::rename(QFile::encodeName(temp).constData(), QFile::encodeName(fileName).constData()) != 0) {
        QFile::remove(temp);
        return fail(QStringLiteral("cannot replace the file"));
    }
    return true;
}
