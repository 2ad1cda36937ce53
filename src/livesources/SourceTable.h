#pragma once

#include "livesources/SourceRow.h"

#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace cirrolux {

class SourceTableError : public std::runtime_error
{
public:
    explicit SourceTableError(const std::string& text) : std::runtime_error(text) {}
};

// The live image sources as data: a tab-separated file installed with the gateway, read at
// start and replaceable without rebuilding (docs/live-images.md describes it).
class SourceTable
{
public:
    static constexpr std::string_view HeaderLine =
        "request\tlive\tconversion\tmax_age\tcredit\tconfidence\treason";
    static constexpr std::string_view FileName = "image-sources.tsv";

    // Reads the table; throws SourceTableError naming `origin` and the line of the first fault.
    static SourceTable parse(std::string_view text, std::string_view origin = FileName);
    // Reads the file; throws SourceTableError when it cannot be read or is malformed.
    static SourceTable load(const std::string& path);
    // Where the installed gateway finds its table: beside its program's prefix, else under the
    // build's install prefix, else /usr/share/cirrolux/gateway.
    static std::string installedPath();

    // "http://Host.example/path?q" -> "host.example/path?q": the key rows are found by.
    static std::string requestKey(std::string_view url);

    const std::vector<SourceRow>& rows() const { return m_rows; }
    // The row for a host + path key, or for a whole address; null when there is none.
    const SourceRow* find(std::string_view hostAndPath) const;
    const SourceRow* findUrl(std::string_view url) const { return find(requestKey(url)); }

    struct Counts
    {
        int high = 0;
        int medium = 0;
        int low = 0;
        int none = 0;
    };
    Counts counts() const;

    static std::string_view name(Confidence confidence);
    static std::string_view name(SourceConversion conversion);

private:
    std::vector<SourceRow> m_rows;
    std::unordered_map<std::string, std::size_t> m_index;
};

} // namespace cirrolux
