#include "history.h"

#include "history/frmhistory.h"

#include <QDateTime>
#include <QObject>
#include <QTextEdit>

namespace {
HistoryStore::Speaker storedSpeaker(Transcript::Speaker speaker)
{
    return speaker == Transcript::Speaker::Self ? HistoryStore::Speaker::Self : HistoryStore::Speaker::Other;
}

Transcript::Speaker shownSpeaker(HistoryStore::Speaker speaker)
{
    return speaker == HistoryStore::Speaker::Self ? Transcript::Speaker::Self : Transcript::Speaker::Other;
}

// Rides on a transcript view and sends its entries to the history of the
// correspondent or room it shows.
class Recorder : public QObject
{
    Q_OBJECT
public:
    Recorder(History &history, History::Place place, QByteArray name, QTextEdit *view)
        : QObject(view)
        , history(history)
        , place(place)
        , name(std::move(name))
    {
    }

    History &history;
    const History::Place place;
    const QByteArray name;
};

Recorder *recorderOf(QTextEdit *view) { return view->findChild<Recorder *>(QString(), Qt::FindDirectChildrenOnly); }
} // namespace

History::History(HistoryStore &store)
    : m_store(store)
{
    m_store.pruneExpired();
    m_pruning.setInterval(PruneIntervalMs);
    QObject::connect(&m_pruning, &QTimer::timeout, [this] { m_store.pruneExpired(); });
    m_pruning.start();
}

History::~History() { delete m_window.data(); }

void History::follow(QTextEdit *view, Place place, QByteArrayView name)
{
    delete recorderOf(view);
    if (m_store.isKeeping()) {
        const QList<HistoryStore::Line> lines = m_store.lastLines(place, name, ShownLines);
        if (!lines.isEmpty()) {
            Transcript::appendNotice(view, QObject::tr("History"));
            for (const HistoryStore::Line &line : lines)
                Transcript::appendEntry(view, shownSpeaker(line.speaker), line.name, line.body,
                                        line.autoReply ? Transcript::AutoReplySeparator : Transcript::NameSeparator,
                                        line.time);
        }
    }
    tellProblem(view);
    new Recorder(*this, place, name.toByteArray(), view);
}

void History::recordEntry(QTextEdit *view, Transcript::Speaker speaker, const QString &name, const QString &body,
                          const QString &separator)
{
    if (Recorder *recorder = recorderOf(view)) {
        recorder->history.keep(view, recorder->place, recorder->name,
                               {QDateTime::currentDateTime(), storedSpeaker(speaker),
                                separator == Transcript::AutoReplySeparator, name, body});
    }
}

void History::keep(QTextEdit *view, Place place, const QByteArray &name, const HistoryStore::Line &line)
{
    if (m_store.isKeeping() && !m_store.append(place, name, line))
        tellProblem(view);
}

void History::tellProblem(QTextEdit *view)
{
    const QString problem = m_store.problem();
    if (problem.isEmpty() || m_problemTold)
        return;
    m_problemTold = true;
    Transcript::appendNotice(view, problem);
}

frmHistory *History::window() const { return m_window.data(); }

void History::showWindow(Dialogs &dialogs, Place place, QByteArrayView name)
{
    if (!m_window)
        m_window = new frmHistory(m_store, dialogs);
    if (!name.isEmpty())
        m_window->showConversation(place, name.toByteArray());
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

#include "history.moc"
