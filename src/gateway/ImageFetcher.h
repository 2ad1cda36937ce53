#pragma once

#include "gateway/BoundedGet.h"
#include "gateway/UpstreamSettings.h"

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <deque>
#include <functional>
#include <map>

namespace cirrolux::gateway {

// What a picture's source answered, and the validators of the copy held, sent so that an
// unchanged picture costs a 304.
using ImageTransfer = UpstreamTransfer;
using ImageValidators = Validators;

// Fetches pictures from their public sources: an identifying User-Agent, conditional requests,
// a deadline for the whole transfer, a body cap enforced while it arrives, redirects followed
// only within the source's own host, and at most `perHost` transfers to one host at a time (the
// others wait in order).
class ImageFetcher : public QObject
{
    Q_OBJECT
public:
    using Done = std::function<void(const ImageTransfer&)>;

    explicit ImageFetcher(UpstreamSettings settings, QObject* parent = nullptr);
    ~ImageFetcher() override;

    void get(const QUrl& url, const ImageValidators& validators, QObject* context, Done done);

    int transfersStarted() const { return m_started; }

    // Radar loops are a few megabytes; nothing the gateway converts is near this.
    static constexpr qint64 kMaxBody = 16 * 1024 * 1024;
    static constexpr int kPerHost = 2;

private:
    struct Pending
    {
        QUrl url;
        ImageValidators validators;
        QPointer<QObject> context;
        Done done;
    };
    struct HostState
    {
        std::deque<Pending> waiting;
        int running = 0;
    };

    void startNext(const QString& host);
    void start(Pending pending);

    UpstreamSettings m_settings;
    QNetworkAccessManager m_network;
    std::map<QString, HostState> m_hosts;
    int m_started = 0;
};

} // namespace cirrolux::gateway
