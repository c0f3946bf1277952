#include "app/application.h"
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
    // Qt aborts when its platform finds no display; say why and leave instead.
    if (!orvane::displayAvailable([](const char* name) { return std::getenv(name); },
                                  std::vector<std::string>(argv, argv + argc))) {
        std::fprintf(stderr, "%s\n", orvane::noDisplayText);
        return 1;
    }
    QApplication qtApplication(argc, argv);
    orvane::Application application(orvane::executableDirectory());
    orvane::MainWindow window(application.programDirectory());
    window.initialise();

    // A carrier file named on the command line is opened as Load Carriers would.
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1)
        window.openFileAtStart(QFileInfo(arguments.at(1)).absoluteFilePath().toStdString());

    // For start-up checks: leave through the normal shutdown path after a while.
    bool timed = false;
    const int exitAfterMs = qEnvironmentVariableIntValue("ORVANE_EXIT_AFTER_START_MS", &timed);
    if (timed)
        QTimer::singleShot(exitAfterMs, &window, &QWidget::close);

    return QApplication::exec();
}
