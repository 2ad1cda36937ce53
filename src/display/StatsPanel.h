#pragma once

#include <QColor>
#include <QWidget>

#include <string>
#include <vector>

class QLabel;

namespace cirrolux {

// The main window's client area: the title line, caption and value labels, credit line, the
// hidden background and moon pictures and the "&Minimize" button, laid out at fixed positions.
class StatsPanel : public QWidget
{
    Q_OBJECT

public:
    explicit StatsPanel(QWidget* parent = nullptr);

    // The label with that objectName (lblTemp2, lblSky1, ...), or null.
    QLabel* labelNamed(const QString& objectName) const;
    QWidget* minimizeButton() const { return m_minimize; }

    const std::vector<QLabel*>& captionLabels() const { return m_captions; }
    const std::vector<QLabel*>& valueLabels() const { return m_values; }
    // The value labels and the credit line.
    const std::vector<QLabel*>& transparencyGroup() const { return m_transparencyGroup; }

    void setCaptionBackground(const QColor& color);
    void setCaptionFontColor(const QColor& color);
    void setValueFontColor(const QColor& color);
    void setValuesTransparent(bool transparent);
    bool valuesTransparent() const { return m_transparent; }

    // Background pictures by their stored name ("mahogany1", "forest1", "water1", "sky1",
    // "globe1"); an empty name gives the plain black background. The picture is sized to the
    // window's outer size at this moment minus 5 pixels and keeps that size afterwards.
    void showBackground(const std::string& storedName, const QSize& windowSize);
    // objectName of the visible background picture, empty for the plain background.
    QString visibleBackground() const;

    // Moon pictures by control name (GIFImagenew, GIFImageFull, GIFImage10x, GIFImagel10x, ...).
    bool hasMoonPicture(const QString& controlName) const;
    void showMoonPicture(const QString& controlName);
    QString visibleMoonPicture() const;

protected:
    // A value label too narrow for its text shows the whole text as its tooltip.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* addLabel(const char* name, QRect geometry, const char* text, int pixelSize);
    void createBackgrounds();
    void createMoonPictures();

    std::vector<QLabel*> m_captions;
    std::vector<QLabel*> m_values;
    std::vector<QLabel*> m_transparencyGroup;
    std::vector<QLabel*> m_backgrounds;
    std::vector<QLabel*> m_moons;
    QWidget* m_minimize = nullptr;
    bool m_transparent = false;
};

} // namespace cirrolux
