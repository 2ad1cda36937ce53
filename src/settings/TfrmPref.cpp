#include "settings/TfrmPref.h"

#include "platform/CommandGuard.h"
#include "platform/UserInterface.h"
#include "ui_TfrmPref.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QScreen>
#include <QShowEvent>
#include <QSignalBlocker>

#include <algorithm>

namespace cirrolux {

namespace {

const QColor Navy(0, 0, 128);
const QColor Silver(192, 192, 192);

QString fromText(const std::string& text)
{
    return QString::fromLatin1(text);
}

std::string toText(const QString& text)
{
    return text.toLatin1().toStdString();
}

// Enabled edits and lists in the window colour, disabled ones in silver.
void setUsable(QWidget* widget, bool enabled)
{
    widget->setEnabled(enabled);
    QPalette palette = widget->palette();
    const QColor colour = enabled ? QApplication::palette().color(QPalette::Base) : Silver;
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Base, colour);
    palette.setColor(QPalette::Button,
                     enabled ? QApplication::palette().color(QPalette::Button) : Silver);
    widget->setPalette(palette);
}

std::vector<std::string> itemsOf(const QComboBox* box)
{
    std::vector<std::string> items;
    for (int i = 0; i < box->count(); ++i)
        items.push_back(toText(box->itemText(i)));
    return items;
}

void setItems(QComboBox* box, const std::vector<std::string>& items)
{
    if (itemsOf(box) == items)
        return;
    box->clear();
    for (const std::string& item : items)
        box->addItem(fromText(item));
    // Long titles are cut in the box itself, but the open list shows them whole.
    box->view()->setMinimumWidth(std::max(box->width(), box->view()->sizeHintForColumn(0) + 24));
}

void setEditText(QLineEdit* edit, const std::string& text)
{
    if (edit->text() == fromText(text))
        return;
    edit->setText(fromText(text));
    edit->setCursorPosition(0); // the beginning of a long host name, not its end
}

void showText(QComboBox* box, const std::string& text)
{
    if (box->isEditable()) {
        box->setEditText(fromText(text));
        return;
    }
    box->setCurrentIndex(box->findText(fromText(text), Qt::MatchExactly));
}

} // namespace

TfrmPref::TfrmPref(SettingsStore& settings, UserInterface& ui, TNMHTTP& http,
                   RadarChooserCommands* radarChooser, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      m_form(std::make_unique<Ui::TfrmPref>()), m_ui(ui), m_logic(settings, ui, http, radarChooser)
{
    m_form->setupUi(this);
    setObjectName(QStringLiteral("frmPref"));
    setModal(false);
    setFixedSize(516, 373);

    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Navy);
    palette.setColor(QPalette::WindowText, Qt::white);
    setPalette(palette);
    // The buttons, boxes and edits keep the desktop's own colours.
    for (QWidget* control : findChildren<QWidget*>()) {
        if (!qobject_cast<QLabel*>(control) && !qobject_cast<QGroupBox*>(control) &&
            !qobject_cast<QAbstractButton*>(control))
            control->setPalette(QApplication::palette());
    }
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setPalette(QApplication::palette());

    connect(m_form->radioYesupstat, &QRadioButton::clicked, this,
            [this] { step(&GeneralPreferences::radioYesupstatClick); });
    connect(m_form->radioNoupstat, &QRadioButton::clicked, this,
            [this] { step(&GeneralPreferences::radioNoupstatClick); });
    connect(m_form->CheckBox1, &QCheckBox::clicked, this,
            [this] { step(&GeneralPreferences::CheckBox1Click); });
    connect(m_form->ckMinimized, &QCheckBox::clicked, this,
            [this] { step(&GeneralPreferences::ckMinimizedClick); });
    connect(m_form->cboWallpaperStyles, &QComboBox::currentIndexChanged, this,
            [this] { step(&GeneralPreferences::cboWallpaperStylesChange); });
    // The radar chooser this may open shows its choice here itself, so nothing is put back.
    connect(m_form->cboAutoWallpaper, &QComboBox::activated, this, [this] {
        PreferenceControls c = controls();
        runGuarded(m_ui, [&] { m_logic.cboAutoWallpaperChange(c); });
    });
    connect(m_form->btnOkay, &QPushButton::clicked, this, &TfrmPref::btnOkayClick);
    connect(m_form->btnCancel, &QPushButton::clicked, this, &TfrmPref::btnCancelClick);
    connect(m_form->BitBtn1, &QPushButton::clicked, this, &TfrmPref::BitBtn1Click);

    apply(controls());
}

