// cirrolux-windowshots: pictures of the web page window (country information and fire report),
// the help window and the about box, each filled by the real code against the service emulator
// in this process. The run script calls it under Xvfb; tests never need it.
#include "net/TNMHTTP.h"
#include "platform/SharedState.h"
#include "platform/SilentUserInterface.h"
#include "servicesim/ServiceEmulator.h"
#include "shell/TfrmAbout.h"
#include "shell/TfrmHelp.h"
#include "ui_TfrmWeb.h"
#include "webwindow/TfrmWeb.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <memory>

namespace {

using namespace cirrolux;

// Shows the map in a plain window where the program would use its image window.
class MapWindow final : public CountryMapWindow
{
public:
    void showCountryMap(const std::string& title, const std::string& gifFile) override
    {
        m_window = std::make_unique<QLabel>();
        m_window->setWindowTitle(QString::fromLatin1(title));
        m_window->setPixmap(QPixmap(QString::fromLocal8Bit(gifFile.c_str())));
        m_window->setStyleSheet(QStringLiteral("background: black;"));
        m_window->resize(m_window->pixmap().width() + 10, 350);
        m_window->move(0, 0);
        m_window->show();
    }
    void closeImageWindow() override { m_window.reset(); }
    QLabel* window() const { return m_window.get(); }

private:
    std::unique_ptr<QLabel> m_window;
};

void settle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool save(QWidget& window, const QString& folder, const char* name)
{
    settle(300);
    const QString file = QDir(folder).filePath(QString::fromLatin1(name));
    const bool ok = window.grab().save(file, "PNG");
    std::printf("%s %s\n", ok ? "saved" : "could not save", qPrintable(file));
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Cirrolux"));
    if (argc < 2) {
        std::fprintf(stderr, "usage: cirrolux-windowshots OUT-FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    QTemporaryDir work;
    QDir::setCurrent(work.path());

    servicesim::ServiceEmulator emulator;
    if (!emulator.listen()) {
        std::fprintf(stderr, "cirrolux-windowshots: the emulator cannot listen\n");
        return 1;
    }
    SilentUserInterface ui;
    SharedState state;
    TNMHTTP http;
    http.Proxy = "127.0.0.1";
    http.ProxyPort = emulator.port();
    MapWindow map;
    QWidget owner;

    bool ok = true;
    TfrmWeb web(state, http, ui, &owner);
    web.setMapWindow(&map);
    web.openWebWindow("ci");
    QComboBox* countries = web.form().cboChoose;
    countries->setCurrentIndex(countries->findText(QStringLiteral("af,Afghanistan")));
    web.btnGoClick();
    ok &= save(web, folder, "web-country.png");
    if (map.window())
        ok &= save(*map.window(), folder, "web-country-map.png");
    web.close();
    web.openWebWindow("usfi");
    ok &= save(web, folder, "web-fire-report.png");
    web.close();

    TfrmHelp& help = TfrmHelp::open(owner, "web");
    ok &= save(help, folder, "help.png");
    help.close();

    TfrmAbout about(ui, &owner);
    about.mnuAboutClick();
    ok &= save(about, folder, "about.png");
    return ok ? 0 : 1;
}
