#include "shell/WrappingMenuBar.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QResizeEvent>
#include <QVBoxLayout>

namespace cirrolux {

WrappingMenuBar::WrappingMenuBar(QWidget* parent)
    : QWidget(parent), m_layout(new QVBoxLayout(this)), m_probe(std::make_unique<QMenuBar>())
{
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    m_probe->setNativeMenuBar(false);
}

WrappingMenuBar::~WrappingMenuBar() = default;

QMenu* WrappingMenuBar::addMenu(const QString& title)
{
    auto* menu = new QMenu(title, this);
    addAction(menu->menuAction());
    m_arranged.clear();
    arrange(width() > 0 ? width() : sizeHint().width());
    updateGeometry();
    return menu;
}

std::vector<QMenuBar*> WrappingMenuBar::rows() const
{
    std::vector<QMenuBar*> shown;
    for (QMenuBar* row : m_rows) {
        if (!row->actions().isEmpty())
            shown.push_back(row);
    }
    return shown;
}

std::vector<int> WrappingMenuBar::rowStarts(int width) const
{
    // A menu goes on the current row while the row, menu included, is as wide as the bar; a row
    // always takes at least one menu.
    const QList<QAction*> menus = actions();
    std::vector<int> starts;
    m_probe->clear();
    for (int i = 0; i < menus.size(); ++i) {
        m_probe->addAction(menus[i]);
        if (starts.empty() ||
            (m_probe->actions().size() > 1 && m_probe->sizeHint().width() > width)) {
            starts.push_back(i);
            m_probe->clear();
            m_probe->addAction(menus[i]);
        }
    }
    m_probe->clear();
    if (starts.empty())
        starts.push_back(0);
    return starts;
}

int WrappingMenuBar::rowHeight() const
{
    m_probe->clear();
    if (!actions().isEmpty())
        m_probe->addAction(actions().front());
    const int height = m_probe->sizeHint().height();
    m_probe->clear();
    return height;
}

int WrappingMenuBar::heightForWidth(int width) const
{
    return int(rowStarts(width).size()) * rowHeight();
}

QSize WrappingMenuBar::sizeHint() const
{
    m_probe->clear();
    m_probe->addActions(actions());
    const QSize oneRow = m_probe->sizeHint();
    m_probe->clear();
    return oneRow;
}

QSize WrappingMenuBar::minimumSizeHint() const
{
    return QSize(0, rowHeight());
}

void WrappingMenuBar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    arrange(event->size().width());
}

void WrappingMenuBar::arrange(int width)
{
    const std::vector<int> starts = rowStarts(width);
    if (starts == m_arranged)
        return;
    m_arranged = starts;
    const QList<QAction*> menus = actions();
    while (m_rows.size() < starts.size()) {
        auto* row = new QMenuBar(this);
        row->setObjectName(QStringLiteral("%1Row%2").arg(objectName()).arg(m_rows.size()));
        row->setNativeMenuBar(false);
        m_layout->addWidget(row);
        m_rows.push_back(row);
    }
    for (std::size_t r = 0; r < m_rows.size(); ++r) {
        QMenuBar* row = m_rows[r];
        row->clear();
        if (r >= starts.size()) {
            row->hide();
            continue;
        }
        const int end = r + 1 < starts.size() ? starts[r + 1] : int(menus.size());
        for (int i = starts[r]; i < end; ++i)
            row->addAction(menus[i]);
        row->show();
    }
    updateGeometry();
}

} // namespace cirrolux
