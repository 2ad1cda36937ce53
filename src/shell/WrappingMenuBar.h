#pragma once

#include <QList>
#include <QWidget>

#include <memory>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;
class QVBoxLayout;

namespace cirrolux {

// A menu bar that wraps onto further rows when its menus do not fit the window's width, as the
// desktop's own menu bars do, instead of hiding the last menus behind an overflow button. Each
// row is a QMenuBar holding some of the menus, so mouse, access keys and the menus themselves
// behave as on any menu bar. The widget's own actions() are every menu in order.
class WrappingMenuBar : public QWidget
{
    Q_OBJECT

public:
    explicit WrappingMenuBar(QWidget* parent = nullptr);
    ~WrappingMenuBar() override;

    QMenu* addMenu(const QString& title);
    // The rows shown now, top first.
    std::vector<QMenuBar*> rows() const;
    // The index of the first menu of each row for a bar `width` pixels wide.
    std::vector<int> rowStarts(int width) const;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void arrange(int width);
    int rowHeight() const;

    QVBoxLayout* m_layout = nullptr;
    std::vector<QMenuBar*> m_rows;
    std::unique_ptr<QMenuBar> m_probe; // measures rows; never shown
    std::vector<int> m_arranged;       // the row starts the rows show now
};

} // namespace cirrolux
