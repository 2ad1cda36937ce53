#pragma once

#include "RecordingUserInterface.h"
#include "ScriptedServer.h"
#include "TempProfile.h"

#include "images/ImageDownload.h"
#include "images/ImageWindow.h"
#include "net/TNMHTTP.h"
#include "platform/CirroluxError.h"
#include "platform/SharedState.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace cirrolux::test {

// An image window that writes down every step done to it, one line each.
class RecordingImageWindow : public ImageWindow
{
public:
    std::vector<std::string> steps;
    std::string title = "Cirrolux ";
    int gifW = 0, gifH = 0;   // the GIF control's size once loaded
    std::string pictureError; // loadPicture throws DecoderError with this text when set
    bool shown = false;

    void setImageTitle(const std::string& t) override { title = t; }
    std::string imageTitle() const override { return title; }
    void setWhiteBackground() override { steps.push_back("white"); }
    void removeMaximizeButton() override { steps.push_back("no maximize"); }
    void setGifAnimate(bool on) override { steps.push_back(on ? "animate on" : "animate off"); }
    void setGifFrame(int frame) override { steps.push_back("frame " + std::to_string(frame)); }
    void preparePicture() override { steps.push_back("picture control"); }
    void loadPicture(const std::string& file) override
    {
        steps.push_back("load picture " + file);
        if (!pictureError.empty())
            throw DecoderError(pictureError);
    }
    void prepareGif() override { steps.push_back("GIF control"); }
    void loadGif(const std::string& file) override { steps.push_back("load GIF " + file); }
    int gifWidth() const override { return gifW; }
    int gifHeight() const override { return gifH; }
    void moveWindow(int left, int top) override
    {
        steps.push_back("move " + std::to_string(left) + "," + std::to_string(top));
    }
    void resizeWindow(int width, int height) override
    {
        steps.push_back("size " + std::to_string(width) + "x" + std::to_string(height));
    }
    void repaintWindow() override { steps.push_back("repaint"); }
    void showWindow() override
    {
        steps.push_back("show");
        shown = true;
    }
};

// The image download over the real transfer component, which reaches a scripted loopback server
// as its proxy; the working directory is a temporary folder for the downloaded files.
class ImageFixture : public ::testing::Test
{
public:
    ImageFixture()
    {
        m_oldDir = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
        http.Proxy = "127.0.0.1";
        http.ProxyPort = server.port();
        // The main window's success handler.
        QObject::connect(&http, &TNMHTTP::OnSuccess, &http,
                         [this](int) { state.requestSucceeded = "Y"; });
    }
    ~ImageFixture() override { QDir::setCurrent(m_oldDir); }

    // A reply of `bytes` body bytes, with or without its Content-Length header.
public:
    static ScriptedServer::Script image(int bytes, bool withLength = true,
                                        const QByteArray& status = "HTTP/1.0 200 OK")
    {
        QList<QByteArray> headers{"Content-Type: image/gif"};
        if (withLength)
            headers.push_back("Content-Length: " + QByteArray::number(bytes));
        return ScriptedServer::reply(status, headers, QByteArray(bytes, 'x'));
    }
    // A reply that announces `announced` bytes but sends `bytes`.
    static ScriptedServer::Script announced(int announced, int bytes)
    {
        return ScriptedServer::reply("HTTP/1.0 200 OK",
                                     {"Content-Length: " + QByteArray::number(announced)},
                                     QByteArray(bytes, 'x'));
    }

protected:
    std::string requestLine(std::size_t i) const
    {
        if (i >= server.requests().size())
            return {};
        const QByteArray& r = server.requests()[i];
        return r.left(r.indexOf("\r\n")).toStdString();
    }
    ImageDownload::Hooks hooks()
    {
        return {[this](const std::string& text) { status.push_back(text); },
                [this] { status.push_back("(repaint)"); }};
    }

    TempProfile profile;
    QTemporaryDir m_dir;
    QString m_oldDir;
    ScriptedServer server;
    TNMHTTP http;
    SharedState state;
    RecordingUserInterface ui;
    RecordingImageWindow window;
    std::vector<std::string> status;
    ImageDownload download{state, ui, http, window, hooks()};
};

} // namespace cirrolux::test
