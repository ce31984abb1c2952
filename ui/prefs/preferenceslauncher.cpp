#include "preferenceslauncher.h"

#include "prefs/frmaimprefs.h"

#include <QLineEdit>

PreferencesLauncher::PreferencesLauncher(AppContext &context, QWidget *owner)
    : QObject(owner)
    , m_context(context)
    , m_owner(owner)
{
}

PreferencesLauncher::~PreferencesLauncher()
{
    delete m_window.data();
}

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

void PreferencesLauncher::setFormattedName(const QString &name)
{
    ensureWindow()->txtFormatsn->setText(name);
}
