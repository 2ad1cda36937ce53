#pragma once

#include "conditions/ConditionsView.h"

#include <map>
#include <string>
#include <vector>

namespace cirrolux::test {

// Keeps what the parser shows, for comparing with what the page was meant to say.
class RecordingView final : public ConditionsView
{
public:
    void setStatusText(const std::string& text) override { statusTexts.push_back(text); }
    void setForecastStatusText(const std::string& text) override { statusTexts.push_back(text); }
    void showReading(Reading which, const std::string& text) override { readings[which] = text; }
    std::string reading(Reading which) const override
    {
        const auto found = readings.find(which);
        return found == readings.end() ? std::string() : found->second;
    }
    void setTrayTip(const std::string& tip) override { trayTip = tip; }
    void setTrayPicture(int index) override { trayPicture = index; }
    void setWindowTitle(const std::string& title) override { windowTitleText = title; }
    std::string windowTitle() const override { return windowTitleText; }

    std::vector<std::string> statusTexts;
    std::map<Reading, std::string> readings;
    std::string trayTip;
    int trayPicture = -1;
    std::string windowTitleText;
};

} // namespace cirrolux::test
