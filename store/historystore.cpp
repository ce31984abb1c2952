#include "historystore.h"

#include "historyimport.h"
#include "remembered.h"
#include "session/screenname.h"
#include "session/wiretext.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <QVariant>
#include <algorithm>

namespace {
// How a speaker is kept in the lines table.
enum StoredSpeaker { Them = 0, Me = 1, MeAuto = 2 };

const QString ImportedTextFiles = QStringLiteral("imported text files");
const QString LineColumns = QStringLiteral("lines.id, lines.time, lines.speaker, lines.name, lines.body");

int storedSpeaker(const HistoryStore::Line &line)
{
    return line.speaker == HistoryStore::Speaker::Other ? Them : line.autoReply ? MeAuto : Me;
}

// A row that starts with LineColumns.
HistoryStore::Line lineOf(const QSqlQuery &row)
{
    HistoryStore::Line line;
    line.id = row.value(0).toLongLong();
    line.time = QDateTime::fromMSecsSinceEpoch(row.value(1).toLongLong());
    const int speaker = row.value(2).toInt();
    line.speaker = speaker == Them ? HistoryStore::Speaker::Other : HistoryStore::Speaker::Self;
    line.autoReply = speaker == MeAuto;
    line.name = row.value(3).toString();
    line.body = row.value(4).toString();
    return line;
}

QList<HistoryStore::Line> linesOf(QSqlQuery &rows)
{
    QList<HistoryStore::Line> lines;
    while (rows.next())
        lines << lineOf(rows);
    return lines;
}

// What the user typed as a full-text query: every word must be there, as a
// word or the start of one. Each word goes in quoted, so that nothing typed is
// read as query syntax; a word with no letter or digit could match nothing.
QString matchExpression(const QString &words)
{
    QStringList terms;
    for (QString word : words.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
        if (std::none_of(word.cbegin(), word.cend(), [](QChar c) { return c.isLetterOrNumber(); }))
            continue;
        word.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        terms << QLatin1Char('"') + word + QStringLiteral("\"*");
    }
    return terms.join(QLatin1Char(' '));
}
} // namespace

HistoryStore::HistoryStore(const Remembered &remembered, const QString &folder)
    : m_remembered(remembered)
    , m_folder(folder)
    , m_db(folder.isEmpty() ? QString() : folder + QLatin1Char('/') + FileName)
{
}

bool HistoryStore::isKeeping() const { return m_remembered.keepsHistory() && !m_folder.isEmpty() && !m_db.hasFailed(); }

bool HistoryStore::isAvailable()
{
    if (m_db.isOpen())
        return true;
    // Nothing is made on disk unless the user asked for a history.
    if (!m_db.open(m_remembered.keepsHistory()))
        return false;
    importTextFiles();
    return true;
}

bool HistoryStore::importTextFiles()
{
    if (m_db.fact(ImportedTextFiles).isValid())
        return true;
    // Oldest first across all files, so that the order lines are kept in is
    // the order they were said in, as for lines kept from now on.
    struct Pending
    {
        qsizetype file;
        HistoryStore::Line line;
    };
    const QList<HistoryImport::File> files = HistoryImport::read(m_folder);
    QList<Pending> pending;
    for (qsizetype f = 0; f < files.size(); ++f) {
        for (const Line &line : files[f].lines)
            pending << Pending{f, line};
    }
    std::stable_sort(pending.begin(), pending.end(),
                     [](const Pending &a, const Pending &b) { return a.line.time < b.line.time; });
    return m_db.write([&] {
        QList<qint64> ids;
        for (const HistoryImport::File &file : files) {
            // The file name kept only the normalized name; the correspondent's
            // own lines still show how they wrote it.
            QString shown = WireText::fromWire(file.name);
            for (const Line &line : file.lines) {
                if (line.speaker == Speaker::Other && ScreenName::sameName(WireText::toWire(line.name), file.name))
                    shown = line.name;
            }
            ids << correspondent(file.place, file.name, shown, true);
            if (ids.last() == 0)
                return false;
        }
        for (const Pending &p : pending) {
            if (!insert(ids[p.file], {p.line}))
                return false;
        }
        return m_db.setFact(ImportedTextFiles, files.size());
    });
}

