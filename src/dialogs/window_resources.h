#pragma once

namespace orvane {

// Makes the program's pictures (":/pictures/...") available; safe to call more than once.
void loadWindowResources();

} // namespace orvane
