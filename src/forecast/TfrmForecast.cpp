#include "forecast/TfrmForecast.h"

#include "forecast/ForecastModes.h"
#include "forecast/ReportPrinting.h"
#include "locations/LocationCatalogue.h"
#include "net/TNMHTTP.h"
#include "platform/CirroluxError.h"
#include "platform/CommandGuard.h"
#include "platform/ScopeExit.h"
#include "platform/SharedState.h"
#include "platform/UserInterface.h"
#include "settings/ColorText.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"

#include "ui_TfrmForecast.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QScreen>
#include <QShortcut>
#include <QTextBlock>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace cirrolux {

namespace names = SettingNames;
namespace texts = ForecastTexts;

namespace {

constexpr const char* TitlePrefix = "Cirrolux - ";
constexpr int SmallFont = 8;
constexpr int LargeFont = 12;
constexpr int TransferPollMs = 100;
constexpr const char* WaitingText = "Waiting for the current transfer to end...";

bool oneOf(const std::string& mode, std::initializer_list<const char*> modes)
{
    for (const char* m : modes) {
        if (mode == m)
            return true;
    }
    return false;
}

std::string latin1(const QString& text)
{
    return text.toLatin1().toStdString();
}

// The report's text as the box shows it: CR LF, or a lone CR, ends a line.
QString boxText(const std::string& text)
{
    QString out = QString::fromLatin1(text.data(), qsizetype(text.size()));
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return out;
}

// Lines printed with the box's font, top to bottom, a new page when one is full.
class PrinterSink final : public LineSink
{
public:
    PrinterSink(QPrinter& printer, const QFont& font) : m_printer(printer)
    {
        if (!m_painter.begin(&m_printer))
            throw CirroluxError("Printing failed");
        m_painter.setFont(QFont(font, &m_printer));
        m_lineHeight = m_painter.fontMetrics().lineSpacing();
        m_ascent = m_painter.fontMetrics().ascent();
    }

    void printLine(const std::string& line) override
    {
        if (m_y + m_lineHeight >
            m_printer.pageLayout().paintRectPixels(m_printer.resolution()).height()) {
            if (!m_printer.newPage())
                throw CirroluxError("Printing failed");
            m_y = 0;
        }
        m_painter.drawText(0, m_y + m_ascent, QString::fromLatin1(line));
        m_y += m_lineHeight;
    }

    void endJob() override { m_painter.end(); }

private:
    QPrinter& m_printer;
    QPainter m_painter;
    int m_lineHeight = 0;
    int m_ascent = 0;
    int m_y = 0;
};

} // namespace

