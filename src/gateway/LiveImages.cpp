#include "gateway/LiveImages.h"

#include "gateway/FactbookPictures.h"
#include "gateway/RequestPolicy.h"
#include "datapictures/DrawnPictures.h"
#include "imageconvert/ConversionError.h"

#include <malloc.h>

namespace cirrolux::gateway {

namespace {

// What a cached picture costs beyond its bytes.
constexpr std::size_t kEntryOverhead = 512;

QByteArray escaped(const QString& text)
{
    return text.toHtmlEscaped().toUtf8();
}

HttpReply unreachable(const QByteArray& request, const QString& reason)
{
    return GatewayPage(502, "Image Source Not Reachable", "No live picture",
                       "The live source of " + escaped(QString::fromUtf8(request)) +
                           " could not be used (" + escaped(reason) +
                           ") and no copy is cached. Please try again later.");
}

} // namespace

LiveImages::LiveImages(UpstreamSettings settings, Clock clock, QObject* parent)
    : QObject(parent), m_clock(std::move(clock)), m_fetcher(std::move(settings), this),
      m_cache(ImageCacheLimits{}.entries, ImageCacheLimits{}.bytes)
{
}

void LiveImages::setUpstream(QString base)
{
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    m_upstream = std::move(base);
}

void LiveImages::setLimits(const ImageCacheLimits& limits)
{
    m_cache.setLimits(limits.entries, limits.bytes);
    m_failureMemoryMs = limits.failureMemoryMs;
}

std::string LiveImages::filled(std::string address, const QDateTime& now)
{
    const QDateTime utc = now.toUTC();
    const QTime time = utc.time();
    const QTime slot(time.hour(), time.minute() / 10 * 10);
    const std::pair<const char*, QString> fills[] = {
        {"{YYYYMMDD}", utc.toString(QStringLiteral("yyyyMMdd"))},
        {"{YYYYMM}", utc.toString(QStringLiteral("yyyyMM"))},
        {"{YYYY}", utc.toString(QStringLiteral("yyyy"))},
        {"{HHMM}", slot.toString(QStringLiteral("HHmm"))},
    };
    for (const auto& [name, value] : fills) {
        const std::string_view fillIn(name);
        for (std::size_t at = address.find(fillIn); at != std::string::npos;
             at = address.find(fillIn, at))
            address.replace(at, fillIn.size(), value.toStdString());
    }
    return address;
}

QUrl LiveImages::mapped(const QUrl& url, const QString& upstream)
{
    if (upstream.isEmpty())
        return url;
    QString path = url.path(QUrl::FullyEncoded);
    if (url.hasQuery())
        path += QLatin1Char('?') + url.query(QUrl::FullyEncoded);
    return QUrl(upstream + QLatin1Char('/') + url.host().toLower() + path);
}

std::vector<QUrl> LiveImages::addresses(const SourceRow& row, const QDateTime& now,
                                        const QString& upstream)
{
    std::vector<QUrl> urls;
    for (const std::string& address : row.live) {
        const QUrl url(QString::fromStdString(filled(address, now)), QUrl::StrictMode);
        if (!url.isValid() || url.host().isEmpty() ||
            (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https")))
            continue;
        urls.push_back(mapped(url, upstream));
    }
    return urls;
}

std::optional<Conversion> LiveImages::conversionOf(SourceConversion conversion)
{
    switch (conversion) {
    case SourceConversion::PassThrough:
        return Conversion::PassThrough;
    case SourceConversion::ToGif:
        return Conversion::ToGif;
    case SourceConversion::ToJpeg:
        return Conversion::ToJpeg;
    case SourceConversion::LastFrame:
        return Conversion::LastFrame;
    case SourceConversion::AnimateGif:
        return Conversion::AnimateGif;
    case SourceConversion::None:
    case SourceConversion::Drawn:
        break;
    }
    return std::nullopt;
}

bool LiveImages::usable(const SourceRow& row)
{
    if (row.live.empty())
        return false;
    if (row.conversion == SourceConversion::Drawn)
        return datapictures::KnowsDrawnKind(row.drawnKind);
    return conversionOf(row.conversion).has_value();
}

LiveImages::Rendered LiveImages::render(const SourceRow& row, const std::string& request,
                                        const QByteArray& body, const QUrl& source,
                                        const QDateTime& now, int stage,
                                        ConvertOptions options)
{
    if (row.conversion != SourceConversion::Drawn) {
        const std::optional<Conversion> conversion = conversionOf(row.conversion);
        if (!conversion)
            throw ConversionError("the row has no conversion");
        return {ImageConverter::convert(body, *conversion, options), {}};
    }
    const datapictures::DrawStep step = datapictures::DrawFromData(
        {row.drawnKind, request, body, source.toString(), now.toUTC(), stage});
    if (!step.follow.isEmpty()) {
        const QUrl follow(step.follow, QUrl::StrictMode);
        if (stage > 0 || !follow.isValid() || follow.host().isEmpty() ||
            (follow.scheme() != QLatin1String("http") && follow.scheme() != QLatin1String("https")))
            throw ConversionError("the source names no usable data file");
        return {std::nullopt, follow};
    }
    ConvertedPicture picture;
    picture.bytes = step.gif;
    picture.format = PictureFormat::Gif;
    picture.size = step.size;
    return {std::move(picture), {}};
}

std::string LiveImages::captionOf(const SourceRow& row, const QByteArray& lastModified,
                                  const QDateTime& fetchedAt)
{
    // HTTP writes its dates with "GMT", which Qt's RFC 2822 reader wants as an offset.
    QString date = QString::fromLatin1(lastModified).trimmed();
    if (date.endsWith(QLatin1String(" GMT")))
        date = date.chopped(4) + QStringLiteral(" +0000");
    QDateTime made = QDateTime::fromString(date, Qt::RFC2822Date);
    if (!made.isValid() || made > fetchedAt)
        made = fetchedAt;
    return row.credit + ", " +
           made.toUTC().toString(QStringLiteral("dd MMM yyyy HH:mm 'UTC'")).toStdString();
}

QByteArray LiveImages::contentType(PictureFormat format)
{
    switch (format) {
    case PictureFormat::Gif:
        return "image/gif";
    case PictureFormat::Jpeg:
        return "image/jpeg";
    case PictureFormat::Png:
        break;
    }
    return "image/png";
}

HttpReply LiveImages::reply(const Picture& picture, const SourceRow& row) const
{
    HttpReply out = HttpReply::make(200, picture.contentType, picture.bytes);
    const QDateTime expires = picture.fetchedAt.addSecs(row.maxAgeSeconds);
    out.addHeader("Last-Modified", picture.fetchedAt.toUTC()
                                       .toString(QStringLiteral("ddd, dd MMM yyyy HH:mm:ss 'GMT'"))
                                       .toLatin1());
    out.addHeader(
        "Expires",
        expires.toUTC().toString(QStringLiteral("ddd, dd MMM yyyy HH:mm:ss 'GMT'")).toLatin1());
    out.addHeader("X-Cirrolux-Credit", QByteArray::fromStdString(row.credit));
    out.addHeader("X-Cirrolux-Source", picture.source.toLatin1());
    return out;
}

bool LiveImages::answer(const HttpRequestHead& request, Send send)
{
    const std::string key = request.host.toStdString() + request.path.toStdString();
    const SourceRow* row = m_table ? m_table->find(key) : nullptr;
    if (!row)
        row = factbookRow(key);
    if (!row || !usable(*row))
        return false;

    const QDateTime now = m_clock();
    if (const Picture* held = m_cache.find(key);
        held && held->fetchedAt.secsTo(now) < row->maxAgeSeconds) {
        send(reply(*held, *row));
        return true;
    }
    const QByteArray target = request.host + request.path;
    // The row stays valid: the table is shared and only replaced as a whole.
    Ready answerHeld = [this, key, send, target, table = m_table, row] {
        const Picture* held = m_cache.peek(key);
        const auto failure = m_failures.find(key);
        if (held)
            send(reply(*held, *row));
        else
            send(unreachable(target, failure != m_failures.end() ? failure->second.reason
                                                                 : QStringLiteral("no answer")));
    };
    if (const auto failure = m_failures.find(key);
        failure != m_failures.end() && !failure->second.since.hasExpired(m_failureMemoryMs)) {
        answerHeld();
        return true;
    }
    auto [running, first] = m_inFlight.try_emplace(key);
    running->second.push_back(std::move(answerHeld));
    if (!first)
        return true;
    fetch(key, *row, addresses(*row, now, m_upstream), 0, QStringLiteral("no usable address"));
    return true;
}

void LiveImages::fetch(const std::string& key, const SourceRow& row, std::vector<QUrl> urls,
                       std::size_t next, QString lastError)
{
    if (next >= urls.size()) {
        Failure& failure = m_failures[key];
        failure.reason = lastError;
        failure.since.start();
        finish(key);
        return;
    }
    const QUrl url = urls[next];
    ImageValidators validators;
    if (const Picture* held = m_cache.peek(key); held && held->source == url.toString())
        validators = held->validators;
    m_fetcher.get(
        url, validators, this,
        [this, key, row, urls = std::move(urls), next, url](const ImageTransfer& got) {
            if (got.notModified()) {
                if (Picture* held = m_cache.find(key); held && held->source == url.toString()) {
                    held->fetchedAt = m_clock();
                    m_failures.erase(key);
                    finish(key);
                    return;
                }
            }
            take(key, row, urls, next, got, 0);
        });
}

void LiveImages::take(const std::string& key, const SourceRow& row, const std::vector<QUrl>& urls,
                      std::size_t next, const UpstreamTransfer& got, int stage)
{
    const QUrl url = urls[next];
    QString error = got.error;
    if (got.ok()) {
        try {
            ConvertOptions options = optionsFor(key);
            if (row.caption)
                options.caption = captionOf(row, got.lastModified, m_clock());
            Rendered rendered = render(row, key, got.body, url, m_clock(), stage, options);
            if (!rendered.follow.isEmpty()) {
                // The data file a drawn picture's source names; its validators are the source's.
                m_fetcher.get(mapped(rendered.follow, m_upstream), {}, this,
                              [this, key, row, urls, next, validators = ImageValidators{
                                                                got.etag, got.lastModified}](
                                  const ImageTransfer& data) {
                                  ImageTransfer withSourceValidators = data;
                                  withSourceValidators.etag = validators.etag;
                                  withSourceValidators.lastModified = validators.lastModified;
                                  take(key, row, urls, next, withSourceValidators, 1);
                              });
                return;
            }
            const ConvertedPicture& picture = *rendered.picture;
            Picture held{picture.bytes, contentType(picture.format), m_clock(), url.toString(),
                         ImageValidators{got.etag, got.lastModified}};
            const std::size_t bytes =
                static_cast<std::size_t>(held.bytes.size()) + key.size() + kEntryOverhead;
            m_cache.put(key, std::move(held), bytes);
            // A conversion decodes whole frames; what it freed goes back to the system
            // instead of staying in the heap of a long-running process.
            malloc_trim(0);
            m_failures.erase(key);
            finish(key);
            return;
        } catch (const ConversionError& failure) {
            error = QString::fromUtf8(failure.what());
        }
    } else if (got.notModified()) {
        error = QStringLiteral("304 without a cached copy");
    }
    fetch(key, row, urls, next + 1, url.host() + QStringLiteral(": ") + error);
}

const SourceRow* LiveImages::factbookRow(const std::string& key)
{
    if (const auto held = m_factbook.find(key); held != m_factbook.end())
        return &held->second.row;
    std::optional<FactbookPicture> picture = FactbookPictureFor(key);
    if (!picture)
        return nullptr;
    // Bounded by the country index: two pictures per country at most.
    return &m_factbook.emplace(key, std::move(*picture)).first->second.row;
}

ConvertOptions LiveImages::optionsFor(const std::string& key) const
{
    ConvertOptions options = m_options;
    if (const auto factbook = m_factbook.find(key); factbook != m_factbook.end())
        options.limits.maxSize = options.limits.maxSize.boundedTo(factbook->second.cap);
    return options;
}

void LiveImages::finish(const std::string& key)
{
    std::vector<Ready> waiting = std::move(m_inFlight[key]);
    m_inFlight.erase(key);
    for (Ready& done : waiting)
        done();
}

} // namespace cirrolux::gateway
