#include "buddystatus.h"

#include "artwork.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QIcon>
#include <QLocale>
#include <QPixmap>
#include <QStringList>

namespace {
QString tr(const char *text) { return QCoreApplication::translate("BuddyText", text); }

char letter(const QByteArray &userClass, int index) { return index < userClass.size() ? userClass.at(index) : ' '; }

// Every row gets an icon while status is shown, so that names line up.
const QIcon &awayMark()
{
    static const QIcon mark = Artwork::icon(Artwork::Picture::Away);
    return mark;
}

const QIcon &noMark()
{
    static const QIcon blank = [] {
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::transparent);
        return QIcon(pixmap);
    }();
    return blank;
}
} // namespace

bool BuddyStatus::isAway() const { return letter(userClass, 2) == 'U'; }

qint64 BuddyStatus::idleMinutesAt(qint64 now) const
{
    if (!online || idleMinutes <= 0)
        return 0;
    return idleMinutes + qMax<qint64>(0, now - reportedAt) / 60000;
}

namespace BuddyText {

QString idle(qint64 minutes)
{
    if (minutes < 60)
        return tr("%1m").arg(minutes);
    if (minutes % 60 == 0)
        return tr("%1h").arg(minutes / 60);
    return tr("%1h %2m").arg(minutes / 60).arg(minutes % 60);
}

QString account(const QByteArray &userClass)
{
    QString kind = letter(userClass, 0) == 'A' ? tr("AOL") : tr("AIM");
    switch (letter(userClass, 1)) {
    case 'A':
        return tr("%1, administrator").arg(kind);
    case 'C':
        return tr("%1, wireless").arg(kind);
    case 'U':
        return tr("%1, unconfirmed").arg(kind);
    default:
        return kind;
    }
}

QString details(const QString &shownName, const BuddyStatus &status, qint64 now)
{
    QStringList lines{shownName};
    if (!status.online) {
        lines << tr("Offline");
        return lines.join(QLatin1Char('\n'));
    }
    QString state = status.isAway() ? tr("Away") : tr("Available");
    if (const qint64 idleFor = status.idleMinutesAt(now))
        state = tr("%1, idle %2").arg(state, idle(idleFor));
    lines << state << tr("Warning level: %1%").arg(status.warningLevel);
    if (status.signOnTime > 0) {
        const QDateTime since = QDateTime::fromSecsSinceEpoch(status.signOnTime);
        const bool today = since.date() == QDateTime::fromMSecsSinceEpoch(now).date();
        const QLocale locale;
        lines << tr("Online since: %1")
                     .arg(today ? locale.toString(since.time(), QLocale::ShortFormat)
                                : locale.toString(since, QLocale::ShortFormat));
    }
    lines << tr("Account: %1").arg(account(status.userClass));
    return lines.join(QLatin1Char('\n'));
}

} // namespace BuddyText

QVariant buddyRowData(const QString &shownName, const BuddyStatus &status, int role, bool showStatus, qint64 now)
{
    const bool away = showStatus && status.online && status.isAway();
    const qint64 idleFor = showStatus ? status.idleMinutesAt(now) : 0;
    switch (role) {
    case Qt::DisplayRole:
        return shownName;
    case Qt::AccessibleTextRole: {
        // What the row shows, the marks and the greying put into words.
        QString text = shownName;
        if (!status.online)
            text += tr(", offline");
        if (away)
            text += tr(", away");
        if (idleFor > 0)
            text += tr(", idle %1").arg(BuddyText::idle(idleFor));
        return text;
    }
    case Qt::AccessibleDescriptionRole:
        return BuddyText::details(shownName, status, now);
    case Qt::ToolTipRole:
        // Rich text of our own making, so that a name is never read as markup.
        return QStringLiteral("<p style='white-space:pre'>")
            + BuddyText::details(shownName, status, now).toHtmlEscaped() + QStringLiteral("</p>");
    case Qt::ForegroundRole:
        return away || !status.online ? QVariant(BuddyText::faint()) : QVariant();
    case Qt::DecorationRole:
        if (!showStatus)
            return QVariant();
        return away ? awayMark() : noMark();
    case BuddyRoles::IdleText:
        return idleFor > 0 ? QVariant(BuddyText::idle(idleFor)) : QVariant();
    default:
        return QVariant();
    }
}
