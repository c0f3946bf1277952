#include "app/application.h"

#include "app/help_paths.h"
#include "app/help_window.h"
#include "dialogs/help_request.h"
#include "report/path_names.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QResource>
#include <QString>
#include <QUrl>

#include <utility>

namespace orvane {

namespace {
constexpr const char* helpRoot = "/orvane-help";
}

std::string executableDirectory()
{
    return directoryOf(QCoreApplication::applicationFilePath().toStdString());
}

Application::Application(std::string programDirectory)
    : programDirectory_(std::move(programDirectory))
{
    setHelpHandler([this](unsigned key) { showHelp(key); });
}

Application::~Application()
{
    setHelpHandler({});
    if (!registeredBundle_.empty())
        QResource::unregisterResource(QString::fromStdString(registeredBundle_),
                                      QString::fromLatin1(helpRoot));
}

void Application::showHelp(std::uint32_t context)
{
    const HelpLocation location = splitHelpPath(helpPathFor(programDirectory_, context));
    if (registeredBundle_ != location.bundlePath) {
        if (!registeredBundle_.empty())
            QResource::unregisterResource(QString::fromStdString(registeredBundle_),
                                          QString::fromLatin1(helpRoot));
        registeredBundle_.clear();
        if (!QResource::registerResource(QString::fromStdString(location.bundlePath),
                                         QString::fromLatin1(helpRoot))) {
            QMessageBox::warning(nullptr, QStringLiteral("Orvane Help"),
                                 QStringLiteral("The help file %1 could not be opened.")
                                     .arg(QString::fromStdString(location.bundlePath)));
            return;
        }
        registeredBundle_ = location.bundlePath;
    }
    const std::string page = location.page.empty() ? "index.htm" : location.page;
    if (!helpWindow_)
        helpWindow_ = std::make_unique<HelpWindow>();
    helpWindow_->showPage(
        QUrl(QStringLiteral("qrc:%1/%2")
                 .arg(QString::fromLatin1(helpRoot), QString::fromStdString(page))),
        QString::fromStdString(helpWindowTitle(location.windowType)));
}

} // namespace orvane
