#include "app/display_guard.h"

#include "commands/display_check.h"

#include <QMessageLogContext>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace orvane {

namespace {

struct HeldMessage {
    QtMsgType type;
    std::string category;
    QString text;
};

std::vector<HeldMessage>& heldMessages()
{
    static std::vector<HeldMessage> held;
    return held;
}

void holdMessage(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtFatalMsg) {
        const std::string line =
            unreachableDisplayText([](const char* name) { return std::getenv(name); });
        std::fprintf(stderr, "%s\n", line.c_str());
        std::fflush(stderr);
        std::_Exit(1);
    }
    heldMessages().push_back({type, context.category ? context.category : "", text});
}

} // namespace

DisplayConnectionGuard::DisplayConnectionGuard() : previous_(qInstallMessageHandler(holdMessage))
{
}

DisplayConnectionGuard::~DisplayConnectionGuard()
{
    release();
}

void DisplayConnectionGuard::release()
{
    if (std::exchange(released_, true))
        return;
    qInstallMessageHandler(previous_);
    for (const HeldMessage& message : heldMessages()) {
        const QMessageLogContext context(nullptr, 0, nullptr, message.category.c_str());
        qt_message_output(message.type, context, message.text);
    }
    heldMessages().clear();
}

} // namespace orvane
