#pragma once

// The credits window: a list that scrolls up one line a second and starts
// over from the top once every line has scrolled away.

#include <QStringList>
#include <QWidget>

class QListWidget;
class QTimer;
class WindowRegistry;

class frmCredits : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmCredits)
public:
    explicit frmCredits(WindowRegistry &windows, QWidget *parent = nullptr);

    // The 37 lines, top to bottom; the blank lines in front let the credits
    // rise into view from near the bottom of the list.
    static QStringList creditSequence();

    QListWidget *lstCredits;
    QTimer *tmrScroll;

public slots:
    // One tick: drop the top line, or refill an empty list.
    void scrollStep();

private:
    void fill();
};
