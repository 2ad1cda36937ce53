#include "shell/TfrmAbout.h"

#include "net/ServiceAddresses.h"
#include "platform/CommandGuard.h"
#include "platform/UserInterface.h"
#include "shell/UpdateCheck.h"
#include "ui_TfrmAbout.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QShortcut>

namespace cirrolux {

namespace {

constexpr int BoxWidth = 360;
constexpr int BoxHeight = 340;

QString thousands(std::uint64_t bytes)
{
    return QString::number(qulonglong(bytes / 1000));
}

} // namespace

TfrmAbout::TfrmAbout(UserInterface& ui, QWidget* parent, MemoryStatus memory)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      m_ui(ui), m_memory(memory)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Cirrolux"));
    setFixedSize(BoxWidth, BoxHeight);
    FormCreate();
}

TfrmAbout::~TfrmAbout() = default;

const char* TfrmAbout::CreditsText()
{
    return "Weather data courtesy of the National Weather Service and Weather Underground, "
           "Inc.\r\n\r\n"
           "Images courtesy of: Purdue University, Yahoo! Weather, Meteo, the University of "
           "Wisconsin-Milwaukee, IGES, NOAA's Climate Prediction Center, NOAA GOES, Kochi "
           "University, the USDA and its NASS, James Cook University, the University of "
           "Wollongong, EarthWatch, AccuWeather, Penn State University, the USGS, the US Census "
           "Bureau, the USDA Forest Service WFAS, Plymouth State College, WeatherBank, Inc., and "
           "the owners of the weather cams.\r\n\r\n"
           "Country information by the CIA World Factbook; fire reports by the National "
           "Interagency Fire Center.\r\n\r\n"
           "Cirrolux by Tallowmere, 2005.";
}

void TfrmAbout::FormCreate()
{
    // 60 pixels above the centre of the screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - width()) / 2,
             area.y() + (area.height() - height()) / 2 - 60);
    }
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    help->setContext(Qt::WindowShortcut);
    connect(help, &QShortcut::activated, this, &TfrmAbout::FormHelp);
}

void TfrmAbout::build()
{
    if (m_form)
        return;
    m_form = std::make_unique<Ui::TfrmAbout>();
    m_form->setupUi(this);
    setWindowTitle(QStringLiteral("About Cirrolux"));
    m_form->lblCurrVs->setText(QString::fromLatin1(ProgramVersion));
    m_form->Memo1->setPlainText(QString::fromLatin1(CreditsText()));
    m_form->lblURL->installEventFilter(this);
    m_form->lblEmail->installEventFilter(this);
    memshow();
}

Ui::TfrmAbout& TfrmAbout::form()
{
    build();
    return *m_form;
}

std::string TfrmAbout::currentVersion()
{
    return form().lblCurrVs->text().toLatin1().toStdString();
}

void TfrmAbout::memshow()
{
    const int percent = m_memory.freePercent();
    m_form->Ramguage->SetProgress(percent);
    m_form->Ramguage->SetForeColor(percent > 4 ? QColor(Qt::green) : QColor(Qt::red));
    m_form->lblFreeRAM->setText(QStringLiteral("Free RAM: ") + thousands(m_memory.freeBytes) +
                                QStringLiteral(" K bytes"));
    m_form->lbltotalRAM->setText(QStringLiteral("Total RAM: ") + thousands(m_memory.totalBytes) +
                                 QStringLiteral(" K bytes"));
}

void TfrmAbout::mnuAboutClick()
{
    build();
    if (!isVisible())
        show();
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

void TfrmAbout::lblURLClick()
{
    runGuarded(m_ui, [this] { m_ui.openUrl(std::string(ServiceAddresses::MakerHomePage)); });
}

void TfrmAbout::lblEmailClick()
{
    runGuarded(m_ui,
               [this] { m_ui.openUrl("mailto:" + std::string(ServiceAddresses::SupportMail)); });
}

void TfrmAbout::FormHelp()
{
    runGuarded(m_ui, [this] { m_ui.openHelp("about"); });
}

void TfrmAbout::showEvent(QShowEvent* event)
{
    build();
    QWidget::showEvent(event);
}

bool TfrmAbout::eventFilter(QObject* watched, QEvent* event)
{
    if (m_form && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == m_form->lblURL) {
            lblURLClick();
            return true;
        }
        if (watched == m_form->lblEmail) {
            lblEmailClick();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmAbout::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QLinearGradient fill(0, 0, 0, height());
    fill.setColorAt(0, QColor(0, 0, 255));
    fill.setColorAt(1, Qt::black);
    painter.fillRect(rect(), fill);
}

} // namespace cirrolux
