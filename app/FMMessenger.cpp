#include "app/FMMessenger.h"

#include <QApplication>
#include <QMessageBox>

TMsgAnswer TFMMessenger::Show(TMsgKind kind, const QString &text, TMsgButtons buttons,
                              const QString &caption)
{
    QMessageBox box(QApplication::activeWindow());
    switch (kind) {
    case TMsgKind::Information: box.setIcon(QMessageBox::Information); break;
    case TMsgKind::Warning: box.setIcon(QMessageBox::Warning); break;
    case TMsgKind::Error: box.setIcon(QMessageBox::Critical); break;
    case TMsgKind::Question: box.setIcon(QMessageBox::Question); break;
    }
    box.setWindowTitle(caption.isEmpty() ? QApplication::applicationDisplayName() : caption);
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    box.setText(shown);
    switch (buttons) {
    case TMsgButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case TMsgButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case TMsgButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case TMsgButtons::YesNoDefaultNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        break;
    case TMsgButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    open.append(&box);
    const int r = box.exec();
    open.removeAll(QPointer<QMessageBox>(&box));
    switch (r) {
    case QMessageBox::Ok: return TMsgAnswer::Ok;
    case QMessageBox::Yes: return TMsgAnswer::Yes;
    case QMessageBox::No: return TMsgAnswer::No;
    default:
        // A box closed by CloseAll or the close button counts as the
        // negative answer of its kind.
        return buttons == TMsgButtons::YesNo || buttons == TMsgButtons::YesNoDefaultNo ? TMsgAnswer::No
                                                                                      : TMsgAnswer::Cancel;
    }
}

void TFMMessenger::CloseAll()
{
    const auto boxes = open;
    for (const QPointer<QMessageBox> &b : boxes)
        if (b)
            b->done(QMessageBox::Cancel);
}
