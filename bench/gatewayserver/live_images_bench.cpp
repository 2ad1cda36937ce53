// The gateway's resident memory with every picture of the shipped source table cached: the
// gateway process started against a fake upstream that serves each row's first live address
// (satellite-like noisy pictures of 1200 x 900 and radar loops of 12 frames, the hard case for
// the converters and the cache), every request of the table asked once over loopback, and the
// resident memory after, against the same process just after start in the same run.
#include "FakeNoaa.h"
#include "gateway/LiveImages.h"
#include "imageconvert/GifEncoder.h"
#include "imageconvert/ImageConverter.h"
#include "livesources/SourceTable.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRandomGenerator>
#include <QTcpSocket>

#include <benchmark/benchmark.h>

namespace {

using namespace cirrolux;

double residentMb(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').front().toDouble() / 1024.0;
    }
    return 0;
}

QImage satellite(int width, int height, quint32 seed)
{
    QRandomGenerator random(seed);
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int noise = int(random.bounded(64));
            line[x] = qRgb((x * 255 / width + noise) % 256, (y * 255 / height + noise) % 256,
                           (128 + noise) % 256);
        }
    }
    return image;
}

QByteArray encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QByteArray radarLoop(int width, int height, int frames, quint32 seed)
{
    QRandomGenerator random(seed);
    std::vector<QRgb> palette;
    for (int i = 0; i < 16; ++i)
        palette.push_back(qRgb(i * 16, 255 - i * 16, (i * 40) % 256));
    std::vector<GifEncoder::Frame> loop;
    for (int f = 0; f < frames; ++f) {
        GifEncoder::Frame frame;
        frame.picture.width = width;
        frame.picture.height = height;
        frame.picture.pixels.resize(std::size_t(width) * std::size_t(height));
        for (auto& pixel : frame.picture.pixels)
            pixel = std::uint8_t(random.bounded(16));
        loop.push_back(std::move(frame));
    }
    return GifEncoder::animation(loop, palette);
}

// Where the crop release list of the bench says its report text is.
constexpr char kCropText[] =
    "https://downloads.usda.library.cornell.edu/usda-esmis/files/bench/prog.txt";

// The data a drawn picture is made from: a busy week of earthquakes, a population clock, the
// crop release list (its text is served beside it).
QByteArray dataFile(const std::string& kind, quint32 seed)
{
    if (kind == "usgs-quakes-us") {
        QRandomGenerator random(seed);
        QByteArray feed = R"({"type":"FeatureCollection","features":[)";
        for (int i = 0; i < 2000; ++i) {
            feed += (i ? "," : "") +
                    QStringLiteral(R"({"type":"Feature","properties":{"mag":%1,"time":%2,)"
                                   R"("type":"earthquake"},"geometry":{"type":"Point",)"
                                   R"("coordinates":[%3,%4,10]}})")
                        .arg(2.5 + random.bounded(50) / 10.0)
                        .arg(QDateTime::currentMSecsSinceEpoch() - random.bounded(7 * 86400) * 1000LL)
                        .arg(-125.0 + random.bounded(600) / 10.0)
                        .arg(25.0 + random.bounded(250) / 10.0)
                        .toLatin1();
        }
        return feed + "]}";
    }
    if (kind == "nass-crop-progress")
        return QByteArray(R"([{"files":[")") + kCropText + R"("]}])";
    return R"({"world":{"population":8123456789,"population_rate":2.4,"rate_interval":"second"}})";
}

// The source file for a live address, in the type its name says.
QByteArray sourceFile(const SourceRow& row, quint32 seed)
{
    const QString path = QString::fromStdString(row.live.front());
    const SourceConversion conversion = row.conversion;
    if (conversion == SourceConversion::Drawn)
        return dataFile(row.drawnKind, seed);
    if (conversion == SourceConversion::AnimateGif)
        return radarLoop(600, 550, 12, seed);
    const QImage image = satellite(1200, 900, seed);
    const QString lower = path.toLower();
    if (lower.contains(QStringLiteral(".png")))
        return encoded(image, "png");
    if (lower.contains(QStringLiteral(".gif"))) {
        ConvertOptions options;
        options.limits.maxSize = QSize(4000, 4000);
        return ImageConverter::convert(encoded(image, "png"), Conversion::ToGif, options).bytes;
    }
    return encoded(image, "jpeg");
}

QByteArray exchange(quint16 port, const QByteArray& head)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    QByteArray reply;
    QElapsedTimer timer;
    timer.start();
    bool sent = false;
    while (timer.elapsed() < 60000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (!sent && socket.state() == QAbstractSocket::ConnectedState) {
            socket.write(head);
            sent = true;
        }
        reply += socket.readAll();
        if (sent && socket.state() == QAbstractSocket::UnconnectedState)
            break;
    }
    return reply;
}

