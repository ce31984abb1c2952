#pragma once

// PreferencesLauncher: the main window's handle on its one preferences window.
// Creates it when first needed and again after the user closed it, so a fresh
// window always starts from the defaults.

#include <QObject>
#include <QPointer>
#include <QString>

struct AppContext;
class frmAimPrefs;
class QWidget;

class PreferencesLauncher : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PreferencesLauncher)
public:
    PreferencesLauncher(AppContext &context, QWidget *owner);
    ~PreferencesLauncher() override;

    // The setup menu's "&Preferences": shows the window, modeless.
    void show();
    // Sign-on: the user's own name into the Format Name page, without showing it.
    void setFormattedName(const QString &name);

    // The window if it exists, else null.
    frmAimPrefs *window() const { return m_window.data(); }

private:
    frmAimPrefs *ensureWindow();

    AppContext &m_context;
    QWidget *m_owner;
    QPointer<frmAimPrefs> m_window;
};
