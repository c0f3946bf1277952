#include "app/application.h"

#include "app/help_window.h"
#include "commands/help_paths.h"
#include "commands/help_request.h"
#include "report/path_names.h"

#include <QApplication>
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
    delete helpWindow_.data();
    if (!registeredBundle_.empty())
        QResource::unregisterResource(QString::fromStdString(registeredBundle_),
                                      QString::fromLatin1(helpRoot));
}

HelpWindow* Application::helpWindow() const
{
    return helpWindow_.data();
}

void Application::showHelp(std::uint32_t context)
{
    const HelpLocation location = helpLocationFor(programDirectory_, context);
    if (registeredBundle_ != location.bundlePath) {
        if (!registeredBundle_.empty())
            QResource::unregisterResource(QString::fromStdString(registeredBundle_),
                                          QString::fromLatin1(helpRoot));
        registeredBundle_.clear();
        if (!QResource::registerResource(QString::fromStdString(location.bundlePath),
                                         QString::fromLatin1(helpRoot))) {
            QMessageBox::warning(QApplication::activeWindow(), QStringLiteral("Orvane Help"),
                                 QStringLiteral("The help file %1 could not be opened.")
                                     .arg(QString::fromStdString(location.bundlePath)));
            return;
        }
        registeredBundle_ = location.bundlePath;
    }
    const std::string page = location.page.empty() ? "index.htm" : location.page;
    // A modal dialog blocks every window but its own: help asked for from a dialog belongs to
    // that dialog, so that it can be read and scrolled while the dialog is open.
    QWidget* owner = QApplication::activeModalWidget();
    if (!helpWindow_)
        helpWindow_ = new HelpWindow(owner);
    else if (helpWindow_->parentWidget() != owner)
        helpWindow_->setParent(owner, helpWindow_->windowFlags());
    helpWindow_->showPage(
        QUrl(QStringLiteral("qrc:%1/%2")
                 .arg(QString::fromLatin1(helpRoot), QString::fromStdString(page))),
        QString::fromStdString(helpWindowTitle(location.windowType)));
}

} // namespace orvane
