#pragma once

#include "gateway/BoundedCache.h"
#include "gateway/FactbookPictures.h"
#include "gateway/ImageFetcher.h"
#include "httpserver/HttpReply.h"
#include "httpserver/HttpRequestHead.h"
#include "imageconvert/ImageConverter.h"
#include "livesources/SourceTable.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace cirrolux::gateway {

// What the picture cache holds at most.
struct ImageCacheLimits
{
    std::size_t entries = 512;
    // With the gateway's own ~35 MB this keeps it under 80 MB resident with every picture held
    // (bench/gatewayserver/live_images_bench.cpp).
    std::size_t bytes = 32u << 20;
    // After every address of a picture failed, requests for it within this long get the cached
    // copy or the failure at once instead of asking the sources again.
    int failureMemoryMs = 60 * 1000;
};

// The program's picture requests answered with the live public products of the source table
// (data/gateway/image-sources.tsv), converted to the type the program's file name asks for and
// kept for the row's lifetime. The Factbook's flags and maps follow one rule per kind instead of
// a row per country (gateway/FactbookPictures.h). A row without a source, a drawn row, a source
// that fails with nothing cached and a picture that cannot be converted are left to the gateway's
// honest answer: no picture is ever made up here.
class LiveImages : public QObject
{
    Q_OBJECT
public:
    using Send = std::function<void(const HttpReply&)>;
    using Clock = std::function<QDateTime()>;

    LiveImages(UpstreamSettings settings, Clock clock, QObject* parent = nullptr);

    void setTable(std::shared_ptr<const SourceTable> table) { m_table = std::move(table); }
    const SourceTable* table() const { return m_table.get(); }
    // Every live address is fetched from `base` + "/" + host + path instead ("" for the real
    // addresses): how tests and --check reach a stand-in on 127.0.0.1.
    void setUpstream(QString base);
    void setLimits(const ImageCacheLimits& limits);
    void setConvertOptions(const ConvertOptions& options) { m_options = options; }

    // Answers `request` when the table has a live source for it (now or once the transfer is
    // in) and returns true; false leaves the request to the caller's honest answer.
    bool answer(const HttpRequestHead& request, Send send);

    // The addresses of `row` for the moment `now`, fill-ins expanded and mapped onto the
    // upstream set (if any); an address that is no valid http(s) address is left out.
    static std::vector<QUrl> addresses(const SourceRow& row, const QDateTime& now,
                                       const QString& upstream = {});
    // `address` with {YYYY}, {YYYYMM}, {YYYYMMDD} (the UTC date) and {HHMM} (the latest
    // 10-minute UTC slot) filled in.
    static std::string filled(std::string address, const QDateTime& now);
    static QUrl mapped(const QUrl& url, const QString& upstream);
    static std::optional<Conversion> conversionOf(SourceConversion conversion);
    // Whether the gateway makes a picture for `row` at all: a conversion, or a drawing it knows.
    static bool usable(const SourceRow& row);

    // What a source's file becomes: the picture the program gets or, for a picture drawn from a
    // file its source first names (stage 0 of two), the address to fetch next. Throws
    // ConversionError with the reason when the file cannot be made into the picture.
    struct Rendered
    {
        std::optional<ConvertedPicture> picture;
        QUrl follow;
    };
    static Rendered render(const SourceRow& row, const std::string& request,
                           const QByteArray& body, const QUrl& source, const QDateTime& now,
                           int stage, ConvertOptions options);
    // The line under a captioned row's picture: its credit and when the picture was made (the
    // source's Last-Modified when it sent one, else when it was fetched), in UTC.
    static std::string captionOf(const SourceRow& row, const QByteArray& lastModified,
                                 const QDateTime& fetchedAt);
    static QByteArray contentType(PictureFormat format);

    ImageFetcher& fetcher() { return m_fetcher; }
    std::size_t cachedPictures() const { return m_cache.size(); }
    std::size_t cachedBytes() const { return m_cache.bytes(); }

private:
    struct Picture
    {
        QByteArray bytes;
        QByteArray contentType;
        QDateTime fetchedAt;
        QString source; // the address it came from
        ImageValidators validators;
    };
    using Ready = std::function<void()>;

    void fetch(const std::string& key, const SourceRow& row, std::vector<QUrl> urls,
               std::size_t next, QString lastError);
    // Makes the picture from a fetched file (following a drawn picture's data file once), keeps
    // it, or goes on with the next address.
    void take(const std::string& key, const SourceRow& row, const std::vector<QUrl>& urls,
              std::size_t next, const UpstreamTransfer& got, int stage);
    void finish(const std::string& key);
    // The rule's row for a Factbook flag or map request (kept, so it stays valid), else null.
    const SourceRow* factbookRow(const std::string& key);
    ConvertOptions optionsFor(const std::string& key) const;
    HttpReply reply(const Picture& picture, const SourceRow& row) const;

    std::shared_ptr<const SourceTable> m_table;
    QString m_upstream;
    Clock m_clock;
    ConvertOptions m_options;
    ImageFetcher m_fetcher;
    BoundedCache<Picture> m_cache;
    // One transfer per picture at a time: the requests that came meanwhile wait for it.
    std::unordered_map<std::string, std::vector<Ready>> m_inFlight;
    // Why the last fetch of a picture failed and when, by request (at most one per table row).
    struct Failure
    {
        QString reason;
        QElapsedTimer since;
    };
    std::unordered_map<std::string, Failure> m_failures;
    std::unordered_map<std::string, FactbookPicture> m_factbook;
    int m_failureMemoryMs = ImageCacheLimits{}.failureMemoryMs;
};

} // namespace cirrolux::gateway
