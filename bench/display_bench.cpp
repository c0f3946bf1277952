#include "display/display_settings.h"
#include "display/qt/plan_painting.h"
#include "model/carrier_list.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSize>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

const QSize fullHdClient(1920, 1080);

// Carriers spread over the default view with varied widths, powers and labels.
orvane::CarrierList crowdedPlan(int count)
{
    orvane::CarrierList carriers;
    carriers.reserve(static_cast<std::size_t>(count));
    for (int index = 0; index < count; ++index) {
        orvane::Carrier carrier;
        carrier.setFixedSymbolRate(5850.0 + 575.0 * (index + 0.5) / count,
                                   200.0 + 37.0 * (index % 50),
                                   (index % 3 == 0) ? -999.0 : 5.0 + index % 17, 1.35);
        carrier.label = "C" + std::to_string(index + 1) + ((index % 10 == 0) ? "\tspare" : "");
        carriers.append(carrier);
    }
    return carriers;
}

void drawPlanOfAThousandCarriers(benchmark::State& state)
{
    const orvane::CarrierList carriers = crowdedPlan(1000);
    orvane::DisplaySettings settings;
    settings.labelEdges = state.range(0) != 0;
    QImage image(fullHdClient, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        orvane::paintPlan(painter, fullHdClient, settings, carriers);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(drawPlanOfAThousandCarriers)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The same plan on a picture too squat for its texts, as under the analysis panel: drawn as set
// (0) and with the texts fitted to the picture (1), which places them until they fit first.
void drawSquatPlanOfAThousandCarriers(benchmark::State& state)
{
    const orvane::CarrierList carriers = crowdedPlan(1000);
    orvane::DisplaySettings settings;
    const QSize squat(1920, 600);
    const auto fitting =
        state.range(0) != 0 ? orvane::TextFitting::toPicture : orvane::TextFitting::asSet;
    QImage image(squat, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        orvane::paintPlan(painter, squat, settings, carriers, fitting);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(drawSquatPlanOfAThousandCarriers)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void writeFullHdBitmap(benchmark::State& state)
{
    const orvane::CarrierList carriers = crowdedPlan(1000);
    orvane::DisplaySettings settings;
    const QImage image = orvane::renderPlanImage(carriers, settings, fullHdClient);
    const std::string path =
        (std::filesystem::temp_directory_path() / "orvane-display-bench.bmp").string();
    for (auto _ : state) {
        const orvane::BitmapWriteResult result = orvane::writeImageAsBitmap(image, path);
        if (!result.written) {
            state.SkipWithError("the bitmap could not be written");
            break;
        }
    }
    std::filesystem::remove(path);
}
BENCHMARK(writeFullHdBitmap)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
