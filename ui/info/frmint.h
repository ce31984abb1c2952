#pragma once

// The start-up window: a borderless splash with the logo and version, a
// blocking update check over HTTP, and "Let's Go!" which hands over to the
// main window. Closing it asks whether to end the program.

#include "exitquestion.h"

#include <QUrl>
#include <QWidget>
#include <functional>

class Dialogs;
class QLabel;
class QNetworkAccessManager;
class QPushButton;
class QToolButton;
class WindowRegistry;

class frmInt : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmInt)
public:
    // mainWindow gives the window "Let's Go!" shows; it is asked each time.
    frmInt(Dialogs &dialogs, WindowRegistry &windows, const QUrl &updateUrl, std::function<QWidget *()> mainWindow,
           QWidget *parent = nullptr);

    static constexpr int DefaultUpdateTimeoutMs = 15000;
    void setUpdateTimeout(int milliseconds) { m_updateTimeoutMs = milliseconds; }
    void setEndProgram(ExitQuestion::EndProgram endProgram) { m_endProgram = std::move(endProgram); }

    QLabel *Image1;
    QLabel *Image2;
    QToolButton *Image3;
    QLabel *lblAuthor;
    QLabel *lblWeb;
    QLabel *Label2;
    QLabel *lbupdate;
    QPushButton *cmdUpdate;
    QPushButton *cmdStart;

public slots:
    // Waits for the answer (or the time-out) before returning.
    void checkForUpdates();
    void start();

protected:
    void closeEvent(QCloseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Dialogs &m_dialogs;
    QUrl m_updateUrl;
    std::function<QWidget *()> m_mainWindow;
    QNetworkAccessManager *m_network;
    int m_updateTimeoutMs = DefaultUpdateTimeoutMs;
    ExitQuestion::EndProgram m_endProgram = ExitQuestion::endApplication();
    QPoint m_dragOffset;
};
