#pragma once

// PreferencesLauncher: the main window's handle on its one preferences window.
// Creates it when first needed and again after the user closed it, so a fresh
// window always starts from the defaults. Takes the server's answer to a
// password change to the window that asked for it.

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

struct AppContext;
class frmAimPrefs;
class QWidget;

class PreferencesLauncher : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PreferencesLauncher)
public:
    // One line for the main window's status area.
    using Notice = std::function<void(const QString &)>;

    // notice: where a password change nobody waits for in a window is told.
    PreferencesLauncher(AppContext &context, QWidget *owner, Notice notice = {});
    ~PreferencesLauncher() override;

    // The setup menu's "&Preferences": shows the window, modeless.
    void show();
    // Sign-on: the user's own name into the Format Name page, without showing it.
    void setFormattedName(const QString &name);

    // The window if it exists, else null.
    frmAimPrefs *window() const { return m_window.data(); }

private:
    frmAimPrefs *ensureWindow();
    void onError(qint16 intErrorCode, const QByteArray &strError);
    void onPasswordChanged();

    AppContext &m_context;
    Notice m_notice;
    QWidget *m_owner;
    QPointer<frmAimPrefs> m_window;
};
