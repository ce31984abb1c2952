#pragma once

// History: the windows' side of the kept history. A transcript view that
// follows a correspondent or room shows the last lines kept for it when it
// opens, and every entry the transcript writer puts into it is kept. It prunes
// what the user no longer wants kept, at start and once a day, opens the
// History window, and tells the user once when the history cannot be kept.

#include "store/historystore.h"
#include "transcript.h"

#include <QByteArrayView>
#include <QPointer>
#include <QString>
#include <QTimer>

class Dialogs;
class QTextEdit;
class frmHistory;

class History
{
    Q_DISABLE_COPY_MOVE(History)
public:
    using Place = HistoryStore::Place;

    // How many lines a window shows when it opens.
    static constexpr int ShownLines = 20;
    // How often lines older than the user keeps them are deleted, besides at start.
    static constexpr int PruneIntervalMs = 24 * 60 * 60 * 1000;

    explicit History(HistoryStore &store);
    ~History();

    // Shows the last lines kept for name under a "History" heading, then keeps
    // every entry later written into view under that name (replacing whatever
    // view was kept under before).
    void follow(QTextEdit *view, Place place, QByteArrayView name);

    // Called by the transcript writer for every entry it writes.
    static void recordEntry(QTextEdit *view, Transcript::Speaker speaker, const QString &name, const QString &body,
                            const QString &separator);

    // Opens the History window, or brings it up; with a name it shows what is
    // kept of that conversation or room.
    void showWindow(Dialogs &dialogs, Place place = Place::Conversation, QByteArrayView name = {});
    frmHistory *window() const;

private:
    void keep(QTextEdit *view, Place place, const QByteArray &name, const HistoryStore::Line &line);
    // Puts the store's sentence into view, the first time there is one.
    void tellProblem(QTextEdit *view);

    HistoryStore &m_store;
    QTimer m_pruning;
    QPointer<frmHistory> m_window;
    bool m_problemTold = false;
};
