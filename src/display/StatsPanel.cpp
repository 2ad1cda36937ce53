#include "display/StatsPanel.h"

#include "display/MoonPictures.h"
#include "resources/BuiltinPictures.h"
#include "settings/ColorText.h"

#include <QHelpEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QToolTip>

#include <array>

namespace cirrolux {

namespace {

const QColor Teal(0x00, 0x80, 0x80);
const QColor Lime(0x00, 0xFF, 0x00);
const QColor Green(0x00, 0x80, 0x00);
const QColor Yellow(0xFF, 0xFF, 0x00);

enum class Role { Title, Caption, CaptionWindowText, Value, Credit };

struct LabelDesign
{
    const char* name;
    QRect geometry;
    const char* text;
    int pixelSize;
    Role role;
    bool centred;
};

const std::array<LabelDesign, 26> Labels{{
    {"lblConditions", {0, 0, 321, 18}, "", 13, Role::Title, true},
    {"lblSky1", {8, 32, 97, 17}, "Sky Conditions:", 13, Role::Caption, false},
    {"lblsky2", {112, 32, 185, 17}, "", 13, Role::Value, false},
    {"lblTemperature", {8, 52, 97, 17}, "Temperature:", 13, Role::Caption, false},
    {"lblTemp2", {112, 52, 185, 17}, "", 13, Role::Value, false},
    {"lblHumidity", {8, 72, 65, 17}, "Humidity:", 13, Role::Caption, false},
    {"lblHumid2", {80, 72, 137, 17}, "", 12, Role::Value, false},
    {"lblPressure", {8, 92, 65, 17}, "Pressure:", 13, Role::Caption, false},
    {"lblPress2", {80, 92, 137, 17}, "", 12, Role::Value, false},
    {"lblWind", {8, 112, 65, 17}, "Wind:", 13, Role::Caption, false},
    {"lblWind2", {80, 112, 137, 17}, "", 12, Role::Value, false},
    {"lblVisible", {8, 132, 65, 17}, "Visibility:", 13, Role::Caption, false},
    {"lblVisible2", {80, 132, 137, 17}, "", 12, Role::Value, false},
    {"lblSunrise", {8, 160, 65, 17}, "Sunrise:", 13, Role::Caption, false},
    {"lblSunrise2", {80, 160, 97, 17}, "", 12, Role::Value, false},
    {"lblSunset", {8, 180, 65, 17}, "Sunset:", 13, Role::Caption, false},
    {"lblSunset2", {80, 180, 97, 17}, "", 12, Role::Value, false},
    {"lblMoonrise", {8, 200, 65, 17}, "Moonrise:", 13, Role::Caption, false},
    {"lblMoonRise2", {80, 200, 97, 17}, "", 12, Role::Value, false},
    {"lblMoonset", {8, 220, 65, 17}, "Moonset:", 13, Role::Caption, false},
    {"lblMoonSet2", {80, 220, 97, 17}, "", 12, Role::Value, false},
    {"lblWindChill1", {224, 72, 81, 17}, "Wind Chill:", 13, Role::CaptionWindowText, true},
    {"lblWindChill2", {224, 92, 81, 17}, "n/a", 13, Role::Value, true},
    {"lblHeatIndex1", {224, 112, 81, 17}, "Heat Index:", 13, Role::CaptionWindowText, true},
    {"lblHeatIndex2", {224, 132, 81, 17}, "n/a", 13, Role::Value, true},
    {"lblMoonPhase", {224, 152, 81, 17}, "Moon Phase:", 13, Role::CaptionWindowText, true},
}};

struct BackgroundDesign
{
    const char* storedName;
    const char* control;
    bool stretched;
};

const std::array<BackgroundDesign, 5> Backgrounds{{
    {"mahogany1", "GIFbkmahogany1", false},
    {"forest1", "GIFbkforest1", false},
    {"water1", "GIFbkwater1", false},
    {"sky1", "GIFbkSky1", false},
    {"globe1", "GIFbkglobe1", true},
}};

void setColor(QLabel* label, QPalette::ColorRole role, const QColor& color)
{
    QPalette palette = label->palette();
    palette.setColor(role, color);
    label->setPalette(palette);
}

QFont panelFont(int pixelSize, bool bold)
{
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Arial"), QStringLiteral("DejaVu Sans"),
                      QStringLiteral("Sans Serif")});
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

} // namespace

StatsPanel::StatsPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("StatsPanel"));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::black);
    setPalette(palette);

    createBackgrounds();

    for (const LabelDesign& design : Labels) {
        QLabel* label = addLabel(design.name, design.geometry, design.text, design.pixelSize);
        label->setAlignment(design.centred ? Qt::AlignHCenter | Qt::AlignVCenter
                                           : Qt::AlignLeft | Qt::AlignVCenter);
        switch (design.role) {
        case Role::Title:
            label->setFont(panelFont(design.pixelSize, true));
            setColor(label, QPalette::Window, Teal);
            setColor(label, QPalette::WindowText, Yellow);
            break;
        case Role::Caption:
        case Role::CaptionWindowText:
            setColor(label, QPalette::Window, Teal);
            setColor(label, QPalette::WindowText,
                     design.role == Role::Caption ? QColor(Qt::black)
                                                  : ToQColor(SystemColorBase + 8));
            m_captions.push_back(label);
            break;
        case Role::Value:
            setColor(label, QPalette::Window, Qt::black);
            setColor(label, QPalette::WindowText, Lime);
            m_values.push_back(label);
            m_transparencyGroup.push_back(label);
            label->installEventFilter(this);
            break;
        case Role::Credit:
            break;
        }
    }

    QLabel* credit =
        addLabel("Label1", {11, 268, 294, 13}, "Conditions provided by Weather Underground.", 7);
    setColor(credit, QPalette::Window, Qt::black);
    setColor(credit, QPalette::WindowText, Green);
    m_transparencyGroup.push_back(credit);

    auto* minimize = new QPushButton(QStringLiteral("&Minimize"), this);
    minimize->setObjectName(QStringLiteral("btnMinimize"));
    minimize->setGeometry(232, 245, 73, 23);
    minimize->setCursor(Qt::PointingHandCursor);
    minimize->setToolTip(QStringLiteral("Pressing the Enter key also works..."));
    minimize->setDefault(true);
    minimize->setAutoDefault(true);
    m_minimize = minimize;

    createMoonPictures();
    setValuesTransparent(false);
}

