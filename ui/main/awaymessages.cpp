#include "awaymessages.h"

#include "appcontext.h"
#include "dialogs.h"
#include "frmaimaway.h"
#include "productinfo.h"
#include "session/quortocsock.h"
#include "session/wiretext.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>

const QString AwayMessages::DefaultText = QStringLiteral("I am away from my computer right now.");

QString AwayMessages::advertiseText()
{
    return QStringLiteral("I'm using Qiv - free aim client! Go check it out at ") + ProductInfo::WebAddress;
}

AwayMessages::AwayMessages(AppContext &context, QLabel &lbAway, QObject *parent)
    : QObject(parent)
    , m_context(context)
    , m_lbAway(lbAway)
    , m_window(std::make_unique<frmAimAway>())
{
    connect(m_window.get(), &frmAimAway::backRequested, this, &AwayMessages::imBack);
}

AwayMessages::~AwayMessages() = default;

void AwayMessages::setDefaultAway() { setAway(DefaultText); }

void AwayMessages::setAdvertise() { setAway(advertiseText()); }

void AwayMessages::setCustom()
{
    const QString text
        = m_context.dialogs.askText(m_lbAway.window(), tr("Enter your away message:"), tr("Away Message"), QString());
    if (!text.isEmpty())
        setAway(text);
}

void AwayMessages::setAway(const QString &text)
{
    const QByteArray message = WireText::toWireHtml(m_context.txtFont.text(), text);
    // The server would never get a line this long; saying so beats showing
    // an away state the server knows nothing about.
    if (m_context.btoc.trySetAwayMessage(message) == QuorTOCSock::SendCheck::TooLong) {
        m_context.dialogs.notice(m_lbAway.window(),
                                 tr("This away message is too long for the server, so it was not set. "
                                    "Please choose a shorter one."),
                                 ProductInfo::ProgramTitle);
        return;
    }
    m_lbAway.show();
    m_window->show();
    m_window->setAwayText(text);
}

void AwayMessages::imBack()
{
    m_context.btoc.SetAwayMessage(QByteArray());
    m_window->hide();
    m_lbAway.hide();
    m_window->clearAnswered();
}

void AwayMessages::signOff()
{
    m_lbAway.hide();
    m_window->hide();
    m_window->clearAnswered();
}

bool AwayMessages::isAway() const
{
    // The indicator's own flag: its panel may be hidden while it is on.
    return !m_lbAway.isHidden();
}

QString AwayMessages::awayText() const { return m_window->awayText(); }

bool AwayMessages::hasAnswered(const QByteArray &name) const { return m_window->hasAnswered(name); }

void AwayMessages::addAnswered(const QByteArray &name) { m_window->addAnswered(name); }
