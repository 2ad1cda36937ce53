#pragma once

#include "platform/UserInterface.h"

#include <QColor>
#include <QPointer>
#include <QWidget>

#include <functional>

namespace cirrolux {

// The real dialogs: QMessageBox, QColorDialog and QApplication::beep. Boxes are parented to the
// given window (which may change once the main window exists).
class QtUserInterface final : public UserInterface
{
public:
    explicit QtUserInterface(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParentWindow(QWidget* parent) { m_parent = parent; }

    void showMessage(const std::string& text) override;
    void showInformation(const std::string& text) override;
    bool confirm(const std::string& text) override;
    void showError(const std::string& text) override;
    void beep() override;
    std::optional<QColor> chooseColor() override;
    bool runPrintDialog(QPrinter& printer, bool printToFile = true) override;
    void openHelp(const std::string& topic) override;
    void openUrl(const std::string& url) override;
    // The help window registers itself here; until then a help command does nothing.
    void setHelpHandler(std::function<void(const std::string&)> handler)
    {
        m_helpHandler = std::move(handler);
    }

private:
    QPointer<QWidget> m_parent;
    QColor m_lastColor = Qt::white;
    std::function<void(const std::string&)> m_helpHandler;
};

} // namespace cirrolux