TfrmForecast::TfrmForecast(Environment environment, QWidget* parent)
    : QMainWindow(parent), m_env(std::move(environment)),
      m_form(std::make_unique<Ui::TfrmForecast>()),
      m_retrieval(m_env.shared, m_state, m_env.ui, *this, m_env.http,
                  ForecastRetrieval::Hooks{m_env.stateNameToCode})
{
    if (!m_env.stateNameToCode)
        m_env.stateNameToCode = &StateNameToCode;
    m_form->setupUi(this);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);
    for (QWidget* hidden :
         {static_cast<QWidget*>(m_form->lblZip), static_cast<QWidget*>(m_form->txtZip),
          static_cast<QWidget*>(m_form->lblState), static_cast<QWidget*>(m_form->cboState)})
        hidden->hide();

    m_status = new QLabel(m_form->StatusBar1);
    m_status->setObjectName(QStringLiteral("StatusBar1Text"));
    m_form->StatusBar1->addWidget(m_status, 1);

    auto* sizes = new QActionGroup(this);
    sizes->addAction(m_form->mnuLargefont);
    sizes->addAction(m_form->mnuSmallfont);
    auto* wrap = new QActionGroup(this);
    wrap->addAction(m_form->mnuWordwrapOff1);
    wrap->addAction(m_form->mnuwordwrapOn1);

    connect(m_form->btnGetit, &QPushButton::clicked, this, &TfrmForecast::btnGetitClick);
    connect(m_form->mnubgColor, &QAction::triggered, this, &TfrmForecast::mnubgColorClick);
    connect(m_form->mnuLargefont, &QAction::triggered, this, &TfrmForecast::mnuLargefontClick);
    connect(m_form->mnuSmallfont, &QAction::triggered, this, &TfrmForecast::mnuSmallfontClick);
    connect(m_form->mnuWordwrapOff1, &QAction::triggered, this,
            &TfrmForecast::mnuWordwrapOff1Click);
    connect(m_form->mnuwordwrapOn1, &QAction::triggered, this, &TfrmForecast::mnuwordwrapOn1Click);
    connect(m_form->mnuPrint, &QAction::triggered, this, &TfrmForecast::mnuPrintClick);
    connect(m_form->mnuCloseWindow, &QAction::triggered, this, &TfrmForecast::mnuCloseWindowClick);
    connect(m_form->mnuHelp, &QAction::triggered, this, &TfrmForecast::mnuHelpClick);
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, &TfrmForecast::mnuHelpClick);

    // Each input label is as wide as its text, its box just after it.
    const std::pair<QLabel*, QWidget*> inputs[] = {{m_form->lblCounty, m_form->editCounty},
                                                   {m_form->lblZip, m_form->txtZip},
                                                   {m_form->lblState, m_form->cboState}};
    for (const auto& [label, box] : inputs) {
        label->resize(std::max(label->width(), label->sizeHint().width()), label->height());
        box->move(std::max(box->x(), label->geometry().right() + 3), box->y());
    }

    // A report arriving while another transfer holds the shared component is fetched once it
    // is free.
    m_transferWait = new QTimer(this);
    m_transferWait->setInterval(TransferPollMs);
    connect(m_transferWait, &QTimer::timeout, this, [this] {
        if (m_env.http.Busy())
            return;
        m_transferWait->stop();
        if (isVisible() && !m_env.shared.forecastMode.empty())
            FormActivate();
    });

    // The client area (below the menu bar, status bar included) is 486 x 313.
    resize(486, 313 + m_form->MenuForecast->sizeHint().height());
}

TfrmForecast::~TfrmForecast() = default;

void TfrmForecast::guarded(const std::function<void()>& command)
{
    runGuarded(m_env.ui, command);
}

void TfrmForecast::openForecast(const std::string& mode)
{
    m_env.shared.forecastMode = mode;
    if (isVisible()) {
        // Already shown: FormShow does not run again, the activation does (at once when the
        // window is already the active one, else when it becomes active).
        raise();
        if (isActiveWindow())
            FormActivate();
        else
            activateWindow();
        return;
    }
    show();
    raise();
    activateWindow();
}

void TfrmForecast::openHtmlForecast()
{
    guarded([this] { m_retrieval.mnuForecastHTMLClick(); });
}

