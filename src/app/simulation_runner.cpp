#include "app/simulation_runner.h"

#include "app/work_runner.h"
#include "commands/work_failure.h"

#include <utility>

namespace orvane {

SimulationRunner::SimulationRunner(QObject* parent)
    : QObject(parent), simulation_(new WorkRunner(this)), sweep_(new WorkRunner(this))
{
    connect(simulation_, &WorkRunner::progressed, this, &SimulationRunner::simulationProgressed);
    connect(sweep_, &WorkRunner::progressed, this, &SimulationRunner::sweepProgressed);
    connect(simulation_, &WorkRunner::ended, this, &SimulationRunner::ended);
    connect(sweep_, &WorkRunner::ended, this, &SimulationRunner::ended);
}

bool SimulationRunner::simulating() const
{
    return simulation_->busy();
}

bool SimulationRunner::sweeping() const
{
    return sweep_->busy();
}

void SimulationRunner::stop()
{
    simulation_->stop();
    sweep_->stop();
}

void SimulationRunner::simulate(const CarrierList& plan, SimulationOptions options)
{
    simulation_->start([this, plan, options](WorkContext& context) mutable {
        options.cancel = &context.cancel;
        options.progress = context.progress;
        std::shared_ptr<AmplifierSimulation> simulation;
        try {
            simulation = std::make_shared<AmplifierSimulation>(simulateAmplifier(plan, options));
        } catch (...) {
            simulation = std::make_shared<AmplifierSimulation>();
            simulation->refusal =
                workFailureText("The amplifier simulation", std::current_exception());
        }
        if (!simulation->cancelled)
            context.deliver([this, simulation] {
                Q_EMIT simulated(std::shared_ptr<const AmplifierSimulation>(simulation));
            });
    });
}

void SimulationRunner::sweep(const CarrierList& plan, SimulationOptions options,
                             std::vector<double> backoffsDb)
{
    sweep_->start([this, plan, options, backoffsDb](WorkContext& context) mutable {
        options.cancel = &context.cancel;
        options.progress = context.progress;
        std::shared_ptr<BackoffSweep> sweep;
        try {
            sweep = std::make_shared<BackoffSweep>(sweepInputBackoff(plan, options, backoffsDb));
        } catch (...) {
            sweep = std::make_shared<BackoffSweep>();
            sweep->refusal = workFailureText("The back-off sweep", std::current_exception());
        }
        if (!sweep->cancelled)
            context.deliver(
                [this, sweep] { Q_EMIT swept(std::shared_ptr<const BackoffSweep>(sweep)); });
    });
}

} // namespace orvane
