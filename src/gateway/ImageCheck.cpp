#include "gateway/ImageCheck.h"

#include "gateway/FactbookPictures.h"
#include "gateway/ImageFetcher.h"
#include "gateway/LiveImages.h"
#include "imageconvert/ConversionError.h"
#include "imageconvert/ImageConverter.h"

#include <QEventLoop>

#include <string_view>

#include <algorithm>

namespace cirrolux::gateway {

namespace {

std::string formatName(PictureFormat format)
{
    switch (format) {
    case PictureFormat::Gif:
        return "gif";
    case PictureFormat::Jpeg:
        return "jpeg";
    case PictureFormat::Png:
        break;
    }
    return "png";
}

std::string statusOf(const ImageTransfer& got)
{
    if (got.timedOut)
        return "timeout";
    if (got.status != 0)
        return std::to_string(got.status);
    return "error";
}

} // namespace

ImageCheck::ImageCheck(const SourceTable& table, UpstreamSettings settings, QString upstream,
                       std::set<std::string> catalogue)
    : m_table(table), m_settings(std::move(settings)), m_upstream(std::move(upstream)),
      m_catalogue(std::move(catalogue))
{
    while (m_upstream.endsWith(QLatin1Char('/')))
        m_upstream.chop(1);
}

namespace {

// The Factbook pictures the check asks for: Germany's flag and map, as the web page window
// would.
constexpr std::string_view kFactbookChecks[] = {
    "www.odci.gov/cia/publications/factbook/figures/gm-t.gif",
    "www.odci.gov/cia/publications/factbook/figures/gm-150.gif",
};

} // namespace

std::vector<CheckLine> ImageCheck::run(const QDateTime& now)
{
    ImageFetcher fetcher(m_settings);
    std::vector<CheckLine> lines;
    for (const SourceRow& row : m_table.rows())
        lines.push_back(check(fetcher, row, now, ConvertOptions{}));
    for (const std::string_view request : kFactbookChecks) {
        if (const std::optional<FactbookPicture> picture = FactbookPictureFor(request)) {
            ConvertOptions options;
            options.limits.maxSize = options.limits.maxSize.boundedTo(picture->cap);
            CheckLine line = check(fetcher, picture->row, now, options);
            line.factbook = true;
            lines.push_back(std::move(line));
        }
    }
    return lines;
}

CheckLine ImageCheck::check(ImageFetcher& fetcher, const SourceRow& row, const QDateTime& now,
                            const ConvertOptions& options) const
{
    CheckLine line{row.request, "-", "-", 0, "-", "", row.confidence, false};
    if (row.conversion == SourceConversion::None || row.live.empty()) {
        line.verdict = "no source";
        return line;
    }
    if (!LiveImages::usable(row)) {
        line.verdict = "not drawn";
        return line;
    }
    line.verdict = "FAILED";
    const auto transfer = [&fetcher](const QUrl& url) {
        ImageTransfer got;
        QEventLoop loop;
        fetcher.get(url, {}, &loop, [&](const ImageTransfer& result) {
            got = result;
            loop.quit();
        });
        loop.exec();
        return got;
    };
    // Addresses best first; the first that gives a converted picture is the row's.
    for (const QUrl& url : LiveImages::addresses(row, now, m_upstream)) {
        ImageTransfer got = transfer(url);
        line.address = url.toString().toStdString();
        line.status = statusOf(got);
        line.bytes = got.body.size();
        if (!got.ok()) {
            line.result = got.error.toStdString();
            continue;
        }
        try {
            ConvertOptions captioned = options;
            if (row.caption)
                captioned.caption = LiveImages::captionOf(row, got.lastModified, now);
            LiveImages::Rendered rendered =
                LiveImages::render(row, row.request, got.body, url, now, 0, captioned);
            if (!rendered.follow.isEmpty()) {
                // A drawn picture's data file, named by its source.
                const ImageTransfer data =
                    transfer(LiveImages::mapped(rendered.follow, m_upstream));
                line.status += '+' + statusOf(data);
                line.bytes += data.body.size();
                if (!data.ok()) {
                    line.result = data.error.toStdString();
                    continue;
                }
                rendered = LiveImages::render(row, row.request, data.body, url, now, 1, captioned);
            }
            const ConvertedPicture& picture = *rendered.picture;
            line.result = (row.conversion == SourceConversion::Drawn ? "drawn " : "") +
                          formatName(picture.format) + ' ' + std::to_string(picture.size.width()) +
                          'x' + std::to_string(picture.size.height()) +
                          (picture.frames > 1 ? ' ' + std::to_string(picture.frames) + " frames"
                                              : std::string());
            line.verdict = "live";
            line.live = true;
            break;
        } catch (const ConversionError& failure) {
            line.result = failure.what();
        }
    }
    return line;
}

std::string ImageCheck::table(const std::vector<CheckLine>& lines) const
{
    std::string out = "entry | address | status | bytes | after conversion | verdict\n";
    for (const CheckLine& line : lines)
        out += line.entry + " | " + line.address + " | " + line.status + " | " +
               std::to_string(line.bytes) + " | " + line.result + " | " + line.verdict + '\n';
    return out;
}

std::string ImageCheck::summary(const std::vector<CheckLine>& lines) const
{
    int live = 0;
    int high = 0;
    int medium = 0;
    int catalogue = 0;
    int rows = 0;
    int tableRows = 0;
    int factbook = 0;
    int factbookLive = 0;
    for (const CheckLine& line : lines) {
        if (line.factbook) {
            ++factbook;
            factbookLive += line.live ? 1 : 0;
            continue;
        }
        ++tableRows;
        if (line.live)
            ++rows;
        if (m_catalogue.count(line.entry) == 0)
            continue;
        ++catalogue;
        if (!line.live)
            continue;
        ++live;
        high += line.confidence == Confidence::High;
        medium += line.confidence == Confidence::Medium;
    }
    return std::to_string(live) + " of " + std::to_string(catalogue) + " images live (" +
           std::to_string(high) + " high, " + std::to_string(medium) + " medium, " +
           std::to_string(live - high - medium) + " low confidence); " + std::to_string(rows) +
           " of " + std::to_string(tableRows) + " table rows live; Factbook flag and map " +
           (factbook > 0 && factbookLive == factbook ? "live" : "not live") + "\n";
}

int ImageCheck::exitStatus(const std::vector<CheckLine>& lines)
{
    return std::any_of(lines.begin(), lines.end(),
                       [](const CheckLine& line) {
                           return line.confidence == Confidence::High && !line.live &&
                                  line.verdict == "FAILED";
                       })
               ? 1
               : 0;
}

} // namespace cirrolux::gateway