void TfrmForecast::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmForecast::FormShow()
{
    guarded([this] {
        setReportText({});
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->geometry();
            move(area.x() + area.width() / 2 - width() / 2,
                 area.y() + area.height() / 2 - height() / 2 - 20);
        }

        QColor background = Qt::white;
        const std::string colour =
            m_env.settings.read_setting(names::Settings, names::ForecastBackground);
        if (colour != names::NotAvailable) {
            if (const auto stored = TextToColor(colour))
                background = ToQColor(*stored);
        }
        QPalette palette = m_form->RichEdit1->palette();
        palette.setColor(QPalette::Base, background);
        m_form->RichEdit1->setPalette(palette);

        const std::string stored =
            m_env.settings.read_setting(names::Settings, names::ForecastFontSizeRead);
        std::string_view size = stored;
        if (size == names::NotAvailable || size < std::string_view("1")) {
            size = "8";
            m_form->mnuSmallfont->setChecked(true);
        } else if (size == "12") {
            m_form->mnuLargefont->setChecked(true);
        }
        // Only "8" and "12" are ever written; any other stored text that is not a sensible
        // size falls back to the small font.
        bool number = false;
        const int points = QString::fromLatin1(size.data(), qsizetype(size.size())).toInt(&number);
        if (number && points >= 1 && points <= 100) {
            setFontSize(points);
        } else {
            setFontSize(SmallFont);
            m_form->mnuSmallfont->setChecked(true);
        }

        if (m_env.minimizeMain)
            m_env.minimizeMain();

        SharedState& shared = m_env.shared;
        if ((shared.forecastMode == "f" || shared.forecastMode == "n") &&
            shared.locationState.empty()) {
            const std::string title = m_env.mainTitle ? m_env.mainTitle() : std::string();
            const std::size_t comma = title.find(',');
            if (comma == std::string::npos) {
                // No location fetched yet: there is no state to take from the title.
                m_env.ui.showMessage(std::string(texts::NoLocation));
            } else {
                const std::size_t start =
                    title.rfind(TitlePrefix, 0) == 0 ? std::string_view(TitlePrefix).size() : 0;
                shared.locationCity = title.substr(start, comma < start ? 0 : comma - start);
                shared.locationState = comma + 2 <= title.size() ? title.substr(comma + 2) : "";
                const std::size_t paren = title.find('(');
                if (paren != std::string::npos && paren >= 1)
                    m_env.ui.showMessage(std::string(texts::TextForecastsUsOnly));
            }
        }

        m_listStartText.clear();
        if (shared.forecastMode == "cw") {
            setTabOrder(m_form->cboState, m_form->btnGetit);
            m_listStartText = shared.locationState;
            m_form->cboState->setEditText(QString::fromLatin1(m_listStartText));
        }
    });
}

void TfrmForecast::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && isVisible())
        FormActivate();
}

void TfrmForecast::FormActivate()
{
    // An activation while this window's own transfer runs (a box of it, a click) starts none.
    if (m_fetching)
        return;
    // Another transfer (a timed refresh, an image) holds the shared component: the report
    // waits for it, and the status bar says so.
    if (m_env.http.Busy()) {
        if (!m_transferWait->isActive()) {
            setStatusText(WaitingText);
            m_transferWait->start();
        }
        return;
    }
    m_transferWait->stop();
    if (std::exchange(m_skipActivation, false))
        return;
    guarded([this] {
        m_form->lblZip->hide();
        m_form->txtZip->hide();
        m_form->lblState->hide();
        m_form->cboState->hide();
        m_form->lblCounty->show();
        m_form->editCounty->show();

        const std::string& mode = m_env.shared.forecastMode;
        const int h = height();
        if (oneOf(mode, {"h", "ap", "eb", "p", "w", "sw", "ss", "si"})) {
            m_form->RichEdit1->resize(m_form->RichEdit1->width(), h - 62);
            m_form->lblCounty->hide();
            m_form->editCounty->hide();
            m_form->btnGetit->hide();
            fetch();
        } else if (oneOf(mode, {"s1", "s2", "cw"})) {
            showInputMode();
            process_s1s2();
            // The text box makes room for the list or the zip box at once, not at the next
            // resize.
            FormResize();
        } else if (oneOf(mode, {"f", "n"})) {
            m_form->RichEdit1->resize(m_form->RichEdit1->width(), h - 150);
            m_form->lblCounty->show();
            m_form->editCounty->show();
            m_form->btnGetit->show();
        }
    });
}

void TfrmForecast::showInputMode()
{
    // A census or crop mode waits for its state or zip under its own title; the report of the
    // mode before it goes with that mode's title.
    const ForecastMode* row = FindForecastMode(m_env.shared.forecastMode);
    if (row == nullptr)
        return;
    const std::string zip = zipText();
    const std::string stateList = stateListText();
    const SharedState& shared = m_env.shared;
    const std::string title =
        ReportTitle(*row, ReportInputs{shared.locationCity, shared.locationState,
                                       m_state.cropStateCode, stateList, zip});
    if (latin1(windowTitle()) != title) {
        setWindowTitle(title);
        setReportText({});
    }
}

