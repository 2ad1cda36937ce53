#include "shell/MemoryStatus.h"

#include <QFile>
#include <QtGlobal>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

#include <algorithm>
#include <limits>

namespace cirrolux {

namespace {

// The kilobyte figure of the line "<name>:   <number> kB"; empty when there is none.
bool readKilobytes(std::string_view text, std::string_view name, std::uint64_t& bytes)
{
    std::size_t at = 0;
    while ((at = text.find(name, at)) != std::string_view::npos) {
        const bool lineStart = at == 0 || text[at - 1] == '\n';
        const std::size_t colon = at + name.size();
        at = colon;
        if (!lineStart || colon >= text.size() || text[colon] != ':')
            continue;
        std::size_t i = colon + 1;
        while (i < text.size() && text[i] == ' ')
            ++i;
        std::uint64_t value = 0;
        bool digits = false;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            const std::uint64_t digit = std::uint64_t(text[i] - '0');
            if (value > (std::numeric_limits<std::uint64_t>::max() / 1024 - digit) / 10)
                return false;
            value = value * 10 + digit;
            digits = true;
            ++i;
        }
        if (!digits)
            return false;
        bytes = value * 1024;
        return true;
    }
    return false;
}

} // namespace

int MemoryStatus::freePercent() const
{
    const std::uint64_t hundredth = totalBytes / 100;
    if (hundredth == 0)
        return 0;
    return int(std::min<std::uint64_t>(freeBytes / hundredth, 100));
}

MemoryStatus MemoryStatusFromMeminfo(std::string_view meminfo)
{
    MemoryStatus status;
    readKilobytes(meminfo, "MemTotal", status.totalBytes);
    if (!readKilobytes(meminfo, "MemAvailable", status.freeBytes))
        readKilobytes(meminfo, "MemFree", status.freeBytes);
    return status;
}

MemoryStatus CurrentMemoryStatus()
{
#ifdef Q_OS_WIN
    MEMORYSTATUSEX memory{};
    memory.dwLength = sizeof memory;
    if (!GlobalMemoryStatusEx(&memory))
        return {};
    return {memory.ullTotalPhys, memory.ullAvailPhys};
#else
    QFile file(QStringLiteral("/proc/meminfo"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray text = file.read(64 * 1024);
    return MemoryStatusFromMeminfo(std::string_view(text.constData(), std::size_t(text.size())));
#endif
}

} // namespace cirrolux
