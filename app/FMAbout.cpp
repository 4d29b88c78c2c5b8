#include "app/FMAbout.h"

#include "app/DMEnvironment.h"
#include "app/FMMain.h"
#include "app/Product.h"
#include "defdb/DMMain.h"

#include <QDesktopServices>
#include <QDir>
#include <QDialogButtonBox>
#include <QEnterEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QUrl>
#include <QVBoxLayout>

namespace {

// The web address: blue, red while the mouse is over it; a click opens it in
// the default browser.
class TLinkLabel : public QLabel
{
public:
    explicit TLinkLabel(const QString &address, QWidget *parent) : QLabel(address, parent), address(address)
    {
        setCursor(Qt::PointingHandCursor);
        QFont f = font();
        f.setUnderline(true);
        setFont(f);
        Colour(Qt::blue);
    }

protected:
    void enterEvent(QEnterEvent *) override { Colour(Qt::red); }
    void leaveEvent(QEvent *) override { Colour(Qt::blue); }
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            QDesktopServices::openUrl(QUrl(address));
    }

private:
    void Colour(const QColor &c)
    {
        QPalette p = palette();
        p.setColor(QPalette::WindowText, c);
        setPalette(p);
    }
    QString address;
};

} // namespace

QString TFMAbout::VersionLine(const QString &productVersion, const QString &databaseText)
{
    const QString text = databaseText.trimmed();
    if (text.isEmpty())
        return QStringLiteral("Version %1").arg(productVersion.trimmed());
    return QStringLiteral("Version %1 - %2").arg(productVersion.trimmed(), text);
}

TFMAbout::TFMAbout(QWidget *owner, TDMMain &mainTables) : QDialog(owner)
{
    setObjectName(QStringLiteral("FMAbout"));
    setWindowTitle(tr("バージョン情報"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    // The VERSION table is only loaded for this box.
    const QString databaseText = mainTables.VersionText();
    mainTables.cdsVersion.Close();

    auto *icon = new QLabel(this);
    icon->setPixmap(TFMMain::ProgramIcon().pixmap(32, 32));
    icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto *caption = new QLabel(Product::Caption(), this);
    QFont bold = caption->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.25);
    caption->setFont(bold);
    lblVersion = new QLabel(VersionLine(Product::Version(), databaseText), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    auto *maker = new QLabel(Product::Maker(), this);
    lblAddress = new TLinkLabel(Product::WebAddress(), this);
    lblAddress->setObjectName(QStringLiteral("lblAddress"));

    const QString settings = TDMEnvironment::HasInstance()
                                 ? QDir::toNativeSeparators(TDMEnvironment::Instance().SettingsPath())
                                 : QString();
    lblSettings = new QLabel(tr("設定ファイル: %1").arg(settings), this);
    lblSettings->setObjectName(QStringLiteral("lblSettings"));
    lblSettings->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblSettings->setToolTip(settings);
    lblSettings->setVisible(!settings.isEmpty());

    auto *texts = new QVBoxLayout;
    texts->setSpacing(6);
    texts->addWidget(caption);
    texts->addWidget(lblVersion);
    texts->addSpacing(8);
    texts->addWidget(maker);
    texts->addWidget(lblAddress);
    texts->addSpacing(8);
    texts->addWidget(lblSettings);

    auto *top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(icon);
    top->addLayout(texts, 1);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 12);
    layout->addLayout(top);
    layout->addSpacing(12);
    layout->addWidget(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(360, 0)));
}
