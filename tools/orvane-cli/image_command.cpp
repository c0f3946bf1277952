#include "commands.h"

#include "display/display_settings.h"
#include "display/image_format.h"
#include "display/qt/plan_image_files.h"
#include "display/qt/plan_painting.h"
#include "files/carrier_file.h"
#include "model/carrier_list.h"

#include <QGuiApplication>
#include <QImage>
#include <QSize>
#include <QtGlobal>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

namespace orvane::cli {

namespace {

constexpr int defaultClientWidth = 801;
constexpr int defaultClientHeight = 601;
constexpr int largestSide = 16384;

struct ImageRequest {
    std::string planPath;
    std::string outputPath;
    QSize clientSize{defaultClientWidth, defaultClientHeight};
    bool labelEdges = false;
};

std::optional<int> readSide(const std::string& text)
{
    if (text.empty() || text.size() > 6)
        return std::nullopt;
    int value = 0;
    for (const char character : text) {
        if (!std::isdigit(static_cast<unsigned char>(character)))
            return std::nullopt;
        value = value * 10 + (character - '0');
    }
    if (value < 1 || value > largestSide)
        return std::nullopt;
    return value;
}

std::optional<QSize> readSize(const std::string& text)
{
    const std::string::size_type cross = text.find_first_of("xX");
    if (cross == std::string::npos)
        return std::nullopt;
    const std::optional<int> width = readSide(text.substr(0, cross));
    const std::optional<int> height = readSide(text.substr(cross + 1));
    if (!width || !height)
        return std::nullopt;
    return QSize(*width, *height);
}

void printUsage()
{
    std::fputs("Usage: orvane-cli image PLAN OUT [--size WxH] [--edges]\n", stderr);
}

std::optional<ImageRequest> readRequest(const std::vector<std::string>& args)
{
    ImageRequest request;
    std::vector<std::string> positional;
    for (std::size_t index = 0; index < args.size(); ++index) {
        const std::string& argument = args[index];
        if (argument == "--edges") {
            request.labelEdges = true;
        } else if (argument == "--size" || argument.rfind("--size=", 0) == 0) {
            std::string value;
            if (argument == "--size") {
                if (index + 1 >= args.size()) {
                    std::fputs("orvane-cli: --size needs a value such as 801x601\n", stderr);
                    return std::nullopt;
                }
                value = args[++index];
            } else {
                value = argument.substr(7);
            }
            const std::optional<QSize> size = readSize(value);
            if (!size) {
                std::fprintf(stderr,
                             "orvane-cli: the size '%s' is not WIDTHxHEIGHT with each side from 1 "
                             "to %d pixels\n",
                             value.c_str(), largestSide);
                return std::nullopt;
            }
            request.clientSize = *size;
        } else if (argument.size() > 1 && argument[0] == '-') {
            std::fprintf(stderr, "orvane-cli: unknown option '%s'\n", argument.c_str());
            return std::nullopt;
        } else {
            positional.push_back(argument);
        }
    }
    if (positional.size() != 2)
        return std::nullopt;
    request.planPath = positional[0];
    request.outputPath = positional[1];
    return request;
}

// Qt's own chatter (missing runtime folders and the like) is no business of this tool's user.
void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

// Fonts need a GUI application; a command-line tool never shows a window, so it draws on
// Qt's offscreen platform unless the user chose one.
std::unique_ptr<QGuiApplication> startGuiApplication()
{
    if (QGuiApplication::instance() != nullptr)
        return nullptr;
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler(quietMessages);
    static int argumentCount = 1;
    static char programName[] = "orvane-cli";
    static char* arguments[] = {programName, nullptr};
    return std::make_unique<QGuiApplication>(argumentCount, arguments);
}

} // namespace

int runImage(const std::vector<std::string>& args)
{
    const std::optional<ImageRequest> request = readRequest(args);
    if (!request) {
        printUsage();
        return exitUsage;
    }

    CarrierList carriers;
    const FileReadResult read = loadCarrierFile(carriers, request->planPath);
    if (read.error) {
        std::fprintf(stderr, "orvane-cli: %s\n", fileErrorText(*read.error).c_str());
        return exitInputFailed;
    }
    if (!read.skipped.empty())
        std::fprintf(stderr, "orvane-cli: %s\n", skippedLinesText(read.skipped).c_str());
    if (!read.loaded) {
        std::fprintf(stderr, "orvane-cli: %s holds no carriers\n", request->planPath.c_str());
        return exitInputFailed;
    }

    DisplaySettings settings;
    settings.titleText = carriers.title;
    settings.viewStartMhz = carriers.viewStartMhz;
    settings.viewStopMhz = carriers.viewStopMhz;
    settings.labelEdges = request->labelEdges;

    const std::unique_ptr<QGuiApplication> application = startGuiApplication();
    const ImageFormat format = imageFormatOfPath(request->outputPath).value_or(ImageFormat::bmp);
    std::string failure;
    if (format == ImageFormat::svg) {
        failure = writePlanSvg(carriers, settings, request->clientSize, request->outputPath);
    } else {
        const QImage image = renderPlanImage(carriers, settings, request->clientSize);
        if (image.isNull()) {
            std::fprintf(stderr, "orvane-cli: no picture of %dx%d pixels could be made\n",
                         request->clientSize.width(), request->clientSize.height());
            return exitInputFailed;
        }
        failure = format == ImageFormat::png
                      ? writeImageAsPng(image, request->outputPath)
                      : bitmapWriteResultText(writeImageAsBitmap(image, request->outputPath));
    }
    if (!failure.empty()) {
        std::fprintf(stderr, "orvane-cli: %s\n", failure.c_str());
        return exitInputFailed;
    }
    return exitSuccess;
}

} // namespace orvane::cli
