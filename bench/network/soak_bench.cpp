// The long soak: two Qivs (real main windows, offscreen, both in this
// process) trade 100,000 instant messages and 10,000 chat lines through each
// server, with the process's resident memory, open files and processor time
// per message read every 1,000 instant messages (tests/support/soak.h; the
// tests run a short one). Figures are printed; a run that loses, repeats,
// reorders or changes a line stops and says so instead.
//
//   soak_bench [local|oscar] [IMS CHAT_LINES]
//
// Open OSCAR Server lifts its rate limits for the two accounts (marked as
// bots), except in chat rooms, where it takes about a line per 1.5 s from each
// person once the first hundred have gone: the chat lines set the pace there.

#include "desktopuser.h"
#include "interoppeer.h"
#include "soak.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const QString Password = QStringLiteral("secret1");

bool measure(const char *title, InteropPeer &peer, int ims, int chatLines)
{
    std::printf("%s: %d instant messages and %d chat lines\n", title, ims, chatLines);
    std::fflush(stdout);
    if (const QString why = peer.unavailableReason(); !why.isEmpty()) {
        std::printf("  not measured: %s\n", qPrintable(why));
        return true;
    }
    if (const QString failure = peer.start(); !failure.isEmpty()) {
        std::printf("  not measured: %s\n", qPrintable(failure));
        return false;
    }
    const QStringList names{QStringLiteral("soaka"), QStringLiteral("soakb")};
    for (const QString &name : names) {
        if (!peer.createAccount(name.toUtf8(), Password.toUtf8())
            || (peer.canExemptFromRateLimits() && !peer.exemptFromRateLimits(name.toUtf8()))) {
            std::printf("  stopped: could not set up the account %s\n", qPrintable(name));
            return false;
        }
    }
    DesktopUser a(peer.tocPort());
    DesktopUser b(peer.tocPort());
    for (DesktopUser *user : {&a, &b}) {
        if (!user->signOn(names[user == &a ? 0 : 1], Password)) {
            std::printf("  stopped: a sign-on failed: %s\n", qPrintable(user->main.lbStat->text()));
            return false;
        }
        user->main.btoc->setRateLimits(peer.limitsOfExempt());
    }

    Soak soak(a, b);
    QElapsedTimer clock;
    clock.start();
    QString failure = soak.setUp(QStringLiteral("Soak Room"));
    std::printf("  %8s %8s %12s %8s %6s %14s %8s\n", "IMs", "chat", "resident KB", "heap KB", "files", "CPU us/message",
                "wall s");
    if (failure.isEmpty()) {
        failure = soak.run(ims, chatLines, 1000, [&](const Soak::Sample &s) {
            std::printf("  %8d %8d %12lld %8lld %6d %14.0f %8.0f\n", s.ims, s.chatLines, s.residentKb, s.heapKb,
                        s.openFiles, s.cpuUsPerMessage, clock.elapsed() / 1000.0);
            std::fflush(stdout);
        });
    }
    if (!failure.isEmpty()) {
        std::printf("  stopped: %s\n  the server's last lines:\n%s\n", qPrintable(failure),
                    qPrintable(peer.lastOutput()));
        return false;
    }
    const QList<Soak::Sample> &samples = soak.samples();
    std::vector<double> cpu;
    qint64 lowest = samples.first().residentKb, highest = lowest;
    int mostFiles = 0;
    for (const Soak::Sample &s : samples) {
        cpu.push_back(s.cpuUsPerMessage);
        lowest = std::min(lowest, s.residentKb);
        highest = std::max(highest, s.residentKb);
        mostFiles = std::max(mostFiles, s.openFiles);
    }
    std::sort(cpu.begin(), cpu.end());
    // The first thousand warm up: fonts, layouts, the allocator's pools.
    std::printf("  resident after the first 1,000 IMs %lld KB, at the end %lld KB: %+lld KB"
                " (lowest %lld, highest %lld)\n"
                "  heap in use after the first 1,000 IMs %lld KB, at the end %lld KB: %+lld KB\n"
                "  open files %d at the first sample, %d at most\n"
                "  CPU per message (both Qivs, IM or chat line): median %.0f us, highest sample %.0f us\n"
                "  %.0f s in all\n",
                samples.first().residentKb, samples.last().residentKb,
                samples.last().residentKb - samples.first().residentKb, lowest, highest, samples.first().heapKb,
                samples.last().heapKb, samples.last().heapKb - samples.first().heapKb, samples.first().openFiles,
                mostFiles, cpu[cpu.size() / 2], cpu.back(), clock.elapsed() / 1000.0);
    std::fflush(stdout);
    peer.stop();
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    const QString only = arguments.value(1);
    const int ims = arguments.size() > 3 ? arguments[2].toInt() : 100000;
    const int chatLines = arguments.size() > 3 ? arguments[3].toInt() : 10000;
    bool ok = true;
    if (only.isEmpty() || only == QLatin1String("local")) {
        LocalPeer local;
        ok = measure("qiv-localserver", local, ims, chatLines) && ok;
    }
    if (only.isEmpty() || only == QLatin1String("oscar")) {
        OscarPeer oscar;
        ok = measure("Open OSCAR Server", oscar, ims, chatLines) && ok;
    }
    return ok ? 0 : 1;
}
