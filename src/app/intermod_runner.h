#pragma once

#include "analysis/intermod_analysis.h"
#include "commands/intermod_panel_model.h"
#include "model/carrier_list.h"

#include <QObject>

#include <functional>
#include <memory>

namespace orvane {

class WorkRunner;

// Runs intermodulation analyses off the user-interface thread, one wanted at a time: starting
// one cancels the one before, whose result is never delivered. Signals arrive on the thread
// the runner lives in. An analysis that ends in an exception (out of memory, say) delivers a
// result whose refusal says so; it never ends the program. No plan is refused for the work it
// needs: one estimated beyond the warning level is announced (estimated) and analysed all the
// same, for as long as nobody stops it.
class IntermodRunner : public QObject {
    Q_OBJECT
public:
    using Analysis = std::function<IntermodAnalysis(const CarrierList&, const IntermodOptions&)>;

    // Plans estimated to need more evaluations than warningEvaluations are announced.
    explicit IntermodRunner(QObject* parent = nullptr, Analysis analysis = analyseIntermod,
                            double warningEvaluations = longIntermodAnalysisEvaluations);

    // Analyses a copy of the plan (options.cancel and options.progress are the runner's).
    void start(const CarrierList& plan, IntermodOptions options);
    // Cancels the analysis under way; nothing of it is delivered.
    void stop();
    // Whether the latest analysis has yet to end.
    bool busy() const;

Q_SIGNALS:
    void progressed(double share);
    // The analysis under way needs about this many evaluations, more than the warning level.
    void estimated(double evaluations);
    void finished(std::shared_ptr<const IntermodAnalysis> analysis);
    // The latest analysis ended, delivered or not.
    void ended();

private:
    Analysis analysis_;
    double warningEvaluations_;
    WorkRunner* runner_;
};

} // namespace orvane