TfrmPref::~TfrmPref() = default;

void TfrmPref::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmPref::FormShow()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + area.width() / 2 - width() / 2,
             area.y() + area.height() / 2 - height() / 2);
    }
    step(&GeneralPreferences::Load);
}

void TfrmPref::btnOkayClick()
{
    PreferenceControls c = controls();
    const bool done = runGuarded(m_ui, [&] { m_logic.btnOkayClick(c); });
    apply(c);
    if (done)
        close();
}

void TfrmPref::btnCancelClick()
{
    close();
}

void TfrmPref::BitBtn1Click()
{
    runGuarded(m_ui, [this] { m_ui.openHelp("preferences"); });
}

void TfrmPref::showRadarWallpaper(const std::string& text)
{
    PreferenceControls c = controls();
    GeneralPreferences::ShowRadarWallpaper(c, text);
    apply(c);
}

void TfrmPref::step(void (GeneralPreferences::*handler)(PreferenceControls&))
{
    PreferenceControls c = controls();
    runGuarded(m_ui, [&] { (m_logic.*handler)(c); });
    apply(c);
}

PreferenceControls TfrmPref::controls() const
{
    const Ui::TfrmPref& f = *m_form;
    PreferenceControls c;
    c.autoUpdate = f.radioYesupstat->isChecked();
    c.autoUpdateListsEnabled = f.cboStartupLoc->isEnabled();
    c.startupLocations = itemsOf(f.cboStartupLoc);
    c.startupLocation = toText(f.cboStartupLoc->currentText());
    c.wallpaperImages = itemsOf(f.cboAutoWallpaper);
    c.wallpaperImage = toText(f.cboAutoWallpaper->currentText());
    c.wallpaperStyles = itemsOf(f.cboWallpaperStyles);
    c.wallpaperStyle = toText(f.cboWallpaperStyles->currentText());
    c.x = toText(f.txtXloc->text());
    c.y = toText(f.txtYloc->text());
    c.positionEnabled = f.txtXloc->isEnabled();
    c.proxyUse = f.CheckBox1->isChecked();
    c.proxyEditsEnabled = f.EditProxy->isEnabled();
    c.proxy = toText(f.EditProxy->text());
    c.proxyPort = toText(f.EditProxyPort->text());
    c.proxyUserid = toText(f.txtProxyUserid->text());
    c.proxyPass = toText(f.txtProxyPass->text());
    c.metric = f.radioMetric->isChecked();
    c.minimized = f.ckMinimized->isChecked();
    return c;
}

void TfrmPref::apply(const PreferenceControls& c)
{
    const Ui::TfrmPref& f = *m_form;
    // Showing the logic's result runs no handler again.
    const QSignalBlocker styles(f.cboWallpaperStyles);
    const QSignalBlocker images(f.cboAutoWallpaper);

    (c.autoUpdate ? f.radioYesupstat : f.radioNoupstat)->setChecked(true);
    setItems(f.cboStartupLoc, c.startupLocations);
    showText(f.cboStartupLoc, c.startupLocation);
    setItems(f.cboAutoWallpaper, c.wallpaperImages);
    showText(f.cboAutoWallpaper, c.wallpaperImage);
    setUsable(f.cboStartupLoc, c.autoUpdateListsEnabled);
    setUsable(f.cboAutoWallpaper, c.autoUpdateListsEnabled);

    setItems(f.cboWallpaperStyles, c.wallpaperStyles);
    showText(f.cboWallpaperStyles, c.wallpaperStyle);
    setEditText(f.txtXloc, c.x);
    setEditText(f.txtYloc, c.y);
    setUsable(f.txtXloc, c.positionEnabled);
    setUsable(f.txtYloc, c.positionEnabled);

    f.CheckBox1->setChecked(c.proxyUse);
    setEditText(f.EditProxy, c.proxy);
    setEditText(f.EditProxyPort, c.proxyPort);
    setEditText(f.txtProxyUserid, c.proxyUserid);
    setEditText(f.txtProxyPass, c.proxyPass);
    for (QWidget* edit :
         {static_cast<QWidget*>(f.EditProxy), static_cast<QWidget*>(f.EditProxyPort),
          static_cast<QWidget*>(f.txtProxyUserid), static_cast<QWidget*>(f.txtProxyPass)})
        setUsable(edit, c.proxyEditsEnabled);

    (c.metric ? f.radioMetric : f.radioEnglish)->setChecked(true);
    f.ckMinimized->setChecked(c.minimized);
}

} // namespace cirrolux