void BM_GatewayMemoryWithEveryImageCached(benchmark::State& state)
{
    if (!QFile::exists(QStringLiteral("/usr/share/weather-util/stations.gz"))) {
        state.SkipWithError("weather-util-data is not installed");
        return;
    }
    const SourceTable table = SourceTable::load(CIRROLUX_SHIPPED_SOURCE_TABLE);
    fakenoaa::FakeNoaa upstream;
    upstream.listen();
    const QString base = QStringLiteral("http://127.0.0.1:%1").arg(upstream.port());
    double sourceBytes = 0;
    quint32 seed = 1;
    QFile crop(QStringLiteral(CIRROLUX_CROP_PROGRESS_TEXT));
    crop.open(QIODevice::ReadOnly);
    const QUrl cropText = gateway::LiveImages::mapped(QUrl(QString::fromLatin1(kCropText)), base);
    upstream.setFile(cropText.path(QUrl::FullyEncoded).toLatin1(), crop.readAll());
    for (const SourceRow& row : table.rows()) {
        if (!gateway::LiveImages::usable(row))
            continue;
        // This slot's addresses and the next one's: the run may cross a 10-minute boundary.
        const QDateTime now = QDateTime::currentDateTimeUtc();
        const QByteArray body = sourceFile(row, seed++);
        sourceBytes += double(body.size());
        for (const QDateTime& at : {now, now.addSecs(600)}) {
            const std::vector<QUrl> urls = gateway::LiveImages::addresses(row, at, base);
            if (urls.empty())
                continue;
            const QUrl& url = urls.front();
            upstream.setFile(url.path(QUrl::FullyEncoded).toLatin1() +
                                 (url.hasQuery() ? "?" + url.query(QUrl::FullyEncoded).toLatin1()
                                                 : QByteArray()),
                             body);
        }
    }
    double before = 0, after = 0, pictures = 0, answered = 0;
    for (auto _ : state) {
        QProcess gateway;
        gateway.start(QStringLiteral(CIRROLUX_GATEWAY_EXE),
                      {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--sources"),
                       QStringLiteral(CIRROLUX_SHIPPED_SOURCE_TABLE),
                       QStringLiteral("--image-upstream"), base});
        while (!gateway.canReadLine() && gateway.waitForReadyRead(10000)) {
        }
        const quint16 port = static_cast<quint16>(gateway.readLine().trimmed().toUInt());
        if (port == 0) {
            state.SkipWithError("the gateway did not print its port");
            return;
        }
        before = residentMb(gateway.processId());
        for (const SourceRow& row : table.rows()) {
            if (!gateway::LiveImages::usable(row))
                continue;
            ++pictures;
            const QByteArray reply = exchange(
                port, "GET http://" + QByteArray::fromStdString(row.request) + " HTTP/1.0\r\n\r\n");
            answered += reply.startsWith("HTTP/1.0 200 ");
        }
        after = residentMb(gateway.processId());
        gateway.kill();
        gateway.waitForFinished();
    }
    state.counters["rss_started_MB"] = before;
    state.counters["rss_every_image_MB"] = after;
    state.counters["rss_ratio"] = before > 0 ? after / before : 0;
    state.counters["limit_MB"] = 80;
    state.counters["pictures"] = pictures;
    state.counters["answered_200"] = answered;
    state.counters["source_MB"] = sourceBytes / (1024.0 * 1024.0);
}
BENCHMARK(BM_GatewayMemoryWithEveryImageCached)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
