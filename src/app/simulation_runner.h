#pragma once

#include "amplifier/amplifier_simulation.h"
#include "model/carrier_list.h"

#include <QObject>

#include <memory>
#include <vector>

namespace orvane {

class WorkRunner;

// Runs the amplifier simulation and its back-off sweep off the user-interface thread, each one
// wanted at a time: starting one cancels the one of its kind before, whose result is never
// delivered. Work that ends in an exception (out of memory, say) delivers a result whose refusal
// says so; it never ends the program.
class SimulationRunner : public QObject {
    Q_OBJECT
public:
    explicit SimulationRunner(QObject* parent = nullptr);

    // Simulate a copy of the plan (options.cancel and options.progress are the runner's).
    void simulate(const CarrierList& plan, SimulationOptions options);
    // Sweep a copy of the plan over these input back-offs.
    void sweep(const CarrierList& plan, SimulationOptions options, std::vector<double> backoffsDb);
    // Cancels both; nothing of them is delivered.
    void stop();
    bool simulating() const;
    bool sweeping() const;

Q_SIGNALS:
    void simulationProgressed(double share);
    void sweepProgressed(double share);
    void simulated(std::shared_ptr<const AmplifierSimulation> simulation);
    void swept(std::shared_ptr<const BackoffSweep> sweep);
    // The latest simulation or sweep ended, delivered or not.
    void ended();

private:
    WorkRunner* simulation_;
    WorkRunner* sweep_;
};

} // namespace orvane
