#include "webwindow/TFrameViewer.h"

#include "platform/CirroluxError.h"

#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QTextDocument>
#include <QUrl>

namespace cirrolux {

namespace {

constexpr double PrintMarginMm = 20.0;

} // namespace

TFrameViewer::TFrameViewer(QWidget* parent) : QTextBrowser(parent)
{
    setOpenLinks(false);
    setOpenExternalLinks(false);
    setUndoRedoEnabled(false);
    QFont body(QStringLiteral("Times New Roman"));
    body.setStyleHint(QFont::Serif);
    document()->setDefaultFont(body);
    document()->setDefaultStyleSheet(
        QStringLiteral("pre, code, tt, kbd, samp { font-family: \"Courier New\", monospace; }"));
}

void TFrameViewer::setDefBackground(const QColor& color)
{
    m_defBackground = color;
    QPalette p = palette();
    p.setColor(QPalette::Base, color);
    setPalette(p);
}

void TFrameViewer::LoadFromFile(const std::string& fileName)
{
    QFile file(QString::fromLocal8Bit(fileName.data(), qsizetype(fileName.size())));
    if (!file.open(QIODevice::ReadOnly))
        throw CirroluxError("Can't locate file: " + fileName);
    const QByteArray bytes = file.readAll();
    m_currentFile = fileName;
    clearHistory();
    // Relative links of the page resolve against its own folder; images are never fetched anyway.
    document()->setBaseUrl(QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()));
    setHtml(QString::fromLatin1(bytes));
}

QVariant TFrameViewer::loadResource(int type, const QUrl& name)
{
    // Pages are shown without their images, and nothing else is fetched either.
    if (type == QTextDocument::ImageResource)
        return {};
    return QTextBrowser::loadResource(type, name);
}

void TFrameViewer::Print(QPrinter& printer, int from, int to)
{
    printer.setPageMargins(QMarginsF(PrintMarginMm, PrintMarginMm, PrintMarginMm, PrintMarginMm),
                           QPageLayout::Millimeter);
    printer.setFromTo(from, to);
    // QTextDocument::print reports nothing; without a printer there is nothing to print on.
    if (!printer.isValid() ||
        (printer.outputFormat() == QPrinter::NativeFormat && printer.printerName().isEmpty()))
        throw CirroluxError("Printing failed");
    document()->print(&printer);
}

} // namespace cirrolux
