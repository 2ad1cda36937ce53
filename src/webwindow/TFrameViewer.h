#pragma once

#include <QTextBrowser>

#include <string>

class QPrinter;

namespace cirrolux {

// The web page window's HTML page viewer: lays out a local page file and shows it, never
// fetching or showing the page's images and keeping no history. Page files are 8-bit (Latin-1).
class TFrameViewer : public QTextBrowser
{
    Q_OBJECT

public:
    explicit TFrameViewer(QWidget* parent = nullptr);

    // The background of pages that set none.
    void setDefBackground(const QColor& color);
    QColor DefBackground() const { return m_defBackground; }
    // Loads and lays out the page file. Throws CirroluxError "Can't locate file: " + name when it
    // is missing.
    void LoadFromFile(const std::string& fileName);
    // Prints pages `from` to `to` of the current document on `printer`, with margins of 2.0 cm on
    // every side. Throws CirroluxError "Printing failed" when the printer cannot be used.
    void Print(QPrinter& printer, int from, int to);
    // The file last loaded, as given.
    const std::string& CurrentFile() const { return m_currentFile; }

protected:
    QVariant loadResource(int type, const QUrl& name) override;

private:
    QColor m_defBackground;
    std::string m_currentFile;
};

} // namespace cirrolux
