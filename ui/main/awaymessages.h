#pragma once

// The away state: posts and withdraws the away message, shows the away window
// and the main window's indicator, and keeps who has had an automatic reply in
// this away period. Being away means the indicator is shown.

#include <QByteArray>
#include <QObject>
#include <QString>

#include <memory>

struct AppContext;
class frmAimAway;
class QLabel;

class AwayMessages : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AwayMessages)
public:
    static const QString DefaultText;
    static QString advertiseText();

    // lbAway is the main window's indicator; it must outlive this object.
    AwayMessages(AppContext &context, QLabel &lbAway, QObject *parent = nullptr);
    ~AwayMessages() override;

    void setDefaultAway();
    void setAdvertise();
    void setCustom(); // asks for the text; an empty answer changes nothing
    void imBack();
    // The session is over: the state ends without telling the server.
    void signOff();
    // Posts text (with the style prefix) as the away message and shows it.
    void setAway(const QString &text);

    bool isAway() const;
    QString awayText() const;
    bool hasAnswered(const QByteArray &name) const;
    void addAnswered(const QByteArray &name);

    frmAimAway &window() { return *m_window; }

private:
    AppContext &m_context;
    QLabel &m_lbAway;
    std::unique_ptr<frmAimAway> m_window;
};
