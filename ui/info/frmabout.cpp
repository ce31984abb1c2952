#include "frmabout.h"

#include "dialogs.h"
#include "escapekey.h"
#include "artwork.h"
#include "productinfo.h"
#include "systeminfo.h"
#include "windowregistry.h"

#include <QCoreApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QVersionNumber>

namespace {
QLabel *plainLabel(const QString &name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}
} // namespace

frmAbout::frmAbout(Dialogs &dialogs, WindowRegistry &windows, const RegistryReader &registry, ProgramLauncher &launcher,
                   QWidget *parent)
    : QDialog(parent)
    , picIcon(new QLabel(this))
    , lblTitle(plainLabel(QStringLiteral("lblTitle"), this))
    , lblVersion(plainLabel(QStringLiteral("lblVersion"), this))
    , lblDescription(plainLabel(QStringLiteral("lblDescription"), this))
    , lblDisclaimer(plainLabel(QStringLiteral("lblDisclaimer"), this))
    , cmdOK(new QPushButton(QStringLiteral("OK"), this))
    , cmdSysInfo(new QPushButton(QStringLiteral("&System Info..."), this))
    , m_dialogs(dialogs)
    , m_registry(registry)
    , m_launcher(launcher)
{
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    windows.add(this);

    const QString title = QCoreApplication::applicationName();
    setWindowTitle(QStringLiteral("About ") + title);
    lblTitle->setText(title);
    lblVersion->setText(versionLine(QCoreApplication::applicationVersion()));
    lblDescription->setText(
        QStringLiteral("Qiv is an AIM client, communicating with the aol/aim network.  This program is not under "
                       "any type of warranty. Please report bugs, and find the latest version, at %1")
            .arg(ProductInfo::WebAddress));
    lblDisclaimer->setText(
        QStringLiteral("Qiv is not made, endorsed or supported by AOL. AIM and AOL Instant Messenger are "
                       "trademarks of their respective owners."));

    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setPixmap(Artwork::pixmap(Artwork::Picture::Logo, QSize(48, 54)));
    picIcon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    QPalette muted = lblDisclaimer->palette();
    muted.setColor(QPalette::WindowText, QColor(0x55, 0x55, 0x55));
    lblDisclaimer->setPalette(muted);
    QFont small = lblDisclaimer->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    lblDisclaimer->setFont(small);

    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QWidget::close);
    // Escape is OK: the window goes away for good, not just out of sight.
    EscapeKey::leavesBy(this, [this] { cmdOK->click(); });
    cmdSysInfo->setAccessibleDescription(QStringLiteral("Starts the system's own information tool"));
    picIcon->setAccessibleName(QStringLiteral("Qiv logo"));
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::startSysInfo);

    auto *text = new QVBoxLayout;
    text->setSpacing(4);
    text->addWidget(lblTitle);
    text->addWidget(lblVersion);
    text->addSpacing(6);
    text->addWidget(lblDescription);
    text->addStretch();

    auto *top = new QHBoxLayout;
    top->setSpacing(14);
    top->addWidget(picIcon, 0, Qt::AlignTop);
    top->addLayout(text, 1);

    auto *rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    auto *bottom = new QHBoxLayout;
    bottom->setSpacing(14);
    bottom->addWidget(lblDisclaimer, 1);
    bottom->addLayout(buttons);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 14, 14, 12);
    layout->addLayout(top, 1);
    layout->addWidget(rule);
    layout->addLayout(bottom);

    resize(420, 260);
}

QString frmAbout::versionLine(const QString &applicationVersion)
{
    const QVersionNumber version = QVersionNumber::fromString(applicationVersion);
    return QStringLiteral("Version %1.%2.%3")
        .arg(version.majorVersion())
        .arg(version.minorVersion())
        .arg(version.microVersion());
}

void frmAbout::startSysInfo() { SystemInfo::start(m_registry, m_launcher, m_dialogs, this); }
