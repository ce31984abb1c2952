#include "shelltestsupport.h"

#include "flap.h"

#include <QDir>
#include <QPixmap>
#include <QWidget>

namespace ShellTest {

QList<QByteArray> dataLines(const QByteArray &written)
{
    QByteArray bytes = written;
    if (bytes.startsWith("FLAPON\n\n"))
        bytes.remove(0, 8);
    Flap::FrameSplitter splitter;
    splitter.append(bytes);
    QList<QByteArray> lines;
    while (const auto frame = splitter.next()) {
        if (Flap::frameType(*frame) != Flap::Data)
            continue;
        QByteArray payload = Flap::framePayload(*frame).toByteArray();
        if (payload.endsWith('\0'))
            payload.chop(1);
        lines << payload;
    }
    return lines;
}

QByteArray serverFrame(const QByteArray &message)
{
    static quint16 sequence = 100;
    return Flap::buildFrame(Flap::Data, sequence++, message);
}

QByteArray serverSignOnFrame()
{
    return Flap::buildFrame(Flap::SignOn, 0, QByteArray("\0\0\0\1", 4));
}

void saveScreenshot(QWidget *widget, const QString &name)
{
    const QString folder = QStringLiteral(QIV_SCREENSHOT_DIR);
    QDir().mkpath(folder);
    widget->grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
}

} // namespace ShellTest
