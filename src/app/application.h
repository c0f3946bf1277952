#pragma once

#include <QPointer>

#include <cstdint>
#include <string>

namespace orvane {

class HelpWindow;

// The process-wide part of the program: where it lives and how help requests are answered.
class Application {
public:
    // Installs the help handler that every window's F1 reaches.
    explicit Application(std::string programDirectory);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    const std::string& programDirectory() const { return programDirectory_; }

    // Shows the help page for a context (only its low 16 bits count) in the help window.
    void showHelp(std::uint32_t context);
    // The help window, once a page was asked for.
    HelpWindow* helpWindow() const;

private:
    std::string programDirectory_;
    std::string registeredBundle_;
    QPointer<HelpWindow> helpWindow_;
};

// The folder of the running executable.
std::string executableDirectory();

} // namespace orvane
