#include "screenshots.h"

#include <QDir>
#include <QPixmap>
#include <QWidget>

QString screenshotFolder()
{
    const QString folder = QStringLiteral(QIV_SCREENSHOT_DIR);
    QDir().mkpath(folder);
    return folder;
}

bool saveScreenshot(QWidget *window, const QString &name)
{
    return window->grab().save(screenshotFolder() + QLatin1Char('/') + name + QStringLiteral(".png"));
}