QLabel* StatsPanel::addLabel(const char* name, QRect geometry, const char* text, int pixelSize)
{
    auto* label = new QLabel(QString::fromLatin1(text), this);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    label->setFont(panelFont(pixelSize, false));
    label->setAutoFillBackground(true);
    label->setTextFormat(Qt::PlainText);
    return label;
}

void StatsPanel::createBackgrounds()
{
    // The default picture is unloaded at creation and never shown.
    auto* defaultPicture = new QLabel(this);
    defaultPicture->setObjectName(QStringLiteral("GIFbkgd1"));
    defaultPicture->setGeometry(400, 0, 1, 1);
    defaultPicture->hide();

    for (const BackgroundDesign& design : Backgrounds) {
        auto* picture = new QLabel(this);
        picture->setObjectName(QString::fromLatin1(design.control));
        picture->setGeometry(0, 0, 1, 1);
        picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        picture->hide();
        m_backgrounds.push_back(picture);
    }
}

void StatsPanel::createMoonPictures()
{
    for (const MoonPictures::Picture& moon : MoonPictures::All) {
        const QString name = QString::fromLatin1(moon.control);
        auto* picture = new QLabel(this);
        picture->setObjectName(name);
        picture->setGeometry(0, 0, 25, 17);
        picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        picture->hide();
        m_moons.push_back(picture);
    }
}

bool StatsPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::eventFilter(watched, event);
    auto* label = qobject_cast<QLabel*>(watched);
    if (label == nullptr)
        return QWidget::eventFilter(watched, event);
    const QString text = label->text();
    if (label->fontMetrics().horizontalAdvance(text) > label->contentsRect().width())
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text, label);
    else
        QToolTip::hideText();
    return true;
}

QLabel* StatsPanel::labelNamed(const QString& objectName) const
{
    return findChild<QLabel*>(objectName, Qt::FindDirectChildrenOnly);
}

void StatsPanel::setCaptionBackground(const QColor& color)
{
    for (QLabel* label : m_captions)
        setColor(label, QPalette::Window, color);
}

void StatsPanel::setCaptionFontColor(const QColor& color)
{
    for (QLabel* label : m_captions)
        setColor(label, QPalette::WindowText, color);
}

void StatsPanel::setValueFontColor(const QColor& color)
{
    for (QLabel* label : m_values)
        setColor(label, QPalette::WindowText, color);
}

void StatsPanel::setValuesTransparent(bool transparent)
{
    m_transparent = transparent;
    for (QLabel* label : m_transparencyGroup)
        label->setAutoFillBackground(!transparent);
    update();
}

void StatsPanel::showBackground(const std::string& storedName, const QSize& windowSize)
{
    for (QLabel* picture : m_backgrounds) {
        picture->setGeometry(picture->x(), picture->y(), 1, 1);
        picture->hide();
    }
    for (std::size_t i = 0; i < Backgrounds.size(); ++i) {
        if (storedName != Backgrounds[i].storedName)
            continue;
        QLabel* picture = m_backgrounds[i];
        const QSize size(windowSize.width() - 5, windowSize.height() - 5);
        const QImage tile = BuiltinPicture(Backgrounds[i].control);
        QPixmap filled(size);
        filled.fill(Qt::black);
        {
            QPainter painter(&filled);
            if (Backgrounds[i].stretched)
                painter.drawImage(QRect(QPoint(0, 0), size), tile);
            else if (!tile.isNull())
                painter.drawTiledPixmap(QRect(QPoint(0, 0), size), QPixmap::fromImage(tile));
        }
        picture->setPixmap(filled);
        picture->setGeometry(0, 0, size.width(), size.height());
        picture->lower();
        picture->show();
    }
    update();
}

QString StatsPanel::visibleBackground() const
{
    for (QLabel* picture : m_backgrounds) {
        if (!picture->isHidden())
            return picture->objectName();
    }
    return {};
}

bool StatsPanel::hasMoonPicture(const QString& controlName) const
{
    for (QLabel* picture : m_moons) {
        if (picture->objectName() == controlName)
            return true;
    }
    return false;
}

void StatsPanel::showMoonPicture(const QString& controlName)
{
    for (QLabel* picture : m_moons)
        picture->hide();
    for (QLabel* picture : m_moons) {
        if (picture->objectName() != controlName)
            continue;
        // Pictures are decoded when first needed: most runs show only one or two of the 20.
        if (picture->pixmap().isNull())
            picture->setPixmap(QPixmap::fromImage(BuiltinPicture(controlName.toStdString())));
        picture->setGeometry(237, 177, 81, 65);
        picture->show();
    }
}

QString StatsPanel::visibleMoonPicture() const
{
    for (QLabel* picture : m_moons) {
        if (!picture->isHidden())
            return picture->objectName();
    }
    return {};
}

} // namespace cirrolux