void TfrmForecast::fetch()
{
    m_fetching = true;
    const ScopeExit done([this] { m_fetching = false; });
    const bool finished = runGuarded(m_env.ui, [this] { m_retrieval.get_xcast(); });
    m_skipActivation = !finished || m_retrieval.showedMessage();
}

void TfrmForecast::get_xcast()
{
    fetch();
}

void TfrmForecast::process_s1s2()
{
    m_form->btnGetit->show();
    m_form->lblCounty->hide();
    m_form->editCounty->hide();
    const int top = height() - 130;
    if (m_env.shared.forecastMode == "s2") {
        m_form->lblZip->move(m_form->lblZip->x(), top);
        m_form->txtZip->move(m_form->txtZip->x(), top);
        m_form->lblZip->show();
        m_form->txtZip->show();
        return;
    }
    m_form->lblState->move(m_form->lblState->x(), top);
    m_form->cboState->move(m_form->cboState->x(), top);
    m_form->lblState->show();
    m_form->cboState->show();
    m_form->cboState->clear();
    for (const std::string_view entry : StateListEntries())
        m_form->cboState->addItem(QString::fromLatin1(entry.data(), qsizetype(entry.size())));
    if (!m_listStartText.empty())
        m_form->cboState->setEditText(QString::fromLatin1(m_listStartText));
}

void TfrmForecast::btnGetitClick()
{
    guarded([this] {
        repaint();
        if (m_form->cboState->isVisible()) {
            const std::string text = stateListText();
            const std::string code = text.substr(0, 2);
            const std::string name = text.size() > 3 ? text.substr(3) : std::string();
            std::string rewritten = code;
            rewritten.append(",").append(name);
            m_form->cboState->setEditText(QString::fromLatin1(rewritten));
            // "None" (and what it was rewritten to) picks no state.
            if (m_env.shared.forecastMode == "cw" && !name.empty() && code != "No") {
                SharedState& shared = m_env.shared;
                const std::string stateCode = shared.stateCode;
                const std::string title = shared.locationTitle;
                const ScopeExit restore([&] {
                    shared.stateCode = stateCode;
                    shared.locationTitle = title;
                });
                shared.locationTitle = std::string(",").append(name);
                m_env.stateNameToCode(shared);
                m_state.cropStateCode = shared.stateCode;
            }
        }
    });
    fetch();
}

void TfrmForecast::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TfrmForecast::FormResize()
{
    const std::string& mode = m_env.shared.forecastMode;
    const int h = height();
    QWidget* box = m_form->RichEdit1;
    if (oneOf(mode, {"s1", "s2", "cw"})) {
        for (QWidget* w :
             {static_cast<QWidget*>(m_form->lblState), static_cast<QWidget*>(m_form->cboState),
              static_cast<QWidget*>(m_form->lblZip), static_cast<QWidget*>(m_form->txtZip)})
            w->move(w->x(), h - 130);
        m_form->btnGetit->move(m_form->btnGetit->x(), h - 100);
        box->resize(box->width(), h - 150);
    } else if (oneOf(mode, {"f", "n"})) {
        m_form->lblCounty->move(m_form->lblCounty->x(), h - 130);
        m_form->editCounty->move(m_form->editCounty->x(), h - 130);
        m_form->btnGetit->move(m_form->btnGetit->x(), h - 100);
        box->resize(box->width(), h - 150);
    } else {
        box->resize(box->width(), h - 62);
    }
    box->resize(width() - 5, box->height());
    repaint();
}

void TfrmForecast::closeEvent(QCloseEvent* event)
{
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        FormClose();
}

void TfrmForecast::FormClose()
{
    m_transferWait->stop();
    guarded([this] {
        setReportText({});
        if (!m_state.savedFontName.empty())
            setFontName(m_state.savedFontName);
        m_env.shared.forecastMode.clear();
        m_state.cropStateCode.clear();
        if (m_env.restoreMain)
            m_env.restoreMain();
    });
}

void TfrmForecast::mnuCloseWindowClick()
{
    close();
}

