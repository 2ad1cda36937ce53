#pragma once

#include "conditions/ConditionsView.h"

#include <map>
#include <string>
#include <vector>

namespace cirrolux::test {

// Records everything shown on the main window's conditions surfaces, in order, so tests can check
// both the final state (reading(), trayTip(), windowTitle()) and the sequence of calls (log()).
class RecordingConditionsView final : public ConditionsView
{
public:
    // The component name of a reading's label, as the main window names it.
    static std::string labelName(Reading which) { return ReadingLabelName(which); }

    struct Shown
    {
        Reading which;
        std::string text;
        bool operator==(const Shown&) const = default;
    };

    void setStatusText(const std::string& text) override
    {
        m_statusTexts.push_back(text);
        m_log.push_back("status: " + text);
    }
    void setForecastStatusText(const std::string& text) override
    {
        m_forecastStatusTexts.push_back(text);
        m_log.push_back("forecast status: " + text);
    }
    void showReading(Reading which, const std::string& text) override
    {
        m_readings[which] = text;
        m_shown.push_back({which, text});
        m_log.push_back(labelName(which) + ": " + text);
    }
    std::string reading(Reading which) const override
    {
        const auto found = m_readings.find(which);
        return found == m_readings.end() ? std::string() : found->second;
    }
    void setTrayTip(const std::string& tip) override
    {
        m_trayTip = tip;
        m_trayTips.push_back(tip);
        m_log.push_back("tray tip: " + tip);
    }
    void setTrayPicture(int index) override
    {
        m_trayPicture = index;
        m_trayPictures.push_back(index);
        m_log.push_back("tray picture: " + std::to_string(index));
    }
    void setWindowTitle(const std::string& title) override
    {
        m_windowTitle = title;
        m_windowTitles.push_back(title);
        m_log.push_back("window title: " + title);
    }
    std::string windowTitle() const override { return m_windowTitle; }

    // Every call, in order, one line each ("status: ...", "lblTemp2: ...", "tray tip: ...").
    const std::vector<std::string>& log() const { return m_log; }
    const std::vector<std::string>& statusTexts() const { return m_statusTexts; }
    std::string statusText() const
    {
        return m_statusTexts.empty() ? std::string() : m_statusTexts.back();
    }
    const std::vector<std::string>& forecastStatusTexts() const { return m_forecastStatusTexts; }
    // Every reading shown, in order.
    const std::vector<Shown>& shown() const { return m_shown; }
    // What the tray icon shows now: its tip, and its picture (-1 before any was set).
    const std::string& trayTip() const { return m_trayTip; }
    int trayPicture() const { return m_trayPicture; }
    const std::vector<std::string>& trayTips() const { return m_trayTips; }
    const std::vector<int>& trayPictures() const { return m_trayPictures; }
    const std::vector<std::string>& windowTitles() const { return m_windowTitles; }

    // Forgets the calls but keeps what the surfaces show, like a window that stays open.
    void clearLog()
    {
        m_log.clear();
        m_statusTexts.clear();
        m_forecastStatusTexts.clear();
        m_shown.clear();
        m_trayTips.clear();
        m_trayPictures.clear();
        m_windowTitles.clear();
    }

private:
    std::map<Reading, std::string> m_readings;
    std::vector<std::string> m_log;
    std::vector<std::string> m_statusTexts;
    std::vector<std::string> m_forecastStatusTexts;
    std::vector<Shown> m_shown;
    std::vector<std::string> m_trayTips;
    std::vector<int> m_trayPictures;
    std::vector<std::string> m_windowTitles;
    std::string m_trayTip;
    int m_trayPicture = -1;
    std::string m_windowTitle;
};

} // namespace cirrolux::test
