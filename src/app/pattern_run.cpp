#include "app/pattern_run.h"

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
}

void PatternRun::Stop() {
    inProgress_ = false;
    steppingEnded_ = false;
}

int PatternRun::TickMilliseconds() const {
    return choice_.quickly && choice_.mode == Mode::World ? kRunTickQuick : kRunTickSlow;
}

PatternRun::Outcome PatternRun::Step(ProgramState& state, const ComputeRequest& request,
                                     std::string& message) {
    message.clear();
    if (!Stepping()) return Outcome::Idle;
    const DateRowFields saved = ApplyStep(state.rows, choice_.interval, kStepForward);
    // A run never sees the counts of the step before.
    state.results.PatternCount = {};
    const Status computed = state.Compute(request);
    if (!computed) {
        message = computed.message();
        RestoreIfRefused(state.rows, saved, -1);
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
