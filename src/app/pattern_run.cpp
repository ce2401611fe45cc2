#include "app/pattern_run.h"

#include <optional>

#include "engine/bounded_sky.h"

namespace vek {

bool RunButtonOffered(bool chartShown, bool explanationShown, bool resultsCurrent, Mode mode,
                      int interval, bool includeMoon) {
    if (!chartShown || explanationShown || !resultsCurrent) return false;
    if (mode != Mode::World && mode != Mode::Personal1 && mode != Mode::Personal2) return false;
    return interval != kStepHalfHour || includeMoon;
}

void PatternRun::Start(const RunChoice& choice) {
    choice_ = choice;
    // Patterns are counted in world transits only.
    if (choice_.mode != Mode::World) choice_.target.pattern.reset();
    inProgress_ = true;
    steppingEnded_ = false;
    // The date or the settings may have changed since the last run.
    look_.reset();
    skipped_ = 0;
}

void PatternRun::Stop() {
    inProgress_ = false;
    steppingEnded_ = false;
    look_.reset();
}

void PatternRun::SetSkipLimit(int steps, std::chrono::milliseconds time) {
    skipSteps_ = steps;
    skipTime_ = time;
}

void PatternRun::SkipSteps(ProgramState& state) {
    if (!choice_.target.pattern || choice_.method == SearchMethod::StepByStep) return;
    if (!look_) {
        // The compute applies the settings too; the look needs them first.
        ApplySettingsToEngine(state.settings, state.engine);
        if (choice_.method == SearchMethod::Automatic && !PositionsFromEphemeris(state.engine))
            return;
        look_ = std::make_unique<PatternLook>(state.engine, state.settings, choice_.target, true);
    }
    DateRowFields& world = state.rows.Row(kWorldDate);
    const auto deadline = std::chrono::steady_clock::now() + skipTime_;
    // The row before the last step passed over.
    std::optional<DateRowFields> beforeLast;
    for (int n = 0; n < skipSteps_; ++n) {
        if (n % 16 == 15 && std::chrono::steady_clock::now() >= deadline) return;
        const DateRowFields saved = ApplyStep(state.rows, choice_.interval, kStepForward);
        const Result<JulianDate> jd = state.rows.InputDateToAJDate(kWorldDate);
        if (RestoreIfRefused(state.rows, saved, jd)) {
            // The run shows the last accepted step before the refusal, as
            // a run that computes every step does.
            if (beforeLast) world = *beforeLast;
            skipped_ -= beforeLast ? 1 : 0;
            return;
        }
        if (look_->At(jd->days)) {
            world = saved;
            return;
        }
        beforeLast = saved;
        ++skipped_;
    }
}

int PatternRun::TickMilliseconds() const {
    return choice_.quickly && choice_.mode == Mode::World ? kRunTickQuick : kRunTickSlow;
}

PatternRun::Outcome PatternRun::Step(ProgramState& state, const ComputeRequest& request,
                                     std::string& message) {
    message.clear();
    if (!Stepping()) return Outcome::Idle;
    SkipSteps(state);
    const DateRowFields saved = ApplyStep(state.rows, choice_.interval, kStepForward);
    // A run never sees the counts of the step before.
    state.results.PatternCount = {};
    const Status computed = state.Compute(request);
    if (!computed) {
        message = computed.message();
        RestoreWorldRow(state.rows, saved);
        steppingEnded_ = true;
        return Outcome::Refused;
    }
    if (choice_.target.pattern && RunTargetFound(choice_.target, state.results.PatternCount)) {
        message =
            RunFoundMessage(choice_.target, state.results.PatternCount,
                            state.engine.names.PatternName[*choice_.target.pattern], state.Texts());
        inProgress_ = false;
        return Outcome::Found;
    }
    return Outcome::Stepped;
}

}  // namespace vek
