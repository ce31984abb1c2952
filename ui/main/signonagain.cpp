#include "signonagain.h"

#include "awaymessages.h"
#include "session/signonflow.h"
#include "session/wiretext.h"
#include "store/remembered.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

SignOnAgain::SignOnAgain(SignOnFlow &flow, Remembered &remembered, ChatSlots &rooms, AwayMessages &away,
                         QCheckBox &choice, QPushButton &cancel, QLabel &status, QObject *parent)
    : QObject(parent)
    , m_flow(flow)
    , m_remembered(remembered)
    , m_rooms(rooms)
    , m_away(away)
    , m_choice(choice)
    , m_cancel(cancel)
    , m_status(status)
    , m_countdown(new QTimer(this))
{
    m_cancel.hide();
    m_countdown->setInterval(1000);
    connect(m_countdown, &QTimer::timeout, this, &SignOnAgain::showCountdown);

    m_choice.setChecked(m_remembered.value(Remembered::Key::SignOnAgain).toBool());
    m_flow.setSignOnAgain(m_choice.isChecked());
    connect(&m_choice, &QCheckBox::toggled, this, [this](bool on) {
        m_flow.setSignOnAgain(on);
        m_remembered.setValue(Remembered::Key::SignOnAgain, on);
    });
    connect(&m_cancel, &QPushButton::clicked, this, [this] {
        m_flow.cancelRetry();
        m_status.setText(tr("Qiv does not sign on again by itself this time; press Sign On when you are ready."));
    });

    connect(
        &m_flow, &SignOnFlow::ended, this, [this](SignOnFlow::Reason, const QByteArray &detail) { onEnded(detail); },
        Qt::DirectConnection);
    connect(&m_flow, &SignOnFlow::retryScheduled, this, &SignOnAgain::showCountdown);
    connect(&m_flow, &SignOnFlow::stateChanged, this, [this](SignOnFlow::State state) {
        if (state == SignOnFlow::State::Waiting)
            return;
        m_countdown->stop();
        m_cancel.hide();
        if (state == SignOnFlow::State::Connecting && !m_lostBecause.isEmpty())
            m_status.setText(tr("Signing on again..."));
        else if (state == SignOnFlow::State::SignedOn)
            // After the sign-on's own commands, toc_init_done among them.
            QTimer::singleShot(0, this, &SignOnAgain::restore);
        else if (state == SignOnFlow::State::Offline)
            restore();
    });
}

void SignOnAgain::onEnded(const QByteArray &detail)
{
    if (m_flow.state() != SignOnFlow::State::Waiting)
        return;
    // The first drop still has its rooms open; later failed tries have none.
    const QList<ChatSlots::Room> rooms = m_rooms.roomsInUse();
    if (!rooms.isEmpty())
        m_roomsToJoin = rooms;
    if (m_away.isAway())
        m_awayText = m_away.awayText();
    m_lostBecause = WireText::fromWire(detail);
    m_cancel.show();
    m_countdown->start();
}

void SignOnAgain::showCountdown()
{
    const qint64 left = m_flow.retryIn();
    if (left < 0)
        return;
    m_status.setText(tr("The connection was lost (%1). Signing on again in %2 seconds.")
                         .arg(m_lostBecause)
                         .arg((left + 999) / 1000));
}

void SignOnAgain::restore()
{
    const QList<ChatSlots::Room> rooms = std::exchange(m_roomsToJoin, {});
    const QString awayText = std::exchange(m_awayText, QString());
    const bool signedOn = m_flow.state() == SignOnFlow::State::SignedOn;
    m_lostBecause.clear();
    if (!signedOn)
        return;
    if (!rooms.isEmpty())
        m_rooms.rejoin(rooms);
    if (!awayText.isEmpty())
        m_away.setAway(awayText);
}
