#pragma once

// Shared pieces of the window benchmarks: a main window signed on over a
// connection the benchmark feeds by hand, and the messages it is fed.

#include "signedonwindow.h"

#include <QByteArray>

// The tests' signed-on main window, shown offscreen, with the two ways a
// benchmark feeds it.
struct BenchWindow : SignedOnWindow
{
    BenchWindow();

    // One server data frame, read as its own arrival, then the window's
    // pending layout and painting, as between two socket reads.
    void receive(const QByteArray &message);
    // The same without running the event loop: a burst read in one go.
    void receiveOnly(const QByteArray &message);
};

// Lets queued layout and paint work run, as the event loop would.
void settle();

QByteArray buddyUpdate(int n, bool online);
QByteArray instantMessage(int n);
