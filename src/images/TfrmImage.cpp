#include "images/TfrmImage.h"

#include "ui_TfrmImage.h"

#include "display/TGIFImage.h"
#include "images/TImage.h"
#include "images/WallpaperCommands.h"
#include "platform/CirroluxError.h"
#include "platform/CommandGuard.h"
#include "platform/SharedState.h"
#include "platform/UserInterface.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"
#include "wallpaper/WallpaperBitmap.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QResizeEvent>
#include <QScreen>
#include <QShortcut>
#include <QTimer>

#include <algorithm>

namespace cirrolux {

namespace {
constexpr int InitialWidth = 332;
constexpr int InitialHeight = 316;
// Pixels per inch of the window the printout keeps the size of.
constexpr double ScreenDpi = 96.0;
} // namespace

TfrmImage::TfrmImage(SharedState& state, SettingsStore& settings, UserInterface& ui,
                     MainWindowSteps mainWindow)
    : QMainWindow(nullptr), m_state(state), m_settings(settings), m_ui(ui),
      m_main(std::move(mainWindow)), m_form(std::make_unique<Ui::TfrmImage>())
{
    m_form->setupUi(this);
    // The menu's "Help &Contents (F1)" names its key itself; a shortcut on the entry would show
    // "F1" a second time beside it.
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, m_form->mnuHelpContentsF11, &QAction::trigger);
    m_statusText = new QLabel(QStringLiteral(" Thank you for using Cirrolux..."), statusBar());
    m_statusText->setObjectName(QStringLiteral("StatusBar1Text"));
    statusBar()->addWidget(m_statusText, 1);
    statusBar()->setSizeGripEnabled(false);
    setBackground(Qt::black);
    resize(InitialWidth, InitialHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect desk = screen->availableGeometry();
        move(desk.center() - QPoint(InitialWidth / 2, InitialHeight / 2));
    }

    connect(m_form->mnuMOYes1, &QAction::triggered, this, [this] { mnuMOYes1Click(); });
    connect(m_form->mnuMONo1, &QAction::triggered, this, [this] { mnuMONo1Click(); });
    connect(m_form->mnuSaveAsWallpaper1, &QAction::triggered, this,
            [this] { mnuSaveAsWallpaper1Click(); });
    connect(m_form->mnuPrint1, &QAction::triggered, this, [this] { mnuPrint1Click(); });
    connect(m_form->mnuClose1, &QAction::triggered, this, [this] { mnuClose1Click(); });
    connect(m_form->mnuHelpContentsF11, &QAction::triggered, this,
            [this] { mnuHelpContentsF11Click(); });
    setWallpaperCommands(nullptr);
}

TfrmImage::~TfrmImage() = default;

TImage& TfrmImage::Image1()
{
    return *m_form->Image1;
}

TGIFImage& TfrmImage::GIFImage1()
{
    return *m_form->GIFImage1;
}

void TfrmImage::guarded(const std::function<void()>& command)
{
    runGuarded(m_ui, command);
}

void TfrmImage::setWallpaperCommands(WallpaperCommands* commands)
{
    m_wallpaper = commands;
    m_form->mnuSaveAsWallpaper1->setEnabled(commands != nullptr);
    m_form->mnuSaveAsWallpaper1->setStatusTip(
        commands ? QString() : QStringLiteral("Setting the wallpaper is not available"));
}

void TfrmImage::setBackground(const QColor& colour)
{
    QPalette palette = m_form->ClientArea->palette();
    palette.setColor(QPalette::Window, colour);
    m_form->ClientArea->setPalette(palette);
}

QColor TfrmImage::backgroundColor() const
{
    return m_form->ClientArea->palette().color(QPalette::Window);
}

void TfrmImage::setMaximizeButton(bool shown)
{
    if (shown == m_maximizeButton)
        return;
    m_maximizeButton = shown;
    // Changing the flags hides a shown window; both callers run while it is hidden.
    const bool visible = isVisible();
    if (shown)
        setWindowFlags(Qt::Window);
    else
        setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                       Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                       Qt::WindowCloseButtonHint);
    if (visible)
        show();
}

void TfrmImage::checkMaximize(bool yes)
{
    m_form->mnuMOYes1->setChecked(yes);
    m_form->mnuMONo1->setChecked(!yes);
}

void TfrmImage::FormShow()
{
    const bool maximise =
        m_settings.read_setting(SettingNames::Settings, SettingNames::MaxOpenImage) == "y";
    checkMaximize(maximise);
    setWindowState(maximise ? Qt::WindowMaximized : Qt::WindowNoState);
    if (m_main.minimize)
        m_main.minimize();
}

void TfrmImage::FormClose()
{
    hide();
    setMaximizeButton(true);
    GIFImage1().SetAnimate(false);
    GIFImage1().Clear();
    // In country-information mode the web page window is still open and restores it itself.
    if (m_main.restore && m_state.webMode != "ci")
        m_main.restore();
    const QString file = QString::fromLocal8Bit(m_state.imageFile);
    if (!file.isEmpty() && QFile::exists(file))
        QFile::remove(file);
    // A timed refresh keeps the names for the wallpaper step.
    if (m_state.automaticRequest != "y") {
        m_state.imageFile.clear();
        m_state.imageFileUpper.clear();
    }
    setBackground(Qt::black);
}

