#pragma once

#include <QString>

#include <string>

namespace orvane {

// A stored label (line breaks kept as TABs) as the label box shows it, and back.
QString labelTextForBox(const std::string& label);
std::string labelFromBox(const QString& text);

// The general format with up to 15 significant digits (1000, 740.741, 1.08510638297872).
QString numberText(double value);

} // namespace orvane
