#pragma once

#include "platform/UserInterface.h"

#include <QColor>
#include <QPointer>
#include <QWidget>

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
    bool runPrintDialog(QPrinter& printer) override;

private:
    QPointer<QWidget> m_parent;
    QColor m_lastColor = Qt::white;
};

} // namespace cirrolux