void TfrmImage::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        guarded([this] { FormShow(); });
}

void TfrmImage::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    // Image1 is anchored to the left, top and right edges: its right edge keeps its distance
    // from the window's right edge, whatever size the control last took.
    if (!event->oldSize().isValid())
        return;
    TImage& image = Image1();
    const int grown = event->size().width() - event->oldSize().width();
    image.resize(std::max(0, image.width() + grown), image.height());
}

void TfrmImage::closeEvent(QCloseEvent* event)
{
    guarded([this] { FormClose(); });
    event->accept();
}

void TfrmImage::mnuMOYes1Click()
{
    checkMaximize(true);
    guarded([this] {
        m_settings.write_setting(SettingNames::Settings, SettingNames::MaxOpenImage, "y");
    });
}

void TfrmImage::mnuMONo1Click()
{
    checkMaximize(false);
    guarded([this] {
        m_settings.write_setting(SettingNames::Settings, SettingNames::MaxOpenImage, "");
    });
}

QImage TfrmImage::captureClientArea()
{
    return m_form->ClientArea->grab().toImage();
}

void TfrmImage::mnuSaveAsWallpaper1Click()
{
    guarded([this] {
        if (!m_wallpaper)
            return;
        // The WeatherBank loops (national and every state or regional radar) are captured as
        // shown, current frame included, since the wallpaper cannot animate.
        if (imageTitle().find("WeatherBank", 1) != std::string::npos) {
            move(0, 0);
            resize(GIFImage1().width() + 10, GIFImage1().height() + 60);
            QEventLoop wait;
            QTimer::singleShot(m_captureDelayMs, &wait, &QEventLoop::quit);
            wait.exec();
            repaint();
            // The capture goes through the clipboard, which keeps it for the user to paste; when
            // the clipboard cannot hold a picture the capture itself is saved.
            const QImage capture = captureClientArea();
            QClipboard* clipboard = QGuiApplication::clipboard();
            clipboard->setImage(capture);
            const QImage pasted = clipboard->image();
            if (!WallpaperBitmap::save(pasted.isNull() ? capture : pasted,
                                       WallpaperBitmap::workingPath()))
                throw CirroluxError("Failed to save cirrolux.bmp");
        }
        m_wallpaper->do_wallpaper();
    });
}

void TfrmImage::mnuPrint1Click()
{
    guarded([this] {
        QPrinter printer(QPrinter::HighResolution);
        if (!m_ui.runPrintDialog(printer, false))
            return;
        const QImage image = captureClientArea();
        QPainter painter;
        if (!painter.begin(&printer))
            throw CirroluxError("Printing failed");
        const double scale = printer.resolution() / ScreenDpi;
        painter.scale(scale, scale);
        painter.drawImage(0, 0, image);
        painter.end();
    });
}

void TfrmImage::mnuClose1Click()
{
    close();
}

void TfrmImage::mnuHelpContentsF11Click()
{
    guarded([this] { m_ui.openHelp("image"); });
}

void TfrmImage::setImageTitle(const std::string& title)
{
    setWindowTitle(QString::fromLatin1(title));
}

std::string TfrmImage::imageTitle() const
{
    return windowTitle().toLatin1().toStdString();
}

void TfrmImage::setWhiteBackground()
{
    setBackground(Qt::white);
}

void TfrmImage::removeMaximizeButton()
{
    setMaximizeButton(false);
}

void TfrmImage::setGifAnimate(bool on)
{
    GIFImage1().SetAnimate(on);
}

void TfrmImage::setGifFrame(int frame)
{
    GIFImage1().SetCurrentFrame(frame);
}

void TfrmImage::preparePicture()
{
    GIFImage1().hide();
    GIFImage1().resize(0, 0);
    Image1().move(0, 0);
    Image1().show();
}

void TfrmImage::loadPicture(const std::string& file)
{
    Image1().LoadFromFile(file);
}

void TfrmImage::prepareGif()
{
    Image1().hide();
    Image1().resize(0, 0);
    GIFImage1().show();
    GIFImage1().Clear();
    GIFImage1().move(0, 0);
}

void TfrmImage::loadGif(const std::string& file)
{
    GIFImage1().LoadFromFile(QString::fromLocal8Bit(file));
}

int TfrmImage::gifWidth() const
{
    return m_form->GIFImage1->width();
}

int TfrmImage::gifHeight() const
{
    return m_form->GIFImage1->height();
}

void TfrmImage::moveWindow(int left, int top)
{
    move(left, top);
}

void TfrmImage::resizeWindow(int width, int height)
{
    setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized));
    resize(width, height);
}

void TfrmImage::repaintWindow()
{
    repaint();
}

void TfrmImage::showWindow()
{
    show();
    raise();
}

} // namespace cirrolux
