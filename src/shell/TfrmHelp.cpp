#include "shell/TfrmHelp.h"

#include <QFile>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

// The pages live in a static library; naming their resource here keeps the linker from
// dropping it.
static void initHelpPages()
{
    Q_INIT_RESOURCE(help);
}

namespace cirrolux {

namespace {

QString pageFile(const char* topic)
{
    return QStringLiteral(":/help/") + QString::fromLatin1(topic) + QStringLiteral(".html");
}

} // namespace

const std::vector<TfrmHelp::Page>& TfrmHelp::Pages()
{
    static const std::vector<Page> pages{
        {"index", "Contents"},
        {"main", "The main window"},
        {"menus", "Images, Forecasts and Reports menus"},
        {"choose-location", "Choosing a location"},
        {"preferences", "The preferences dialog"},
        {"settings", "Every setting"},
        {"image", "The image window"},
        {"forecast", "The forecast window"},
        {"web", "Country information and the fire report"},
        {"about", "About box and update check"},
        {"files", "Where Cirrolux keeps its files"},
        {"proxy", "Using a proxy"},
        {"help", "Using this help window"},
    };
    return pages;
}

QUrl TfrmHelp::PageUrl(const std::string& topic)
{
    for (const Page& page : Pages()) {
        if (topic == page.topic)
            return QUrl(QStringLiteral("qrc") + pageFile(page.topic));
    }
    return QUrl(QStringLiteral("qrc:/help/index.html"));
}

TfrmHelp::TfrmHelp(QWidget* parent) : QWidget(parent, Qt::Window)
{
    initHelpPages();
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Cirrolux Help"));
    resize(760, 520);

    auto* tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("tabsHelp"));
    m_contents = new QTreeWidget(tabs);
    m_contents->setObjectName(QStringLiteral("tvContents"));
    m_contents->setHeaderHidden(true);
    m_contents->setRootIsDecorated(false);
    for (const Page& page : Pages()) {
        auto* item = new QTreeWidgetItem(m_contents, {QString::fromLatin1(page.title)});
        item->setData(0, Qt::UserRole, QString::fromLatin1(page.topic));
    }
    tabs->addTab(m_contents, QStringLiteral("&Contents"));

    auto* searchPane = new QWidget(tabs);
    auto* searchLayout = new QVBoxLayout(searchPane);
    auto* searchRow = new QHBoxLayout;
    m_searchText = new QLineEdit(searchPane);
    m_searchText->setObjectName(QStringLiteral("txtSearch"));
    auto* searchButton = new QPushButton(QStringLiteral("&Find"), searchPane);
    searchButton->setObjectName(QStringLiteral("btnSearch"));
    searchRow->addWidget(m_searchText);
    searchRow->addWidget(searchButton);
    m_results = new QListWidget(searchPane);
    m_results->setObjectName(QStringLiteral("lstResults"));
    searchLayout->addLayout(searchRow);
    searchLayout->addWidget(m_results);
    tabs->addTab(searchPane, QStringLiteral("&Search"));

    m_viewer = new QTextBrowser(this);
    m_viewer->setObjectName(QStringLiteral("HelpViewer"));
    m_viewer->setOpenExternalLinks(false);

    auto* splitter = new QSplitter(this);
    splitter->addWidget(tabs);
    splitter->addWidget(m_viewer);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({230, 530});
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);

    connect(m_contents, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        showPage(PageUrl(item->data(0, Qt::UserRole).toString().toStdString()));
    });
    const auto runSearch = [this] {
        m_results->clear();
        for (const std::string& topic : search(m_searchText->text())) {
            for (const Page& page : Pages()) {
                if (topic == page.topic) {
                    auto* item = new QListWidgetItem(QString::fromLatin1(page.title), m_results);
                    item->setData(Qt::UserRole, QString::fromLatin1(page.topic));
                }
            }
        }
    };
    connect(m_searchText, &QLineEdit::returnPressed, this, runSearch);
    connect(searchButton, &QPushButton::clicked, this, runSearch);
    connect(m_results, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        showPage(PageUrl(item->data(Qt::UserRole).toString().toStdString()));
        const QStringList words = m_searchText->text().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (!words.isEmpty())
            m_viewer->find(words.front());
    });
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    help->setContext(Qt::WindowShortcut);
    connect(help, &QShortcut::activated, this, [this] { showTopic("help"); });
}

void TfrmHelp::showPage(const QUrl& url)
{
    m_viewer->setSource(url);
    const std::string topic = currentTopic();
    for (int i = 0; i < m_contents->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_contents->topLevelItem(i);
        if (item->data(0, Qt::UserRole).toString().toStdString() == topic)
            m_contents->setCurrentItem(item);
    }
}

void TfrmHelp::showTopic(const std::string& topic)
{
    showPage(PageUrl(topic));
    if (!isVisible())
        placeOnScreen();
    show();
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

void TfrmHelp::placeOnScreen()
{
    // Centred on the owner's screen and never larger than it, frame included, so that nothing
    // of the window starts off the screen; a place the user gave it since is kept if it fits.
    const QWidget* owner = parentWidget();
    const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QSize frame = frameGeometry().size() - geometry().size();
    const QSize decoration = frame.isEmpty() ? QSize(8, 27) : frame;
    resize(size().boundedTo(area.size() - decoration));
    QRect outer(frameGeometry().topLeft(), size() + decoration);
    if (!m_placed || !area.contains(outer)) {
        outer.moveCenter(area.center());
        outer.moveTopLeft(
            QPoint(std::max(outer.left(), area.left()), std::max(outer.top(), area.top())));
        m_placed = true;
    }
    move(outer.topLeft());
}

TfrmHelp& TfrmHelp::open(QWidget& owner, const std::string& topic)
{
    auto* help = owner.findChild<TfrmHelp*>(QString(), Qt::FindDirectChildrenOnly);
    if (!help)
        help = new TfrmHelp(&owner);
    help->showTopic(topic);
    return *help;
}

std::string TfrmHelp::currentTopic() const
{
    const QString file = m_viewer->source().fileName();
    return file.left(file.size() - 5).toStdString();
}

std::vector<std::string> TfrmHelp::search(const QString& words)
{
    if (m_pageTexts.empty()) {
        for (const Page& page : Pages()) {
            QFile file(pageFile(page.topic));
            QTextDocument document;
            if (file.open(QIODevice::ReadOnly))
                document.setHtml(QString::fromLatin1(file.readAll()));
            m_pageTexts.push_back(document.toPlainText());
        }
    }
    const QStringList wanted = words.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    std::vector<std::string> found;
    if (wanted.isEmpty())
        return found;
    for (std::size_t i = 0; i < Pages().size(); ++i) {
        const bool all = std::all_of(wanted.begin(), wanted.end(), [&](const QString& word) {
            return m_pageTexts[i].contains(word, Qt::CaseInsensitive);
        });
        if (all)
            found.emplace_back(Pages()[i].topic);
    }
    return found;
}

} // namespace cirrolux