qint64 HistoryStore::correspondent(Place place, const QByteArray &key, const QString &shownName, bool create)
{
    const auto cacheKey = qMakePair(int(place), key);
    auto cached = m_correspondents.constFind(cacheKey);
    if (cached == m_correspondents.cend()) {
        QSqlQuery query
            = m_db.prepared(QStringLiteral("SELECT id, shown FROM correspondents WHERE place = ? AND key = ?"));
        query.addBindValue(int(place));
        query.addBindValue(key);
        if (m_db.run(query) && query.next())
            cached = m_correspondents.insert(cacheKey, {query.value(0).toLongLong(), query.value(1).toString()});
    }
    if (!create)
        return cached == m_correspondents.cend() ? 0 : cached->first;
    if (cached == m_correspondents.cend()) {
        QSqlQuery query
            = m_db.prepared(QStringLiteral("INSERT INTO correspondents (place, key, shown) VALUES (?, ?, ?)"));
        query.addBindValue(int(place));
        query.addBindValue(key);
        query.addBindValue(shownName);
        if (!m_db.run(query))
            return 0;
        return m_correspondents.insert(cacheKey, {query.lastInsertId().toLongLong(), shownName})->first;
    }
    if (cached->second != shownName) {
        QSqlQuery query = m_db.prepared(QStringLiteral("UPDATE correspondents SET shown = ? WHERE id = ?"));
        query.addBindValue(shownName);
        query.addBindValue(cached->first);
        if (!m_db.run(query))
            return 0;
        m_correspondents[cacheKey].second = shownName;
    }
    return cached->first;
}

bool HistoryStore::insert(qint64 correspondentId, const QList<Line> &lines)
{
    QSqlQuery query = m_db.prepared(
        QStringLiteral("INSERT INTO lines (correspondent, time, speaker, name, body) VALUES (?, ?, ?, ?, ?)"));
    for (const Line &line : lines) {
        query.bindValue(0, correspondentId);
        query.bindValue(1, line.time.toMSecsSinceEpoch());
        query.bindValue(2, storedSpeaker(line));
        query.bindValue(3, line.name);
        query.bindValue(4, line.body);
        if (!m_db.run(query))
            return false;
    }
    return true;
}

bool HistoryStore::append(Place place, QByteArrayView name, const Line &line)
{
    return append(place, name, QList<Line>{line});
}

bool HistoryStore::append(Place place, QByteArrayView name, const QList<Line> &lines)
{
    const QByteArray key = ScreenName::NormalizeName(name);
    if (!isKeeping() || key.isEmpty() || !isAvailable())
        return false;
    return m_db.write([&] {
        const qint64 id = correspondent(place, key, WireText::fromWire(name), true);
        return id != 0 && insert(id, lines);
    });
}

QList<HistoryStore::Line> HistoryStore::lastLines(Place place, QByteArrayView name, int count)
{
    const QByteArray key = ScreenName::NormalizeName(name);
    if (key.isEmpty() || !isAvailable())
        return {};
    const qint64 id = correspondent(place, key, QString(), false);
    QSqlQuery query = m_db.prepared(QStringLiteral("SELECT * FROM (SELECT %1 FROM lines WHERE correspondent = ?"
                                                   " ORDER BY id DESC LIMIT ?) AS lines ORDER BY id")
                                        .arg(LineColumns));
    query.addBindValue(id);
    query.addBindValue(count);
    return id != 0 && m_db.run(query) ? linesOf(query) : QList<Line>();
}

