#pragma once

#include <QString>

#include <string>

namespace cirrolux::test {

// Makes a folder where writing more than `bytes` fails, for the life of this object, and says
// how. As root, a small tmpfs is mounted there inside a mount namespace of this process alone
// (the write fails with "no space left", as on a full disk, and the mount goes away with the
// process even if a test dies). Otherwise the process's file-size limit is lowered instead and
// SIGXFSZ ignored, so a write past it fails with "file too large". The limit is put back when
// the object goes; tests run one per process, so nothing else sees it.
class FullDisk
{
public:
    FullDisk(const QString& folder, long bytes);
    ~FullDisk();
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

    enum class Method { Tmpfs, FileSizeLimit, None };
    Method method() const { return m_method; }
    std::string describe() const;

private:
    QString m_folder;
    Method m_method = Method::None;
    unsigned long long m_oldLimit = 0;
};

} // namespace cirrolux::test
