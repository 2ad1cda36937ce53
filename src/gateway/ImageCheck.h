#pragma once

#include "gateway/UpstreamSettings.h"
#include "imageconvert/ConvertLimits.h"
#include "livesources/SourceTable.h"

#include <QDateTime>
#include <QString>

#include <set>
#include <string>
#include <vector>

namespace cirrolux::gateway {

// One row of the check: what the first usable address of a table row gave.
struct CheckLine
{
    std::string entry;   // the request: host + path
    std::string address; // the address used last ("-" when none was tried)
    std::string status;  // "200", "304", "404", "timeout", "error", "-"
    long long bytes = 0; // bytes fetched
    std::string result;  // "gif 640x480 2 frames", or why the conversion failed
    std::string verdict; // "live", "FAILED", "no source", "not drawn"
    Confidence confidence = Confidence::None;
    bool live = false;
    bool factbook = false; // a Factbook flag or map (not a table row)
};

class ImageFetcher;

// `cirrolux-gateway --check`: every source of the table fetched once, one transfer at a time,
// converted as the gateway would, and a table of what came back; then Germany's Factbook flag
// and map by their rule.
class ImageCheck
{
public:
    ImageCheck(const SourceTable& table, UpstreamSettings settings, QString upstream,
               std::set<std::string> catalogue);

    // Fetches and converts every row (blocking; runs its own event loop per transfer).
    std::vector<CheckLine> run(const QDateTime& now);

    // The printed table, one line per row, and the summary line "N of 99 images live; ...;
    // Factbook flag and map live".
    std::string table(const std::vector<CheckLine>& lines) const;
    std::string summary(const std::vector<CheckLine>& lines) const;
    // 1 when a high-confidence source failed, else 0.
    static int exitStatus(const std::vector<CheckLine>& lines);

private:
    CheckLine check(ImageFetcher& fetcher, const SourceRow& row, const QDateTime& now,
                    const ConvertOptions& options) const;

    const SourceTable& m_table;
    UpstreamSettings m_settings;
    QString m_upstream;
    std::set<std::string> m_catalogue;
};

} // namespace cirrolux::gateway
