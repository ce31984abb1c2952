#include "frmcredits.h"

#include "escapekey.h"
#include "productinfo.h"
#include "windowregistry.h"

#include <QListWidget>
#include <QTimer>
#include <QVBoxLayout>

frmCredits::frmCredits(WindowRegistry &windows, QWidget *parent)
    : QWidget(parent, Qt::Tool)
    , lstCredits(new QListWidget(this))
    , tmrScroll(new QTimer(this))
{
    setObjectName(QStringLiteral("frmCredits"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(ProductInfo::caption(QStringLiteral("Credits")));
    windows.add(this);

    lstCredits->setObjectName(QStringLiteral("lstCredits"));
    lstCredits->setFont(QFont(QStringLiteral("Georgia"), 11));
    lstCredits->setSelectionMode(QAbstractItemView::NoSelection);
    lstCredits->setFocusPolicy(Qt::NoFocus);
    lstCredits->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lstCredits->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lstCredits->setAccessibleName(QStringLiteral("Credits"));
    lstCredits->setAccessibleDescription(QStringLiteral("The people who made Qiv, scrolling upward"));
    EscapeKey::leavesBy(this, [this] { close(); });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lstCredits);
    resize(403, 270);

    tmrScroll->setObjectName(QStringLiteral("tmrScroll"));
    tmrScroll->setInterval(1000);
    connect(tmrScroll, &QTimer::timeout, this, &frmCredits::scrollStep);
    fill();
    // Scrolling starts only once the list is full.
    tmrScroll->start();
}

QStringList frmCredits::creditSequence()
{
    QStringList lines;
    for (int blank = 0; blank < 16; ++blank)
        lines << QString();
    lines << QStringLiteral("    Qiv Credits:") << QString() << QString();
    const QStringList credits = {
        QStringLiteral("    ravenlight - design and main code"),
        QStringLiteral("    tocsmith - TOC2 session control"),
        QStringLiteral("    mintleaf - buddy list and chat rooms"),
        QStringLiteral("    pixelcat - pictures and layout"),
        QStringLiteral("    nightowl - testing and bug hunting"),
    };
    for (const QString &credit : credits)
        lines << credit << QString();
    lines << QStringLiteral("    Beta Testers:") << QStringLiteral("    bluejay42") << QStringLiteral("    s0nic")
          << QStringLiteral("    marbles") << QStringLiteral("    tinfoil") << QString()
          << QStringLiteral("    More programs at") << QStringLiteral("    ") + ProductInfo::WebAddress;
    return lines;
}

void frmCredits::fill() { lstCredits->addItems(creditSequence()); }

void frmCredits::scrollStep()
{
    if (lstCredits->count() > 0)
        delete lstCredits->takeItem(0);
    else
        fill();
}
