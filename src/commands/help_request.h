#pragma once

#include <functional>

namespace orvane {

// Help keys: what F1 asks for in each window, page, dialog and question.
namespace helpKey {
constexpr unsigned mainWindow = 102;
constexpr unsigned titleAndFrequencies = 132;
constexpr unsigned colours = 136;
constexpr unsigned fonts = 137;
constexpr unsigned fixedCarrier = 138;
constexpr unsigned fecCarrier = 139;
constexpr unsigned frequencyEntry = 140;
constexpr unsigned carrierSelection = 141;
constexpr unsigned spectralCarrier = 142;
constexpr unsigned adjustView = 143;
constexpr unsigned intermodAnalysis = 144;
constexpr unsigned arrangeCarriers = 145;
constexpr unsigned modcodSelection = 32784;
constexpr unsigned licence = 32792;
constexpr unsigned helpMenu = 32795;
} // namespace helpKey

// The dialogs ask for help through this one entry; the application installs the handler that
// shows the help window.
void setHelpHandler(std::function<void(unsigned)> handler);
void requestHelp(unsigned key);

} // namespace orvane
