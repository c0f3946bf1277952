#include "app/application.h"
#include "app/display_guard.h"
#include "app/main_window.h"
#include "commands/display_check.h"

#include <QApplication>
#include <QFileInfo>
#include <QStringList>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv, argv + argc);
    if (const std::optional<std::string> answer = orvane::commandLineAnswer(arguments)) {
        std::fputs(answer->c_str(), stdout);
        return 0;
    }
    // Qt aborts when its platform finds no display; say why and leave instead.
    const auto environment = [](const char* name) { return std::getenv(name); };
    if (!orvane::displayAvailable(environment, arguments)) {
        std::fprintf(stderr, "%s\n", orvane::noDisplayText);
        return 1;
    }
    orvane::DisplayConnectionGuard displayGuard;
    QApplication qtApplication(argc, argv);
    displayGuard.release();
    orvane::Application application(orvane::executableDirectory());
    orvane::MainWindow window(application.programDirectory());
    window.initialise();

    // A carrier file named on the command line is opened as Load Carriers would.
    const QStringList qtArguments = QApplication::arguments();
    if (qtArguments.size() > 1)
        window.openFileAtStart(QFileInfo(qtArguments.at(1)).absoluteFilePath().toStdString());

    // For start-up checks: leave through the normal shutdown path after a while.
    bool timed = false;
    const int exitAfterMs = qEnvironmentVariableIntValue("ORVANE_EXIT_AFTER_START_MS", &timed);
    if (timed)
        QTimer::singleShot(exitAfterMs, &window, &QWidget::close);

    return QApplication::exec();
}
