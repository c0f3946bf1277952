#pragma once

#include <QtGlobal>

#include <string>
#include <vector>

namespace orvane {

// Qt aborts when its platform cannot reach the display it names. While the application object
// connects, this holds Qt's messages back: should Qt give up, the program prints the one line of
// unreachableDisplayText and ends with status 1; once connected (release), the held messages
// are printed as Qt would have printed them. One guard at a time.
class DisplayConnectionGuard {
public:
    DisplayConnectionGuard();
    ~DisplayConnectionGuard();
    DisplayConnectionGuard(const DisplayConnectionGuard&) = delete;
    DisplayConnectionGuard& operator=(const DisplayConnectionGuard&) = delete;

    void release();

private:
    QtMessageHandler previous_;
    bool released_ = false;
};

} // namespace orvane
