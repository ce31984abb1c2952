// Receive path throughput and scaling: reassembly and dispatch of a realistic
// server stream to connected handlers, measured against a plain copy of the
// same bytes in the same run.

#include "session/quortocsock.h"
#include "serverframes.h"
#include "session/tocsocket.h"

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <chrono>
#include <cstring>
#include <utility>
#include <vector>

namespace {

// Always connected; hands over exactly the bytes of one arrival, copied out
// the way QTcpSocket::readAll copies them out of its buffer.
class BenchSocket final : public TocSocket
{
public:
    void connectToServer(const QString &, qint32) override {}
    bool isConnected() const override { return true; }
    void write(const QByteArray &bytes) override { writtenBytes += bytes.size(); }
    QByteArray readAll() override
    {
        const QByteArray pending = std::exchange(m_pending, QByteArray());
        return pending.isEmpty() ? QByteArray() : QByteArray(pending.constData(), pending.size());
    }
    void close() override {}

    void deliver(const QByteArray &bytes)
    {
        m_pending = bytes;
        emit dataArrived();
    }

    qsizetype writtenBytes = 0;

private:
    QByteArray m_pending;
};

// Mostly instant messages and buddy updates of about 100 bytes, as a busy
// session sees them.
QByteArray makeStream(int frames)
{
    QByteArray stream;
    for (int i = 0; i < frames; ++i) {
        const QByteArray n = QByteArray::number(i % 1000);
        QByteArray message;
        if (i % 3 == 2) {
            message = "UPDATE_BUDDY2:Buddy Number " + n + ":T:0:1700000000:" + n
                + ": O:0000000000000000000000000000000000000000000000000";
        } else {
            message = "IM_IN_ENC2:Buddy Number " + n + ":F:F:T: O:F:L:en:<HTML><BODY>see you at 10:30, bring the notes "
                + n + "</BODY></HTML>";
        }
        stream += ServerFrames::serverFrame(message, quint16(i));
    }
    return stream;
}

// A session whose handlers touch every argument, as the main window does.
struct Session
{
    BenchSocket *socket = new BenchSocket;
    QuorTOCSock toc{socket};
    qint64 sink = 0;
    qint64 frames = 0;

    Session()
    {
        QObject::connect(&toc, &QuorTOCSock::IncomingPacket, &toc, [this](const QByteArray &f) {
            ++frames;
            sink += f.size();
        });
        QObject::connect(&toc, &QuorTOCSock::InstantMessage, &toc,
                         [this](const QByteArray &u, const QByteArray &m, bool a, const QByteArray &c) {
                             sink += u.size() + m.size() + a + c.size();
                         });
        QObject::connect(&toc, &QuorTOCSock::BuddyUpdate, &toc,
                         [this](const QByteArray &b, bool on, qint16 w, qint32 t, qint32 i, const QByteArray &c) {
                             sink += b.size() + on + w + t + i + c.size();
                         });
    }
};

// Arrivals that point into the stream, so cutting costs nothing in the loop.
std::vector<QByteArray> chunksOf(const QByteArray &stream, qsizetype chunkSize)
{
    std::vector<QByteArray> chunks;
    for (qsizetype pos = 0; pos < stream.size(); pos += chunkSize)
        chunks.push_back(QByteArray::fromRawData(stream.constData() + pos, std::min(chunkSize, stream.size() - pos)));
    return chunks;
}

// Nanoseconds per byte for a memcpy of the stream, the baseline of the run.
double memcpyNsPerByte(const QByteArray &stream)
{
    std::vector<char> target(std::size_t(stream.size()));
    const int rounds = int(std::max<qsizetype>(1, (64 << 20) / stream.size()));
    const auto start = std::chrono::steady_clock::now();
    for (int r = 0; r < rounds; ++r) {
        std::memcpy(target.data(), stream.constData(), target.size());
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    const std::chrono::duration<double, std::nano> elapsed = std::chrono::steady_clock::now() - start;
    return elapsed.count() / (double(rounds) * double(stream.size()));
}

// Wall time of the timed loop, kept beside the library's own figures so the
// copy baseline can be compared in the same units.
struct WallClock
{
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    double ns() const
    {
        return std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
    }
};

void report(benchmark::State &state, const Session &session, const QByteArray &stream, int framesPerPass,
            const WallClock &clock)
{
    const double receiveNsPerByte = clock.ns() / (double(state.iterations()) * double(stream.size()));
    const double frames = double(state.iterations()) * framesPerPass;
    if (session.frames != qint64(frames))
        state.SkipWithError("frames were lost");
    state.SetBytesProcessed(qint64(state.iterations()) * stream.size());
    state.counters["frames/s"] = benchmark::Counter(frames, benchmark::Counter::kIsRate);
    state.counters["t/frame"] = benchmark::Counter(frames, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    const double copyNsPerByte = memcpyNsPerByte(stream);
    state.counters["memcpy_GB/s"] = 1.0 / copyNsPerByte;
    // How many times slower than copying the same bytes.
    state.counters["x_memcpy"] = receiveNsPerByte / copyNsPerByte;
}

// Cost per frame when one arrival holds 1 to 100,000 frames.
void BM_FramesPerArrival(benchmark::State &state)
{
    const int frames = int(state.range(0));
    const QByteArray stream = makeStream(frames);
    Session session;
    const WallClock clock;
    for (auto _ : state)
        session.socket->deliver(stream);
    benchmark::DoNotOptimize(session.sink);
    report(state, session, stream, frames, clock);
}
BENCHMARK(BM_FramesPerArrival)->Arg(1)->Arg(100)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// Cost per frame when the same stream comes in 1-byte, 7-byte or 4 KiB arrivals;
// 4 KiB pieces are how a busy TCP connection delivers it.
void BM_ChunkSize(benchmark::State &state)
{
    const int frames = 10000;
    const QByteArray stream = makeStream(frames);
    const std::vector<QByteArray> chunks = chunksOf(stream, state.range(0));
    Session session;
    const WallClock clock;
    for (auto _ : state) {
        for (const QByteArray &chunk : chunks)
            session.socket->deliver(chunk);
    }
    benchmark::DoNotOptimize(session.sink);
    report(state, session, stream, frames, clock);
    state.counters["bytes/frame"] = double(stream.size()) / frames;
}
BENCHMARK(BM_ChunkSize)->Arg(1)->Arg(7)->Arg(4096)->Unit(benchmark::kMillisecond);

// What an arrival costs before any byte is looked at: the socket's signal and
// the read. With 1-byte arrivals this, not the session, is most of the time.
void BM_EmptyArrival(benchmark::State &state)
{
    Session session;
    const QByteArray nothing;
    for (auto _ : state)
        session.socket->deliver(nothing);
    state.counters["t/arrival"]
        = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_EmptyArrival);

} // namespace

BENCHMARK_MAIN();