QList<HistoryStore::Match> HistoryStore::search(const QString &words, int limit)
{
    const QString expression = matchExpression(words);
    if (expression.isEmpty() || !isAvailable())
        return {};
    // The index hands over its newest matches itself; only those are joined.
    QSqlQuery query = m_db.prepared(
        QStringLiteral("SELECT %1, correspondents.place, correspondents.key, correspondents.shown"
                       " FROM (SELECT rowid FROM lines_text WHERE lines_text MATCH ? ORDER BY rowid DESC LIMIT ?)"
                       " AS found JOIN lines ON lines.id = found.rowid"
                       " JOIN correspondents ON correspondents.id = lines.correspondent ORDER BY lines.id DESC")
            .arg(LineColumns));
    query.addBindValue(expression);
    query.addBindValue(limit);
    QList<Match> matches;
    if (!m_db.run(query))
        return matches;
    while (query.next()) {
        matches << Match{query.value(5).toInt() == int(Place::ChatRoom) ? Place::ChatRoom : Place::Conversation,
                         query.value(6).toByteArray(), query.value(7).toString(), lineOf(query)};
    }
    return matches;
}

QList<HistoryStore::Line> HistoryStore::around(qint64 lineId, int before, int after)
{
    if (!isAvailable())
        return {};
    QSqlQuery owner = m_db.prepared(QStringLiteral("SELECT correspondent FROM lines WHERE id = ?"));
    owner.addBindValue(lineId);
    if (!m_db.run(owner) || !owner.next())
        return {};
    const qint64 id = owner.value(0).toLongLong();
    QSqlQuery query
        = m_db.prepared(QStringLiteral("SELECT * FROM (SELECT %1 FROM lines WHERE correspondent = ? AND id < ?"
                                       " ORDER BY id DESC LIMIT ?) UNION ALL SELECT * FROM (SELECT %1 FROM lines"
                                       " WHERE correspondent = ? AND id >= ? ORDER BY id LIMIT ?) ORDER BY 1")
                            .arg(LineColumns));
    for (const QVariant &value :
         {QVariant(id), QVariant(lineId), QVariant(before), QVariant(id), QVariant(lineId), QVariant(after + 1)})
        query.addBindValue(value);
    return m_db.run(query) ? linesOf(query) : QList<Line>();
}

bool HistoryStore::forget(Place place, QByteArrayView name)
{
    const QByteArray key = ScreenName::NormalizeName(name);
    if (key.isEmpty() || !isAvailable())
        return false;
    const qint64 id = correspondent(place, key, QString(), false);
    if (id == 0)
        return true;
    const bool forgotten = m_db.write([&] {
        QSqlQuery lines = m_db.prepared(QStringLiteral("DELETE FROM lines WHERE correspondent = ?"));
        lines.addBindValue(id);
        QSqlQuery row = m_db.prepared(QStringLiteral("DELETE FROM correspondents WHERE id = ?"));
        row.addBindValue(id);
        return m_db.run(lines) && m_db.run(row);
    });
    if (forgotten) {
        m_correspondents.remove(qMakePair(int(place), key));
        m_db.checkpoint();
    }
    return forgotten;
}

int HistoryStore::pruneOlderThan(const QDateTime &cutoff)
{
    if (!isAvailable())
        return 0;
    int pruned = 0;
    const bool done = m_db.write([&] {
        QSqlQuery lines = m_db.prepared(QStringLiteral("DELETE FROM lines WHERE time < ?"));
        lines.addBindValue(cutoff.toMSecsSinceEpoch());
        if (!m_db.run(lines))
            return false;
        pruned = lines.numRowsAffected();
        return m_db.run(QStringLiteral("DELETE FROM correspondents WHERE id NOT IN (SELECT correspondent FROM lines)"));
    });
    m_correspondents.clear();
    if (!done)
        return 0;
    if (pruned > 0)
        m_db.checkpoint();
    return pruned;
}

void HistoryStore::pruneExpired()
{
    const QDateTime now = QDateTime::currentDateTime();
    switch (m_remembered.keepHistoryFor()) {
    case Remembered::HistoryAge::Forever:
        return;
    case Remembered::HistoryAge::Year:
        pruneOlderThan(now.addYears(-1));
        return;
    case Remembered::HistoryAge::Month:
        pruneOlderThan(now.addMonths(-1));
        return;
    case Remembered::HistoryAge::Week:
        pruneOlderThan(now.addDays(-7));
        return;
    }
}
