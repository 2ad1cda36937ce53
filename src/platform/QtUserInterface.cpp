#include "platform/QtUserInterface.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QMessageBox>
#include <QPrintDialog>
#include <QUrl>

namespace cirrolux {

namespace {
QString title()
{
    return QApplication::applicationName();
}
} // namespace

void QtUserInterface::showMessage(const std::string& text)
{
    QMessageBox box(QMessageBox::NoIcon, title(), QString::fromLatin1(text), QMessageBox::Ok,
                    m_parent);
    box.exec();
}

void QtUserInterface::showInformation(const std::string& text)
{
    QMessageBox::information(m_parent, title(), QString::fromLatin1(text));
}

bool QtUserInterface::confirm(const std::string& text)
{
    return QMessageBox::question(m_parent, title(), QString::fromLatin1(text),
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void QtUserInterface::showError(const std::string& text)
{
    QMessageBox::critical(m_parent, title(), QString::fromLatin1(text));
}

void QtUserInterface::beep()
{
    QApplication::beep();
}

std::optional<QColor> QtUserInterface::chooseColor()
{
    const QColor chosen = QColorDialog::getColor(m_lastColor, m_parent);
    if (!chosen.isValid())
        return std::nullopt;
    m_lastColor = chosen;
    return chosen;
}

bool QtUserInterface::runPrintDialog(QPrinter& printer, bool printToFile)
{
    QPrintDialog dialog(&printer, m_parent);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, printToFile);
    return dialog.exec() == QDialog::Accepted;
}

void QtUserInterface::openHelp(const std::string& topic)
{
    if (m_helpHandler)
        m_helpHandler(topic);
}

void QtUserInterface::openUrl(const std::string& url)
{
    QDesktopServices::openUrl(QUrl(QString::fromLatin1(url)));
}

} // namespace cirrolux
