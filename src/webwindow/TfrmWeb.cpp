#include "webwindow/TfrmWeb.h"

#include "display/TGIFImage.h"
#include "net/TNMHTTP.h"
#include "platform/CommandGuard.h"
#include "platform/SharedState.h"
#include "platform/UserInterface.h"
#include "ui_TfrmWeb.h"
#include "webwindow/TFrameViewer.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QPrinter>
#include <QScreen>
#include <QShortcut>

#include <algorithm>

namespace cirrolux {

namespace {

const QColor Teal(0, 128, 128);
constexpr int InitialWidth = 646;
constexpr int InitialHeight = 448;

} // namespace

TfrmWeb::TfrmWeb(SharedState& state, TNMHTTP& http, UserInterface& ui, QWidget* parent)
    : QMainWindow(parent, Qt::Window), m_state(state), m_http(http), m_ui(ui),
      m_retrieval(state, http, *this, nullptr)
{
    setObjectName(QStringLiteral("frmWeb"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    resize(InitialWidth, InitialHeight);
}

TfrmWeb::~TfrmWeb() = default;

void TfrmWeb::setMapWindow(CountryMapWindow* map)
{
    m_retrieval.setMapWindow(map);
}

void TfrmWeb::adoptMapWindow(std::unique_ptr<CountryMapWindow> map)
{
    m_ownedMap = std::move(map);
    m_retrieval.setMapWindow(m_ownedMap.get());
}

void TfrmWeb::build()
{
    if (m_form)
        return;
    m_form = std::make_unique<Ui::TfrmWeb>();
    m_form->setupUi(this);
    resize(InitialWidth, InitialHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + area.width() / 2 - width() / 2,
             area.y() + area.height() / 2 - height() / 2);
    }
    // The flag sits centred in its white box, whatever its size.
    m_form->GIFImage1->SetAutoSize(false);
    m_form->GIFImage1->SetCenter(true);
    m_form->GIFImage1->SetOpaqueColor(Qt::white);
    m_status = new QLabel(m_form->StatusBar1);
    m_status->setObjectName(QStringLiteral("StatusBar1Text"));
    m_form->StatusBar1->addWidget(m_status, 1);

    connect(m_form->btnGo, &QPushButton::clicked, this, &TfrmWeb::btnGoClick);
    connect(m_form->btnStop, &QPushButton::clicked, this, &TfrmWeb::btnStopClick);
    connect(m_form->btnReload, &QPushButton::clicked, this, &TfrmWeb::btnReloadClick);
    connect(m_form->mnuPrint1, &QAction::triggered, this, &TfrmWeb::mnuPrint1Click);
    connect(m_form->mnuClose1, &QAction::triggered, this, &TfrmWeb::mnuClose1Click);
    connect(m_form->mnuHelpContentsF11, &QAction::triggered, this,
            &TfrmWeb::mnuHelpContentsF11Click);
    // The entry's caption names its key; as the entry's shortcut it would show "F1" twice.
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, m_form->mnuHelpContentsF11, &QAction::trigger);
    FormResize();
}

Ui::TfrmWeb& TfrmWeb::form()
{
    build();
    return *m_form;
}

TFrameViewer& TfrmWeb::FrameViewer1()
{
    return *form().FrameViewer1;
}

TGIFImage& TfrmWeb::GIFImage1()
{
    return *form().GIFImage1;
}

std::string TfrmWeb::statusText() const
{
    return m_status ? m_status->text().toLatin1().toStdString() : std::string();
}

void TfrmWeb::guarded(const std::function<void()>& command)
{
    runGuarded(m_ui, command);
}

void TfrmWeb::openWebWindow(const std::string& mode)
{
    build();
    const bool showsAnother = !isVisible() || m_shownMode != mode;
    m_state.webMode = mode;
    show();
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    // Showing a window that is already open runs no show steps; the other report still needs its
    // own, or the window would fetch one report under the other's controls.
    if (showsAnother)
        FormShow();
}

void TfrmWeb::FormShow()
{
    Ui::TfrmWeb& f = form();
    m_shownMode = m_state.webMode;
    f.FrameViewer1->setDefBackground(Teal);
    f.cboChoose->clear();
    // The flag control shows again with the next country's flag.
    f.GIFImage1->Clear();
    f.GIFImage1->setVisible(false);
    if (m_state.webMode == "ci") {
        setTitle("Cirrolux - Country Info");
        f.lblChoose->setText(QStringLiteral("Choose a Country:"));
        f.lblChoose->setVisible(true);
        f.cboChoose->setVisible(true);
        guarded([this] { m_retrieval.load_countries(); });
    } else if (m_state.webMode == "usfi") {
        setTitle("Cirrolux - Current US Fire/Acreage Incident Mgt. Report");
        f.lblChoose->setVisible(false);
        f.cboChoose->setVisible(false);
        btnGoClick();
    }
}

void TfrmWeb::btnGoClick()
{
    guarded([this] {
        // One transfer at a time on the shared component; "&Stop" is the way to end this one.
        if (m_http.Busy()) {
            m_ui.beep();
            return;
        }
        if (!m_retrieval.btnGoClick())
            m_ui.beep();
    });
}

void TfrmWeb::btnReloadClick()
{
    btnGoClick();
}

void TfrmWeb::btnStopClick()
{
    guarded([this] { m_retrieval.btnStopClick(); });
}

void TfrmWeb::FormResize()
{
    if (!m_form)
        return;
    Ui::TfrmWeb& f = *m_form;
    f.GIFImage1->move(width() / 2 - f.GIFImage1->width() / 2, f.GIFImage1->y());
    f.FrameViewer1->resize(std::max(0, width() - 12), std::max(0, height() - 154));
    const int rowTop = f.FrameViewer1->height() + 45;
    for (QWidget* control :
         std::initializer_list<QWidget*>{f.lblChoose, f.cboChoose, f.btnGo, f.btnStop, f.btnReload})
        control->move(control->x(), rowTop);
}

void TfrmWeb::printTo(QPrinter& printer)
{
    FrameViewer1().Print(printer, 1, 9999);
}

void TfrmWeb::mnuPrint1Click()
{
    guarded([this] {
        // The default printer, without asking.
        QPrinter printer(QPrinter::HighResolution);
        printTo(printer);
    });
}

void TfrmWeb::mnuClose1Click()
{
    guarded([this] { close_stuff(); });
    close();
}

void TfrmWeb::mnuHelpContentsF11Click()
{
    guarded([this] { m_ui.openHelp("web"); });
}

void TfrmWeb::close_stuff()
{
    if (CountryMapWindow* map = m_retrieval.mapWindow())
        map->closeImageWindow();
    m_state.webMode.clear();
    m_shownMode.clear();
    if (m_restoreMain)
        m_restoreMain();
}

void TfrmWeb::closeEvent(QCloseEvent* event)
{
    guarded([this] { close_stuff(); });
    QMainWindow::closeEvent(event);
}

void TfrmWeb::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TfrmWeb::setStatusText(const std::string& text)
{
    build();
    m_status->setText(QString::fromLatin1(text));
    m_status->repaint();
}

void TfrmWeb::setTitle(const std::string& title)
{
    setWindowTitle(QString::fromLatin1(title));
}

void TfrmWeb::setCountries(const std::vector<std::string>& entries)
{
    QComboBox* list = form().cboChoose;
    list->clear();
    QStringList items;
    items.reserve(qsizetype(entries.size()));
    for (const std::string& entry : entries)
        items.push_back(QString::fromLatin1(entry));
    list->addItems(items);
    list->setCurrentIndex(-1);
}

std::string TfrmWeb::chosenCountry() const
{
    return m_form ? m_form->cboChoose->currentText().toLatin1().toStdString() : std::string();
}

void TfrmWeb::loadPage(const std::string& fileName)
{
    FrameViewer1().LoadFromFile(fileName);
}

void TfrmWeb::showFlag(const std::string& fileName)
{
    TGIFImage& flag = GIFImage1();
    flag.setVisible(true);
    flag.Clear();
    flag.move(width() / 2 - flag.width() / 2, 0);
    // A missing or broken file leaves the control empty.
    flag.LoadFromFile(QString::fromLocal8Bit(fileName.data(), qsizetype(fileName.size())));
}

void TfrmWeb::bringToFront()
{
    raise();
    activateWindow();
}

} // namespace cirrolux
