#include "privacyprefs.h"

#include "appcontext.h"
#include "blocklist.h"
#include "dialogs.h"
#include "permitlist.h"
#include "session/quortocsock.h"
#include "session/wiretext.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
QRadioButton *option(const QString &name, const QString &text, QWidget *parent)
{
    auto *button = new QRadioButton(text, parent);
    button->setObjectName(name);
    return button;
}

QPushButton *button(const QString &name, const QString &text, const QString &description, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAccessibleDescription(description);
    return b;
}

QListWidget *list(const QString &name, const QString &accessibleName, QWidget *parent)
{
    auto *names = new QListWidget(parent);
    names->setObjectName(name);
    // A list takes no name from its label.
    names->setAccessibleName(accessibleName);
    names->setUniformItemSizes(true);
    names->setFixedHeight(names->fontMetrics().height() * 4 + 2 * names->frameWidth() + 4);
    return names;
}

// Why a change to a stored list did not go out, or empty when it did.
QString refusal(QuorTOCSock::SendCheck verdict, const QString &what)
{
    switch (verdict) {
    case QuorTOCSock::SendCheck::TooLong:
        return PrivacyPrefs::tr("%1 was not sent: it is too long for the server.").arg(what);
    case QuorTOCSock::SendCheck::NotSignedOn:
        return PrivacyPrefs::tr("%1 was not sent because Qiv is not signed on.").arg(what);
    case QuorTOCSock::SendCheck::Sendable:
    case QuorTOCSock::SendCheck::Waiting:
        break;
    }
    return QString();
}

QByteArray currentName(const QListWidget *names)
{
    const QListWidgetItem *item = names->currentItem();
    return item ? WireText::toWire(item->text()) : QByteArray();
}
} // namespace

PrivacyPrefs::PrivacyPrefs(AppContext &context, QWidget *parent)
    : QWidget(parent)
    , privacyAll(option(QStringLiteral("privacyAll"), QStringLiteral("Allow All"), this))
    , privacyNone(option(QStringLiteral("privacyNone"), QStringLiteral("Block All"), this))
    , privacySome(option(QStringLiteral("privacySome"), tr("Allow only the people on my allow list"), this))
    , privacyDenySome(option(QStringLiteral("privacyDenySome"), tr("Block only the people on my block list"), this))
    , privacyBuddies(option(QStringLiteral("privacyBuddies"), tr("Allow only my buddies"), this))
    , lbPrivacyNow(new QLabel(this))
    , lstPermit(list(QStringLiteral("lstPermit"), tr("Allow list"), this))
    , cmdAddPermit(button(QStringLiteral("cmdAddPermit"), tr("Allo&w..."),
                          tr("Asks for a screen name and adds it to the allow list stored on the server"), this))
    , cmdRemovePermit(button(QStringLiteral("cmdRemovePermit"), tr("Stop allowing"),
                             tr("Takes the chosen name off the allow list stored on the server"), this))
    , lstBlock(list(QStringLiteral("lstBlock"), tr("Block list"), this))
    , cmdAddBlock(button(QStringLiteral("cmdAddBlock"), tr("&Block..."),
                         tr("Asks for a screen name and adds it to the block list stored on the server"), this))
    , cmdRemoveBlock(button(QStringLiteral("cmdRemoveBlock"), tr("&Unblock"),
                            tr("Takes the chosen name off the block list stored on the server"), this))
    , m_context(context)
{
    lbPrivacyNow->setObjectName(QStringLiteral("lbPrivacyNow"));
    lbPrivacyNow->setTextFormat(Qt::PlainText);
    lbPrivacyNow->setWordWrap(true);
    // Named by what it says, like every label whose text changes.
    lbPrivacyNow->setAccessibleDescription(tr("Who may reach you now"));
    QPalette grey = lbPrivacyNow->palette();
    grey.setColor(QPalette::WindowText, QColor(0x60, 0x60, 0x60));
    lbPrivacyNow->setPalette(grey);

    auto *permitLabel = new QLabel(tr("&Allow list:"), this);
    permitLabel->setBuddy(lstPermit);
    auto *blockLabel = new QLabel(tr("Bl&ock list:"), this);
    blockLabel->setBuddy(lstBlock);

    auto *lists = new QGridLayout;
    lists->addWidget(permitLabel, 0, 0, 1, 2);
    lists->addWidget(lstPermit, 1, 0, 1, 2);
    lists->addWidget(cmdAddPermit, 2, 0);
    lists->addWidget(cmdRemovePermit, 2, 1);
    lists->addWidget(blockLabel, 0, 2, 1, 2);
    lists->addWidget(lstBlock, 1, 2, 1, 2);
    lists->addWidget(cmdAddBlock, 2, 2);
    lists->addWidget(cmdRemoveBlock, 2, 3);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QRadioButton *mode : modeOptions())
        layout->addWidget(mode);
    layout->addWidget(lbPrivacyNow);
    layout->addLayout(lists);

    setTabOrder(privacyBuddies, lstPermit);
    setTabOrder(lstPermit, cmdAddPermit);
    setTabOrder(cmdAddPermit, cmdRemovePermit);
    setTabOrder(cmdRemovePermit, lstBlock);
    setTabOrder(lstBlock, cmdAddBlock);
    setTabOrder(cmdAddBlock, cmdRemoveBlock);

    connect(cmdAddPermit, &QPushButton::clicked, this, &PrivacyPrefs::addPermit);
    connect(cmdRemovePermit, &QPushButton::clicked, this, &PrivacyPrefs::removePermit);
    connect(cmdAddBlock, &QPushButton::clicked, this, &PrivacyPrefs::addBlock);
    connect(cmdRemoveBlock, &QPushButton::clicked, this, &PrivacyPrefs::removeBlock);
    // A removal needs a name to remove.
    connect(lstPermit, &QListWidget::currentRowChanged, this,
            [this](int row) { cmdRemovePermit->setEnabled(row >= 0); });
    connect(lstBlock, &QListWidget::currentRowChanged, this, [this](int row) { cmdRemoveBlock->setEnabled(row >= 0); });
    connect(&context.permitted, &PermitList::changed, this, &PrivacyPrefs::showLists);
    connect(&context.blocked, &BlockList::changed, this, &PrivacyPrefs::showLists);
    connect(&context.blocked, &BlockList::privacyModeChanged, this, &PrivacyPrefs::showModeInForce);
    showLists();
    showModeInForce();
}

