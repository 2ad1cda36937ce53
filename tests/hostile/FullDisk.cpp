#include "FullDisk.h"

#include <QDir>

#include <csignal>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

namespace cirrolux::test {

FullDisk::FullDisk(const QString& folder, long bytes) : m_folder(folder)
{
    QDir().mkpath(folder);
    const QByteArray path = QFile::encodeName(folder);
    const QByteArray options = "size=" + QByteArray::number(qlonglong(bytes));
    // Private propagation first, so the mount cannot reach the namespace we came from.
    if (::geteuid() == 0 && ::unshare(CLONE_NEWNS) == 0 &&
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
        ::mount("tmpfs", path.constData(), "tmpfs", MS_NOSUID | MS_NODEV, options.constData()) ==
            0) {
        m_method = Method::Tmpfs;
        return;
    }
    rlimit limit{};
    if (::getrlimit(RLIMIT_FSIZE, &limit) != 0)
        return;
    m_oldLimit = limit.rlim_cur;
    std::signal(SIGXFSZ, SIG_IGN);
    limit.rlim_cur = rlim_t(bytes);
    if (::setrlimit(RLIMIT_FSIZE, &limit) == 0)
        m_method = Method::FileSizeLimit;
}

FullDisk::~FullDisk()
{
    switch (m_method) {
    case Method::Tmpfs:
        ::umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH);
        break;
    case Method::FileSizeLimit: {
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = rlim_t(m_oldLimit);
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, SIG_DFL);
        break;
    }
    case Method::None:
        break;
    }
}

std::string FullDisk::describe() const
{
    switch (m_method) {
    case Method::Tmpfs:
        return "small tmpfs";
    case Method::FileSizeLimit:
        return "file-size limit";
    case Method::None:
        break;
    }
    return "none";
}

} // namespace cirrolux::test
