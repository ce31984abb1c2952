#pragma once

// History: the transcript side of the kept history. A transcript view that
// follows a correspondent or room shows the last lines kept for it when it
// opens, and every entry the transcript writer puts into it is kept.

#include "store/historystore.h"
#include "transcript.h"

#include <QByteArrayView>
#include <QString>

class QTextEdit;

class History
{
    Q_DISABLE_COPY_MOVE(History)
public:
    using Place = HistoryStore::Place;

    // How many lines a window shows when it opens.
    static constexpr int ShownLines = 20;

    explicit History(HistoryStore &store);

    // Shows the last lines kept for name under a "History" heading, then keeps
    // every entry later written into view under that name (replacing whatever
    // view was kept under before).
    void follow(QTextEdit *view, Place place, QByteArrayView name);

    // Called by the transcript writer for every entry it writes.
    static void recordEntry(QTextEdit *view, Transcript::Speaker speaker, const QString &name, const QString &body,
                            const QString &separator);

private:
    HistoryStore &m_store;
};
