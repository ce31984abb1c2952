#pragma once

// frmHistory: the History window. Searches every kept conversation and chat
// room, lists the matching lines with their time and correspondent, shows the
// conversation around the chosen match, and forgets one conversation after
// asking. Everything kept is shown as plain text, never as markup.

#include "store/historystore.h"

#include <QByteArray>
#include <QWidget>

class Dialogs;
class QLabel;
class QLineEdit;
class QPushButton;
class QTextEdit;
class QTreeWidget;
class QTreeWidgetItem;

class frmHistory : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmHistory)
public:
    using Place = HistoryStore::Place;

    // How many lines either side of a match are shown with it.
    static constexpr int LinesAround = 100;
    // How many of a conversation's last lines are shown when it is opened by name.
    static constexpr int LastLines = 200;
    // The columns of lstMatches.
    enum Column { TimeColumn, WithColumn, LineColumn };

    // Deleted when closed.
    frmHistory(HistoryStore &store, Dialogs &dialogs, QWidget *parent = nullptr);

    QLabel *Label1;
    QLineEdit *txtFind;
    QPushButton *cmdFind;
    QLabel *Label2;
    QTreeWidget *lstMatches;
    QLabel *lbConversation; // whose conversation txtConversation shows
    QTextEdit *txtConversation;
    QPushButton *cmdForget;
    QLabel *lbStatus;

    // Lists the lines holding every word typed in txtFind.
    void Find();
    // Shows the last lines kept of one conversation or room; name as the
    // server sent it.
    void showConversation(Place place, const QByteArray &name);
    // Deletes everything kept of the conversation shown, after asking.
    void Forget();

private:
    // Whose lines are shown: the key they are kept under and the name to show.
    struct Shown
    {
        Place place = Place::Conversation;
        QByteArray key;
        QString name;
    };

    void buildLayout();
    void showMatch(QTreeWidgetItem *item);
    // Writes lines into txtConversation for whom, marking the line matchId.
    void showLines(const Shown &whom, const QList<HistoryStore::Line> &lines, qint64 matchId);
    // The status line: text, unless the history has a problem to tell.
    void report(const QString &text);

    HistoryStore &m_store;
    Dialogs &m_dialogs;
    Shown m_shown;
};
