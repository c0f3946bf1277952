#include "app/intermod_runner.h"

#include "app/work_runner.h"
#include "commands/work_failure.h"

#include <utility>

namespace orvane {

IntermodRunner::IntermodRunner(QObject* parent, Analysis analysis, double warningEvaluations)
    : QObject(parent), analysis_(std::move(analysis)), warningEvaluations_(warningEvaluations),
      runner_(new WorkRunner(this))
{
    connect(runner_, &WorkRunner::progressed, this, &IntermodRunner::progressed);
    connect(runner_, &WorkRunner::ended, this, &IntermodRunner::ended);
}

bool IntermodRunner::busy() const
{
    return runner_->busy();
}

void IntermodRunner::stop()
{
    runner_->stop();
}

void IntermodRunner::start(const CarrierList& plan, IntermodOptions options)
{
    // The work keeps its own copies: it may outlive this object's members by the moment the
    // runner takes to stop it.
    runner_->start([this, analyse = analysis_, warningEvaluations = warningEvaluations_, plan,
                    options](WorkContext& context) mutable {
        options.cancel = &context.cancel;
        options.progress = context.progress;
        std::shared_ptr<IntermodAnalysis> analysis;
        try {
            // A plan beyond the warning level is refused at once, after its estimate alone:
            // announced, it is then analysed without a limit.
            options.maxEvaluations = warningEvaluations;
            analysis = std::make_shared<IntermodAnalysis>(analyse(plan, options));
            const double evaluations = analysis->estimatedEvaluations;
            if (analysis->refusal && !analysis->cancelled && evaluations > warningEvaluations) {
                context.deliver([this, evaluations] { Q_EMIT estimated(evaluations); });
                options.maxEvaluations.reset();
                analysis = std::make_shared<IntermodAnalysis>(analyse(plan, options));
            }
        } catch (...) {
            analysis = std::make_shared<IntermodAnalysis>();
            analysis->refusal =
                workFailureText("The intermodulation analysis", std::current_exception());
        }
        if (!analysis->cancelled)
            context.deliver([this, analysis] {
                Q_EMIT finished(std::shared_ptr<const IntermodAnalysis>(analysis));
            });
    });
}

} // namespace orvane
