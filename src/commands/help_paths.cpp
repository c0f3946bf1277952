#include "commands/help_paths.h"

#include "commands/help_request.h"

#include <array>
#include <utility>

namespace orvane {

namespace {

constexpr std::array<std::pair<unsigned, const char*>, 14> helpTopics{{
    {helpKey::mainWindow, "Orvane-Window.htm"},
    {helpKey::titleAndFrequencies, "Orvane-FreqView.htm"},
    {helpKey::colours, "Orvane-Colours.htm"},
    {helpKey::fonts, "Orvane-Fonts.htm"},
    {helpKey::fixedCarrier, "Orvane-AddFixed.htm"},
    {helpKey::fecCarrier, "Orvane-AddFEC.htm"},
    {helpKey::frequencyEntry, "Orvane-Single.htm"},
    {helpKey::carrierSelection, "Orvane-Select.htm"},
    {helpKey::spectralCarrier, "Orvane-SpecEff.htm"},
    {helpKey::adjustView, "Orvane-Adjust.htm"},
    {helpKey::intermodAnalysis, "Orvane-Intermod.htm"},
    {helpKey::arrangeCarriers, "Orvane-Arrange.htm"},
    {helpKey::modcodSelection, "Orvane-AddModcod.htm"},
    {helpKey::licence, "Orvane-Licence.htm"},
}};

constexpr const char* bundleName = "/Orvane.chm";

} // namespace

std::string helpTopicFor(unsigned key)
{
    for (const auto& [topicKey, topic] : helpTopics) {
        if (topicKey == key)
            return topic;
    }
    return {};
}

HelpLocation helpLocationFor(const std::string& programDirectory, std::uint32_t context)
{
    const unsigned key = context & 0xFFFFu;
    return {programDirectory + bundleName, helpTopicFor(key), "main"};
}

std::string helpWindowTitle(const std::string& windowType)
{
    if (windowType.empty() || windowType == "main")
        return "Orvane Help";
    return "Orvane Help - " + windowType;
}

} // namespace orvane
