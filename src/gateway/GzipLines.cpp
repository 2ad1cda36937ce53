#include "GzipLines.h"

#include <QFile>

#include <zlib.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace cirrolux::gateway {

namespace {

[[noreturn]] void fail(const QString& path, std::string_view why)
{
    throw std::runtime_error("Cannot read the station table " + path.toStdString() + ": " +
                             std::string(why));
}

} // namespace

void forEachGzipLine(const QString& path, const std::function<void(std::string_view)>& line)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(path, file.exists() ? "the file cannot be opened" : "the file does not exist");

    z_stream stream{};
    // 16 + MAX_WBITS: a gzip header and trailer around the deflate data.
    if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK)
        fail(path, "zlib could not be initialised");
    struct StreamEnd
    {
        z_stream* stream;
        ~StreamEnd() { inflateEnd(stream); }
    } streamEnd{&stream};

    std::vector<char> input(1 << 16);
    std::vector<char> output(1 << 18);
    std::string carry; // the unfinished line of the previous piece
    int status = Z_OK;
    bool sawData = false;
    while (status != Z_STREAM_END) {
        const qint64 got = file.read(input.data(), static_cast<qint64>(input.size()));
        if (got < 0)
            fail(path, "the file cannot be read");
        if (got == 0)
            fail(path, sawData ? "the compressed data is cut short" : "the file is empty");
        sawData = true;
        stream.next_in = reinterpret_cast<Bytef*>(input.data());
        stream.avail_in = static_cast<uInt>(got);
        do {
            stream.next_out = reinterpret_cast<Bytef*>(output.data());
            stream.avail_out = static_cast<uInt>(output.size());
            status = inflate(&stream, Z_NO_FLUSH);
            if (status != Z_OK && status != Z_STREAM_END && status != Z_BUF_ERROR)
                fail(path, "the file is not valid gzip data");
            const std::size_t produced = output.size() - stream.avail_out;
            std::string_view text(output.data(), produced);
            while (!text.empty()) {
                const std::size_t end = text.find('\n');
                if (end == std::string_view::npos) {
                    carry.append(text);
                    break;
                }
                std::string_view piece = text.substr(0, end);
                text.remove_prefix(end + 1);
                if (!carry.empty()) {
                    carry.append(piece);
                    piece = carry;
                }
                if (!piece.empty() && piece.back() == '\r')
                    piece.remove_suffix(1);
                line(piece);
                carry.clear();
            }
        } while (stream.avail_out == 0 && status != Z_STREAM_END);
    }
    if (!carry.empty())
        line(carry);
}

} // namespace cirrolux::gateway
