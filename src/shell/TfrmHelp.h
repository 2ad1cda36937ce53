#pragma once

#include <QUrl>
#include <QWidget>

#include <string>
#include <vector>

class QLineEdit;
class QListWidget;
class QTextBrowser;
class QTreeWidget;

namespace cirrolux {

// The program's help window: the contents on the left (with a search tab), the page on the right.
// The pages are HTML built into the program. It is made on the first help command.
class TfrmHelp : public QWidget
{
    Q_OBJECT

public:
    struct Page
    {
        const char* topic; // page name, as help commands give it ("main", "web", ...)
        const char* title;
    };
    // The pages in contents order; the first is the contents page itself.
    static const std::vector<Page>& Pages();
    // The address of a topic's page; an unknown or empty topic gives the contents page.
    static QUrl PageUrl(const std::string& topic);

    explicit TfrmHelp(QWidget* parent = nullptr);

    // Shows the window at the page of `topic` and brings it to the front.
    void showTopic(const std::string& topic);
    // The help window of `owner`, made on first use, showing `topic`.
    static TfrmHelp& open(QWidget& owner, const std::string& topic);

    // The topics of the pages that hold every word of `words` (any letter case), in contents
    // order; the results list shows their titles.
    std::vector<std::string> search(const QString& words);
    // The topic of the page shown.
    std::string currentTopic() const;
    QTextBrowser& viewer() { return *m_viewer; }

private:
    void placeOnScreen();
    void showPage(const QUrl& url);

    QTreeWidget* m_contents = nullptr;
    QLineEdit* m_searchText = nullptr;
    QListWidget* m_results = nullptr;
    QTextBrowser* m_viewer = nullptr;
    bool m_placed = false;            // placed on the screen once
    std::vector<QString> m_pageTexts; // plain text of each page, read at the first search
};

} // namespace cirrolux
