#pragma once

#include "commands/intermod_panel_model.h"

#include <QByteArray>

#include <string>
#include <vector>

namespace orvane {

// The values kept between runs, under the organisation "Velmora Software" and the executable's
// base name. The folder last used by a file chooser: group "INIT", key "LAST_PATH"; absent,
// defaultFolder (the user's home); a store that cannot be read gives an empty text.
std::string readLastPath(const std::string& defaultFolder);
// An empty path is written as an empty text.
void writeLastPath(const std::string& lastPath);

// The intermodulation panel's boxes as the user left them, kept in group "INTERMOD" of the
// same store. Absent values read as the defaults.
PanelSettings readPanelSettings();
void writePanelSettings(const PanelSettings& settings);
// The recent carrier files, newest first: group "RECENT", key "PLANS"; none when absent.
std::vector<std::string> readRecentPlans();
void writeRecentPlans(const std::vector<std::string>& paths);
// Where the main window's panels stand and whether they are shown (QMainWindow::saveState):
// group "WINDOW", key "STATE"; empty when absent.
QByteArray readWindowState();
void writeWindowState(const QByteArray& state);

} // namespace orvane
