#include "images/TSelectState_dlg.h"

#include "images/RadarChooser.h"
#include "platform/CommandGuard.h"
#include "ui_TSelectState_dlg.h"

#include <QGuiApplication>
#include <QScreen>

namespace cirrolux {

TSelectState_dlg::TSelectState_dlg(RadarChooser& chooser, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      m_ui(std::make_unique<Ui::TSelectState_dlg>()), m_chooser(chooser)
{
    m_ui->setupUi(this);
    setFixedSize(313, 172);
    setModal(false);
    connect(m_ui->OKBtn, &QPushButton::clicked, this, &TSelectState_dlg::OKBtnClick);
    connect(m_ui->CancelBtn, &QPushButton::clicked, this, &TSelectState_dlg::CancelBtnClick);
    // Escape and the title bar's close button cancel too.
    connect(this, &QDialog::rejected, this, [this] { m_chooser.CancelBtnClick(); });
}

TSelectState_dlg::~TSelectState_dlg() = default;

QComboBox& TSelectState_dlg::cboState() const
{
    return *m_ui->cboState;
}

QComboBox& TSelectState_dlg::cboRegion() const
{
    return *m_ui->cboRegion;
}

void TSelectState_dlg::open(bool preferencesMode)
{
    // The radar menu only shows the chooser: one open for the preferences keeps serving them.
    if (preferencesMode)
        m_chooser.setPreferencesMode(true);
    // The lists are built here, by the command, not at every show event: the window manager
    // maps the dialog again (after an iconify, a desktop switch), and that must keep a choice.
    FormShow();
    show();
    raise();
    activateWindow();
}

void TSelectState_dlg::FormShow()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.width() / 2 - width() / 2, area.height() / 2 - height() / 2);
    }
    const auto fill = [](QComboBox& list, auto entries) {
        list.clear();
        for (const std::string_view entry : entries)
            list.addItem(QString::fromLatin1(entry.data(), qsizetype(entry.size())));
        list.setCurrentIndex(-1);
    };
    fill(*m_ui->cboState, RadarChooser::stateEntries());
    fill(*m_ui->cboRegion, RadarChooser::regionEntries());
}

void TSelectState_dlg::OKBtnClick()
{
    const std::string state = m_ui->cboState->currentText().toLatin1().toStdString();
    const std::string region = m_ui->cboRegion->currentText().toLatin1().toStdString();
    // A download error ends the command in the error box; the dialog is already hidden then.
    runGuarded(m_chooser.ui(), [&] { m_chooser.OKBtnClick(state, region, [this] { hide(); }); });
}

void TSelectState_dlg::CancelBtnClick()
{
    m_chooser.CancelBtnClick();
    hide();
}

} // namespace cirrolux
