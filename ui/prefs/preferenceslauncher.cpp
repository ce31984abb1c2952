#include "preferenceslauncher.h"

#include "appcontext.h"
#include "prefs/frmaimprefs.h"
#include "session/quortocsock.h"
#include "session/wiretext.h"

#include <QLineEdit>

PreferencesLauncher::PreferencesLauncher(AppContext &context, QWidget *owner, Notice notice)
    : QObject(owner)
    , m_context(context)
    , m_notice(std::move(notice))
    , m_owner(owner)
{
    connect(&context.btoc, &QuorTOCSock::Error, this, &PreferencesLauncher::onError, Qt::DirectConnection);
    connect(&context.btoc, &QuorTOCSock::PasswordChanged, this, &PreferencesLauncher::onPasswordChanged,
            Qt::DirectConnection);
}

PreferencesLauncher::~PreferencesLauncher() { delete m_window.data(); }

frmAimPrefs *PreferencesLauncher::ensureWindow()
{
    if (!m_window) {
        auto *w = new frmAimPrefs(m_context, m_owner);
        // A closed window is deleted only later; the next opening must not
        // find it and show its old contents.
        connect(w, &frmAimPrefs::closed, this, [this, w] {
            if (m_window == w)
                m_window = nullptr;
        });
        m_window = w;
    }
    return m_window.data();
}

void PreferencesLauncher::show()
{
    frmAimPrefs *w = ensureWindow();
    w->show();
    w->raise();
    w->activateWindow();
}

void PreferencesLauncher::setFormattedName(const QString &name) { ensureWindow()->txtFormatsn->setText(name); }

void PreferencesLauncher::onError(qint16, const QByteArray &strError)
{
    // A password change refused by the server is answered where it was asked.
    if (m_window && m_window->awaitsPasswordAnswer())
        m_window->passwordAnswered(WireText::fromWire(strError));
}

void PreferencesLauncher::onPasswordChanged()
{
    const QString changed = tr("Your password has been changed.");
    if (m_window && m_window->awaitsPasswordAnswer())
        m_window->passwordAnswered(changed);
    else if (m_notice)
        m_notice(changed);
}
