#include "locations/TfrmLocation.h"

#include "locations/LocationTreeModel.h"
#include "net/ServiceAddresses.h"
#include "platform/CommandGuard.h"
#include "platform/UserInterface.h"
#include "ui_TfrmLocation.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QShowEvent>
#include <QStandardItemModel>

namespace cirrolux {

namespace {

const QColor Teal(0, 128, 128);

void colourText(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

} // namespace

TfrmLocation::TfrmLocation(SharedState& state, UserInterface& ui, TNMHTTP& http,
                           ChooseLocation::Hooks hooks, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_form(std::make_unique<Ui::TfrmLocation>()), m_ui(ui)
{
    m_form->setupUi(this);
    setObjectName(QStringLiteral("frmLocation"));
    setModal(false);
    setFixedSize(426, 320);

    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::black);
    palette.setColor(QPalette::WindowText, Qt::white);
    setPalette(palette);
    for (QWidget* hint :
         {static_cast<QWidget*>(m_form->Label1), static_cast<QWidget*>(m_form->Label2),
          static_cast<QWidget*>(m_form->Label3)})
        colourText(hint, Teal);
    m_form->Label3->setText(
        QStringLiteral("If I don't have your Country or State, please contact me at ") +
        QString::fromLatin1(ServiceAddresses::SupportMail.data(),
                            qsizetype(ServiceAddresses::SupportMail.size())) +
        QLatin1Char('.'));

    // The tree stays still while its 2,272 nodes load; the opener lifts the lock.
    m_form->TreeView1->setUpdatesEnabled(false);
    m_model = BuildLocationTreeModel();
    m_form->TreeView1->setModel(m_model.get());

    hooks.hideDialog = [this] { hide(); };
    hooks.showDialog = [this] {
        show();
        raise();
    };
    hooks.closeDialog = [this] { close(); };
    m_logic = std::make_unique<ChooseLocation>(state, ui, http, std::move(hooks));

    connect(m_form->btnOkay, &QPushButton::clicked, this, &TfrmLocation::btnOkayClick);
    connect(m_form->btnCancel, &QPushButton::clicked, this, &TfrmLocation::btnCancelClick);
}

TfrmLocation::~TfrmLocation()
{
    m_form->TreeView1->setModel(nullptr);
}

void TfrmLocation::releaseTreeLock()
{
    m_form->TreeView1->setUpdatesEnabled(true);
}

void TfrmLocation::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmLocation::FormShow()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + area.width() / 2 - width() / 2,
             area.y() + area.height() / 2 - height() / 2);
    }
    m_form->TreeView1->setVisible(true);
    m_logic->FormShow();
    m_form->txtzipcode->clear();
    m_form->TreeView1->expand(m_model->index(0, 0));
    m_form->txtzipcode->setFocus();
}

std::vector<std::string> TfrmLocation::selectedPath() const
{
    std::vector<std::string> path;
    const QModelIndexList selected = m_form->TreeView1->selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return path;
    for (QModelIndex node = selected.front(); node.isValid(); node = node.parent())
        path.insert(path.begin(), node.data().toString().toLatin1().toStdString());
    return path;
}

bool TfrmLocation::selectPath(const std::vector<std::string>& path)
{
    QModelIndex node;
    for (const std::string& text : path) {
        const QString wanted = QString::fromLatin1(text);
        QModelIndex found;
        for (int row = 0; row < m_model->rowCount(node) && !found.isValid(); ++row) {
            const QModelIndex child = m_model->index(row, 0, node);
            if (child.data().toString() == wanted)
                found = child;
        }
        if (!found.isValid())
            return false;
        node = found;
    }
    if (!node.isValid())
        return false;
    m_form->TreeView1->scrollTo(node);
    m_form->TreeView1->selectionModel()->setCurrentIndex(node, QItemSelectionModel::ClearAndSelect);
    return true;
}

void TfrmLocation::btnOkayClick()
{
    runGuarded(m_ui, [this] {
        const std::vector<std::string> path = selectedPath();
        // Working out the path walks up the tree and leaves nothing selected.
        m_form->TreeView1->selectionModel()->clearSelection();
        m_form->TreeView1->selectionModel()->setCurrentIndex(QModelIndex(),
                                                             QItemSelectionModel::NoUpdate);
        m_lastOutcome =
            m_logic->btnOkayClick(path, m_form->txtzipcode->text().toLatin1().toStdString());
    });
}

void TfrmLocation::btnCancelClick()
{
    close();
}

void TfrmLocation::FormHelp()
{
    runGuarded(m_ui, [this] { m_ui.openHelp("choose-location"); });
}

void TfrmLocation::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1) {
        FormHelp();
        return;
    }
    // Only "&Cancel" and the title bar close the dialog; Escape is no way out of it.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace cirrolux
