#include "app/intermod_panel.h"
#include "app/main_window.h"
#include "app/plan_view.h"

#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <chrono>
#include <cstdlib>
#include <string>

namespace {

// The desktop's answer to an edit of a 200-carrier plan with the analysis panel shown: from the
// command's end (MainWindow::apply) until the table holds the new analysis and the plan view has
// been painted with the new curve.
void panelUpdateAfterAnEdit(benchmark::State& state)
{
    QTemporaryDir settingsFolder;
    setenv("XDG_CONFIG_HOME", settingsFolder.path().toLocal8Bit().constData(), 1);
    orvane::MainWindow window("/opt/orvane");
    window.resize(1280, 800);
    window.show();
    orvane::CarrierList& carriers = window.document().carriers;
    for (int i = 0; i < static_cast<int>(state.range(0)); ++i) {
        orvane::Carrier carrier;
        carrier.setFixedSymbolRate(5860.0 + 2.5 * i, 1500.0, 10.0, 1.3);
        carrier.label = "Channel " + std::to_string(i + 1);
        carriers.append(carrier);
    }
    window.document().displaySettings.viewStopMhz = 5860.0 + 2.5 * state.range(0);
    orvane::IntermodPanel& panel = window.intermodPanel();
    auto* ip3 = panel.findChild<QLineEdit*>(QStringLiteral("ip3Box"));
    ip3->setText(QStringLiteral("30"));
    Q_EMIT ip3->textEdited(ip3->text());
    QSignalSpy shown(&panel, &orvane::IntermodPanel::analysisShown);
    panel.toggleViewAction()->trigger();
    shown.wait(60000);

    double stepMhz = 0.1;
    for (auto _ : state) {
        carriers.shift(stepMhz);
        stepMhz = -stepMhz;
        QElapsedTimer elapsed;
        elapsed.start();
        window.apply(orvane::CommandOutcome{true, true});
        if (!shown.wait(60000)) {
            state.SkipWithError("no analysis");
            break;
        }
        window.planView().repaint();
        state.SetIterationTime(static_cast<double>(elapsed.nsecsElapsed()) * 1e-9);
    }
}

} // namespace

BENCHMARK(panelUpdateAfterAnEdit)->Arg(200)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
