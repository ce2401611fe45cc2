// A run of the main window: the World date steps forward by the chosen
// interval each time the window's timer ticks, and after every step the
// compute's results are tested against the run's target. A run that looks for
// a pattern first passes over the steps where the pattern provably does not
// hold, deciding them as vek-cli find does (PatternLook), for a share of the
// tick; the step it then computes and shows is the one an ordinary run would
// have reached, so it stops where an ordinary run stops, with the same
// results. The window only owns the timer and the controls; when and how to
// step, the stop test and the end of a run live here, so a run can be driven
// without waiting.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "app/compute.h"
#include "app/pattern_search.h"
#include "app/program_state.h"
#include "display/results_text.h"
#include "time/stepping.h"

namespace vek {

// Milliseconds between two steps of a run: 100 with "Run quickly" in world
// transits, 1000 otherwise.
inline constexpr int kRunTickSlow = 1000;
inline constexpr int kRunTickQuick = 100;
// The longest a tick passes over steps without the pattern before it computes
// the step it shows: short beside the quick tick, so the window keeps
// answering.
inline constexpr std::chrono::milliseconds kRunSkipTime(30);

// Whether the run button is offered: the chart wheel is shown with current
// results (its button visible) and no aspect explanation over it, the mode
// steps the World date (world or personal transits), and the interval is not
// the half hour unless the Moon is included.
bool RunButtonOffered(bool chartShown, bool explanationShown, bool resultsCurrent, Mode mode,
                      int interval, bool includeMoon);

struct RunChoice {
    Mode mode = Mode::World;
    RunTarget target;  // pattern −1: until stopped (always so outside world transits)
    int interval = kStepDay;
    bool quickly = false;  // "Run quickly"
    // How the steps without the pattern are found: Automatic and Skipping
    // pass over them as vek-cli find's search decides them (Automatic only
    // with the ephemeris' positions), StepByStep computes every step.
    SearchMethod method = SearchMethod::Automatic;
};

class PatternRun {
  public:
    enum class Outcome {
        Idle,     // no run in progress: nothing was done
        Stepped,  // one step and its compute, the target not (yet) found
        Found,    // the target is present at the new date; the run has ended
        Refused,  // the step left the accepted dates: the date is restored and
                  // stepping has ended, the run stays in progress until stopped
    };

    void Start(const RunChoice& choice);
    // The user's stop: the run ends.
    void Stop();
    bool InProgress() const { return inProgress_; }
    // Whether the window's timer should still tick: a run is in progress and
    // its stepping has not ended on a refused step.
    bool Stepping() const { return inProgress_ && !steppingEnded_; }
    int TickMilliseconds() const;
    const RunChoice& Choice() const { return choice_; }

    // One tick: the steps passed over, then one step forward, the pattern
    // counts cleared, the compute, the stop test. `message` receives the text
    // to show: the found message, or the compute's message for a refused
    // step.
    Outcome Step(ProgramState& state, const ComputeRequest& request, std::string& message);

    // How much one tick may pass over: at most `steps` steps and about `time`.
    void SetSkipLimit(int steps, std::chrono::milliseconds time);
    // Steps passed over since the run started, and positions computed for
    // them.
    int64_t StepsSkipped() const { return skipped_; }
    int64_t SkipPositions() const { return look_ ? look_->Positions() : 0; }

  private:
    // Moves the World date over the steps that the look proves to be without
    // the pattern, up to the limits, and stops before a step where it may
    // hold or that the dates refuse.
    void SkipSteps(ProgramState& state);

    RunChoice choice_;
    bool inProgress_ = false;
    bool steppingEnded_ = false;
    std::unique_ptr<PatternLook> look_;
    int skipSteps_ = INT32_MAX;
    std::chrono::milliseconds skipTime_ = kRunSkipTime;
    int64_t skipped_ = 0;
};

}  // namespace vek
