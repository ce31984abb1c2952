#include "uibench.h"

#include "ratioreporter.h"

#include <QApplication>
#include <benchmark/benchmark.h>

BenchWindow::BenchWindow()
{
    signOn("Bench", "CONFIG2:m:1\ng:Buddies\ndone:\n");
    settle();
}

void BenchWindow::receive(const QByteArray &message)
{
    receiveOnly(message);
    settle();
}

void BenchWindow::receiveOnly(const QByteArray &message) { serverSays(message); }

void settle() { QCoreApplication::processEvents(); }

QByteArray buddyUpdate(int n, bool online)
{
    return "UPDATE_BUDDY2:Buddy " + QByteArray::number(n) + (online ? ":T" : ":F") + ":0:1700000000:0: O";
}

QByteArray instantMessage(int n)
{
    return "IM_IN_ENC2:Some Body:F:F:T: O:F:L:en:<HTML><BODY>line " + QByteArray::number(n)
        + " of a long evening, see you at 10:30</BODY></HTML>";
}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
