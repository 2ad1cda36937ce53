// Loading and laying out a 1 MB Factbook page in the web page window's viewer (file read, Latin-1
// text, images left out) against QTextBrowser::setHtml of the same text, in the same run.
//
//   viewer_bench --benchmark_min_time=2
#include "servicesim/FactbookSite.h"
#include "webwindow/TFrameViewer.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextBrowser>

#include <benchmark/benchmark.h>

namespace {

using cirrolux::TFrameViewer;
using cirrolux::servicesim::FactbookSite;

// The Afghanistan page with its body repeated until the page is 1 MB, image tags and all.
QByteArray bigPage()
{
    const QByteArray page = FactbookSite::countryPage(*FactbookSite::country("af"));
    const qsizetype start = page.indexOf("<h2>");
    const qsizetype end = page.indexOf("<pre>");
    const QByteArray body = page.mid(start, end - start);
    QByteArray big = page.left(start);
    while (big.size() < 1024 * 1024)
        big += body;
    big += page.mid(end);
    return big;
}

const QByteArray& text()
{
    static const QByteArray page = bigPage();
    return page;
}

void BM_ViewerLoadFromFile(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString name = QDir(dir.path()).filePath(QStringLiteral("temp.html"));
    QFile file(name);
    file.open(QIODevice::WriteOnly);
    file.write(text());
    file.close();
    TFrameViewer viewer;
    viewer.resize(634, 294);
    const std::string fileName = name.toStdString();
    for (auto _ : state) {
        viewer.LoadFromFile(fileName);
        benchmark::DoNotOptimize(viewer.document()->documentLayout()->documentSize());
    }
    state.SetBytesProcessed(state.iterations() * text().size());
}

void BM_TextBrowserSetHtml(benchmark::State& state)
{
    QTextBrowser browser;
    browser.resize(634, 294);
    const QString html = QString::fromLatin1(text());
    for (auto _ : state) {
        browser.setHtml(html);
        benchmark::DoNotOptimize(browser.document()->documentLayout()->documentSize());
    }
    state.SetBytesProcessed(state.iterations() * text().size());
}

BENCHMARK(BM_TextBrowserSetHtml)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ViewerLoadFromFile)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