std::array<QRadioButton *, 5> PrivacyPrefs::modeOptions() const
{
    return {privacyAll, privacyNone, privacySome, privacyDenySome, privacyBuddies};
}

qint16 PrivacyPrefs::chosenMode() const
{
    const auto options = modeOptions();
    for (qsizetype i = 0; i < qsizetype(options.size()); ++i) {
        if (options[i]->isChecked())
            return qint16(TocProtocol::PermitAll + i);
    }
    return 0;
}

void PrivacyPrefs::choose(qint16 mode)
{
    const auto options = modeOptions();
    const qsizetype index = mode - TocProtocol::PermitAll;
    if (index >= 0 && index < qsizetype(options.size()))
        options[index]->setChecked(true);
}

void PrivacyPrefs::showLists()
{
    const std::pair<QListWidget *, QList<QByteArray>> shown[]
        = {{lstPermit, m_context.permitted.names()}, {lstBlock, m_context.blocked.names()}};
    for (const auto &[names, stored] : shown) {
        const QString current = names->currentItem() ? names->currentItem()->text() : QString();
        names->clear();
        for (const QByteArray &name : stored)
            names->addItem(WireText::fromWire(name));
        // The choice stays on the same person, or on the row where a removed one was.
        const QList<QListWidgetItem *> same = names->findItems(current, Qt::MatchExactly);
        names->setCurrentItem(same.isEmpty() ? nullptr : same.first());
    }
    cmdRemovePermit->setEnabled(lstPermit->currentRow() >= 0);
    cmdRemoveBlock->setEnabled(lstBlock->currentRow() >= 0);
}

void PrivacyPrefs::showModeInForce()
{
    QString who;
    switch (m_context.blocked.privacyMode()) {
    case TocProtocol::DenyAll:
        who = tr("nobody may reach you");
        break;
    case TocProtocol::PermitSome:
        who = tr("only the people on your allow list may reach you");
        break;
    case TocProtocol::DenySome:
        who = tr("everyone but the people on your block list may reach you");
        break;
    case TocProtocol::PermitBuddies:
        who = tr("only your buddies may reach you");
        break;
    default:
        who = tr("everyone may reach you");
        break;
    }
    lbPrivacyNow->setText(tr("Now %1.").arg(who));
}

QByteArray PrivacyPrefs::askName(const QString &prompt, const QString &title)
{
    return WireText::toWire(m_context.dialogs.askText(this, prompt, title, QString()).trimmed());
}

void PrivacyPrefs::addPermit()
{
    const QByteArray name = askName(tr("Screen name to allow:"), tr("Allow"));
    if (!name.isEmpty())
        emit report(
            refusal(m_context.permitted.permit(name), tr("The request to allow %1").arg(WireText::fromWire(name))));
}

void PrivacyPrefs::removePermit()
{
    const QByteArray name = currentName(lstPermit);
    if (!name.isEmpty())
        emit report(refusal(m_context.permitted.unpermit(name),
                            tr("The request to stop allowing %1").arg(WireText::fromWire(name))));
}

void PrivacyPrefs::addBlock()
{
    const QByteArray name = askName(tr("Screen name to block:"), tr("Block"));
    if (name.isEmpty())
        return;
    QString news;
    const QString refused
        = refusal(m_context.blocked.block(name, &news), tr("The request to block %1").arg(WireText::fromWire(name)));
    emit report(refused.isEmpty() ? news : refused);
}

void PrivacyPrefs::removeBlock()
{
    const QByteArray name = currentName(lstBlock);
    if (name.isEmpty())
        return;
    QString news;
    const QString refused = refusal(m_context.blocked.unblock(name, &news),
                                    tr("The request to unblock %1").arg(WireText::fromWire(name)));
    emit report(refused.isEmpty() ? news : refused);
}
