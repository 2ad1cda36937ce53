#include "shell/UpdateCheck.h"

#include "net/ServiceAddresses.h"
#include "net/TNMHTTP.h"
#include "platform/SharedState.h"
#include "platform/UserInterface.h"

namespace cirrolux {

std::string NoVersionFileMessage(const std::string& current)
{
    return "No version file is published, so the latest version of Cirrolux cannot be checked "
           "here. You are using version " +
           current +
           ". Updates come with the cirrolux package through your system's package "
           "manager.";
}

std::string UpdateCheckMessage(std::string_view versionFile, const std::string& current, int status)
{
    constexpr std::string_view Marker = "Version#";
    const std::size_t at = versionFile.find(Marker);
    if (at == std::string_view::npos) {
        if (status == 404 || status == 410)
            return NoVersionFileMessage(current);
        return "Error retrieving version #.  Please try again later.";
    }
    const std::string latest(versionFile.substr(at + Marker.size(), 8));
    // Text order, byte by byte, as the two are written.
    if (latest > current)
        return "You are using an older version (" + current + "). The " + "latest version is " +
               latest + ".";
    return "Your version is the most current (" + current + "). The " + "latest version is " +
           latest + ".";
}

void UpdateCheck::run(const std::string& current)
{
    http.TimeOut = 60000;
    http.InputFileMode = false;
    http.OutputFileMode = false;
    http.ReportLevel = 2;
    http.HeaderInfo.Referer = "Cirrolux by Tallowmere";
    http.Get(std::string(ServiceAddresses::MakerSite) +
             std::string(ServiceAddresses::VersionFilePath));
    const std::string text = http.Body;
    ui.showMessage(UpdateCheckMessage(text, current, http.ReplyStatus()));
    if (setStatus)
        setStatus("Thank you for using Cirrolux...");
    if (repaint)
        repaint();
    state.requestSucceeded.clear();
}

} // namespace cirrolux
