// libgsf (through gio) uses "signals" as a name, so it comes before Qt.
#include <gsf/gsf.h>

#include "defdb/StgWriter.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>

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
    GsfOutfile *dir = outfile;
    if (ok && !storageName.isEmpty()) {
        GsfOutput *child = gsf_outfile_new_child(outfile, storageName.toUtf8().constData(), TRUE);
        ok = child != nullptr;
        dir = ok ? GSF_OUTFILE(child) : nullptr;
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
    if (dir && dir != outfile) {
        ok = gsf_output_close(GSF_OUTPUT(dir)) && ok;
        g_object_unref(dir);
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
