#include "historyimport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace HistoryImport {

namespace {
const QString TimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

bool isHexDigit(QChar c) { return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F'); }

std::optional<HistoryStore::Line> parse(const QString &text)
{
    const QStringList fields = text.split(QLatin1Char('\t'));
    if (fields.size() < 4)
        return std::nullopt;
    HistoryStore::Line line;
    line.time = QDateTime::fromString(fields[0], TimeFormat);
    if (!line.time.isValid())
        return std::nullopt;
    if (fields[1] == QLatin1String("them"))
        line.speaker = HistoryStore::Speaker::Other;
    else if (fields[1] == QLatin1String("me") || fields[1] == QLatin1String("me-auto"))
        line.speaker = HistoryStore::Speaker::Self;
    else
        return std::nullopt;
    line.autoReply = fields[1] == QLatin1String("me-auto");
    line.name = fields[2];
    // The body was the last field and could hold tabs.
    line.body = fields.mid(3).join(QLatin1Char('\t'));
    return line;
}

void readFolder(const QString &folder, HistoryStore::Place place, QList<File> &files)
{
    const QFileInfoList found = QDir(folder).entryInfoList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
    for (const QFileInfo &info : found) {
        const std::optional<QByteArray> name = nameOfStem(info.completeBaseName());
        QFile file(info.filePath());
        if (!name || !file.open(QIODevice::ReadOnly))
            continue;
        File kept{place, *name, {}};
        const QList<QByteArray> pieces = file.readAll().split('\n');
        // The last piece is empty after a whole last line, or a line a crash cut short.
        for (qsizetype i = 0; i + 1 < pieces.size(); ++i) {
            if (const std::optional<HistoryStore::Line> line = parse(QString::fromUtf8(pieces[i])))
                kept.lines << *line;
        }
        files << kept;
    }
}
} // namespace

std::optional<QByteArray> nameOfStem(QStringView stem)
{
    QByteArray name;
    for (qsizetype i = 0; i < stem.size(); ++i) {
        const QChar c = stem[i];
        if ((c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9')) {
            name += char(c.unicode());
            continue;
        }
        if (c != u'%' || i + 2 >= stem.size() || !isHexDigit(stem[i + 1]) || !isHexDigit(stem[i + 2]))
            return std::nullopt;
        name += char(stem.mid(i + 1, 2).toUInt(nullptr, 16));
        i += 2;
    }
    if (name.isEmpty())
        return std::nullopt;
    return name;
}

QList<File> read(const QString &folder)
{
    QList<File> files;
    readFolder(folder, HistoryStore::Place::Conversation, files);
    readFolder(folder + QStringLiteral("/rooms"), HistoryStore::Place::ChatRoom, files);
    return files;
}

} // namespace HistoryImport
