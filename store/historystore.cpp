#include "historystore.h"

#include "remembered.h"
#include "session/screenname.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <optional>

namespace {
const QString TimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");
const QString Self = QStringLiteral("me");
const QString SelfAutoReply = QStringLiteral("me-auto");
const QString Other = QStringLiteral("them");
// Enough for far more than a window shows of ordinary lines; a reader never
// has to take in a whole year of talk to show the last few lines.
constexpr qint64 TailBytes = 64 * 1024;

// Fields are separated by tabs and a line ends at its line feed, so neither
// may appear inside one; the body is the last field and may hold tabs.
QString oneLine(QString text, bool allowTabs)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (!allowTabs)
        text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    return text;
}

std::optional<HistoryStore::Line> parse(const QString &text)
{
    const QStringList fields = text.split(QLatin1Char('\t'));
    if (fields.size() < 4)
        return std::nullopt;
    HistoryStore::Line line;
    line.time = QDateTime::fromString(fields[0], TimeFormat);
    if (fields[1] == Other)
        line.speaker = HistoryStore::Speaker::Other;
    else if (fields[1] == Self || fields[1] == SelfAutoReply)
        line.speaker = HistoryStore::Speaker::Self;
    else
        return std::nullopt;
    line.autoReply = fields[1] == SelfAutoReply;
    line.name = fields[2];
    line.body = fields.mid(3).join(QLatin1Char('\t'));
    return line;
}
} // namespace

HistoryStore::HistoryStore(const Remembered &remembered, const QString &folder)
    : m_remembered(remembered)
    , m_folder(folder)
{
}

bool HistoryStore::isKeeping() const
{
    return m_remembered.keepsHistory() && !m_folder.isEmpty();
}

QString HistoryStore::fileStem(QByteArrayView normalizedName)
{
    QString stem;
    for (const char c : normalizedName) {
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
            stem += QLatin1Char(c);
        else
            stem += QStringLiteral("%%1").arg(uchar(c), 2, 16, QLatin1Char('0')).toUpper();
    }
    return stem;
}

QString HistoryStore::filePath(Place place, QByteArrayView name) const
{
    const QByteArray normalized = ScreenName::NormalizeName(name);
    if (m_folder.isEmpty() || normalized.isEmpty())
        return QString();
    const QString folder = place == Place::ChatRoom ? m_folder + QStringLiteral("/rooms") : m_folder;
    return folder + QLatin1Char('/') + fileStem(normalized) + QStringLiteral(".txt");
}

void HistoryStore::append(Place place, QByteArrayView name, const Line &line) const
{
    const QString path = filePath(place, name);
    if (!m_remembered.keepsHistory() || path.isEmpty())
        return;
    const QString folder = QFileInfo(path).path();
    if (!QDir().mkpath(folder))
        return;
    // Private talk: only the user reads the folders and files.
    const auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    QFile::setPermissions(m_folder, ownerOnly | QFileDevice::ExeOwner);
    QFile::setPermissions(folder, ownerOnly | QFileDevice::ExeOwner);

    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered))
        return;
    file.setPermissions(ownerOnly);
    const QString kind = line.speaker == Speaker::Other ? Other : line.autoReply ? SelfAutoReply : Self;
    QByteArray bytes = (line.time.toString(TimeFormat) + QLatin1Char('\t') + kind + QLatin1Char('\t')
                        + oneLine(line.name, false) + QLatin1Char('\t') + oneLine(line.body, true) + QLatin1Char('\n'))
                           .toUtf8();
    // A line cut short by a crash is ended first, so that it stays a broken
    // line of its own instead of swallowing the beginning of this one.
    if (file.size() > 0) {
        char last = '\n';
        if (file.seek(file.size() - 1) && file.getChar(&last) && last != '\n')
            bytes.prepend('\n');
    }
    // One write of the whole line, straight to the file.
    file.write(bytes);
    file.flush();
}

QList<HistoryStore::Line> HistoryStore::lastLines(Place place, QByteArrayView name, int count) const
{
    QFile file(filePath(place, name));
    if (file.fileName().isEmpty() || !file.open(QIODevice::ReadOnly))
        return {};
    const qint64 start = qMax<qint64>(0, file.size() - TailBytes);
    file.seek(start);
    QList<QByteArray> pieces = file.readAll().split('\n');
    // The last piece is empty after a whole last line, or a line a crash cut
    // short; the first may have been entered in the middle.
    pieces.removeLast();
    if (start > 0 && !pieces.isEmpty())
        pieces.removeFirst();
    QList<Line> lines;
    for (auto it = pieces.crbegin(); it != pieces.crend() && lines.size() < count; ++it) {
        if (const std::optional<Line> line = parse(QString::fromUtf8(*it)))
            lines.prepend(*line);
    }
    return lines;
}
