#pragma once

// Pictures of windows for a person to look at, saved under the build folder.

#include <QString>

class QWidget;

// The folder the pictures go to (created on demand).
QString screenshotFolder();
// Saves window->grab() as <name>.png there; false when it could not be saved.
bool saveScreenshot(QWidget *window, const QString &name);