void TfrmForecast::mnubgColorClick()
{
    guarded([this] {
        std::optional<QColor> chosen;
        try {
            chosen = m_env.ui.chooseColor();
        } catch (const DialogError&) {
            m_env.ui.showMessage(std::string(texts::ColorDialogFailed));
            return;
        }
        if (!chosen)
            return;
        QPalette palette = m_form->RichEdit1->palette();
        palette.setColor(QPalette::Base, *chosen);
        m_form->RichEdit1->setPalette(palette);
        m_env.settings.write_setting(names::Settings, names::ForecastBackground,
                                     ColorToText(FromQColor(*chosen)));
    });
}

void TfrmForecast::setFontSize(int points)
{
    QFont font = m_form->RichEdit1->font();
    font.setPointSize(points);
    m_form->RichEdit1->setFont(font);
}

void TfrmForecast::mnuLargefontClick()
{
    guarded([this] {
        setFontSize(LargeFont);
        m_env.settings.write_setting(names::Settings, names::ForecastFontSizeWrite, "12");
        m_form->mnuLargefont->setChecked(true);
    });
}

void TfrmForecast::mnuSmallfontClick()
{
    guarded([this] {
        setFontSize(SmallFont);
        m_env.settings.write_setting(names::Settings, names::ForecastFontSizeWrite, "8");
        m_form->mnuSmallfont->setChecked(true);
    });
}

void TfrmForecast::mnuWordwrapOff1Click()
{
    m_form->RichEdit1->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_form->mnuWordwrapOff1->setChecked(true);
}

void TfrmForecast::mnuwordwrapOn1Click()
{
    m_form->RichEdit1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_form->mnuwordwrapOn1->setChecked(true);
}

void TfrmForecast::mnuPrintClick()
{
    guarded([this] {
        QPrinter printer(QPrinter::HighResolution);
        if (!m_env.ui.runPrintDialog(printer))
            return;
        std::vector<std::string> lines;
        for (QTextBlock block = m_form->RichEdit1->document()->begin(); block.isValid();
             block = block.next())
            lines.push_back(latin1(block.text()));
        PrinterSink sink(printer, m_form->RichEdit1->font());
        PrintReportLines(lines, sink);
    });
}

void TfrmForecast::mnuHelpClick()
{
    guarded([this] { m_env.ui.openHelp("forecast"); });
}

void TfrmForecast::setStatusText(const std::string& text)
{
    m_status->setText(QString::fromLatin1(text));
    m_status->repaint();
}

void TfrmForecast::setWindowTitle(const std::string& title)
{
    QMainWindow::setWindowTitle(QString::fromLatin1(title));
}

void TfrmForecast::setReportText(const std::string& text)
{
    m_shownText = text;
    m_form->RichEdit1->setPlainText(boxText(text));
}

std::string TfrmForecast::reportText() const
{
    return m_shownText;
}

std::string TfrmForecast::fontName() const
{
    if (m_fixedFont)
        return std::string(texts::FixedFontName);
    return latin1(m_form->RichEdit1->font().family());
}

void TfrmForecast::setFontName(const std::string& name)
{
    const int points = m_form->RichEdit1->font().pointSize();
    m_fixedFont = name == texts::FixedFontName;
    QFont font = m_fixedFont ? QFontDatabase::systemFont(QFontDatabase::FixedFont)
                             : QFont(QString::fromLatin1(name));
    font.setPointSize(points);
    m_form->RichEdit1->setFont(font);
}

bool TfrmForecast::zipVisible() const
{
    return m_form->lblZip->isVisible();
}

std::string TfrmForecast::zipText() const
{
    return latin1(m_form->txtZip->text());
}

std::string TfrmForecast::stateListText() const
{
    return latin1(m_form->cboState->currentText());
}

std::string TfrmForecast::countyText() const
{
    return latin1(m_form->editCounty->text());
}

void TfrmForecast::repaint()
{
    QMainWindow::repaint();
}

} // namespace cirrolux
