// One whole frame of the game scene with the real content, at its busiest
// moments: a cascade during a frenzy, a full conveyor belt, and the results
// reveal with its confetti. A frame is what the program runs every 20 ms:
// the scene manager (input, phase, modifiers, clean-up), the frame timer's
// tasks and the drawing of the scene into an 800 x 600 back buffer, 32-bit
// or 16-bit. The game moves on from frame to frame, so each case plays its
// moment through and reports the median and the worst frame (`median_ms`,
// `worst_ms`, and the same in the thread's processor time, `median_cpu_ms`,
// `worst_cpu_ms`) against the 20 ms budget. Run it on one core:
//   taskset -c 2 build-bench/bench/bench_GameFrameBench
#include <benchmark/benchmark.h>

#include <stdlib.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "LevelRunner.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/scenegraph/RenderTask.h"
#include "game/data/GameData.h"
#include "game/data/RankTable.h"
#include "game/data/TortelunePlayer.h"
#include "game/data/TuningTable.h"

namespace {

constexpr unsigned kSeed = 2026;
// Frames measured per case: ten seconds of play.
constexpr int kFrames = 500;

std::string scratchFolder()
{
    char pattern[] = "/tmp/tortelune-bench-XXXXXX";
    const char* made = mkdtemp(pattern);
    return made ? made : "/tmp";
}

// The game with its scene, played up to the moment a case measures.
struct Moment {
    Moment(int bytesPerPixel, const std::function<bool(LevelRunner&, LevelOutcome&)>& reach)
    {
        Image::setScreenBytesPerPixel(bytesPerPixel);
        folder = scratchFolder();
        runner.reset(new LevelRunner(folder, kSeed));
        backBuffer = Image::create(800, 600, bytesPerPixel);
        graphics = backBuffer->getGraphics();
        reached = runner->isReady() && reach(*runner, outcome);
    }
    ~Moment()
    {
        graphics = nullptr;
        backBuffer = nullptr;
        runner.reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
        Image::setScreenBytesPerPixel(4);
    }

    // One frame as the program runs it, drawing included.
    void frame()
    {
        runner->frame();
        RenderTask::renderFrame(runner->getScene(), graphics.get(), runner->getScene()->getTree());
    }

    std::string folder;
    std::unique_ptr<LevelRunner> runner;
    RefPointer<Image> backBuffer;
    RefPointer<Graphics> graphics;
    LevelOutcome outcome;
    bool reached = false;
};

double threadCpuMs()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1.0e6;
}

GameDataState& state()
{
    return *GameData::instance->state;
}

// A career level in play with the bonus meter full: the frenzy has begun.
bool frenzyInPlay(LevelRunner& runner, LevelOutcome& outcome)
{
    if (!runner.startLevel(0, 8, outcome) || !runner.runIntro(outcome))
        return false;
    for (int i = 0; i < 250; ++i)
        runner.playFrame(outcome);
    state().bonusMeter.setFill(static_cast<float>(tuning().BONUS_MAX));
    for (int i = 0; i < 1500 && !state().bonusMeter.isFrenzy() && !state().levelOver; ++i)
        runner.playFrame(outcome);
    return state().bonusMeter.isFrenzy() && !state().levelOver;
}

// An arcade set whose belt carries its most plates, the player still serving.
bool fullConveyor(LevelRunner& runner, LevelOutcome& outcome)
{
    if (!runner.startLevel(1, 0, outcome) || !runner.runIntro(outcome))
        return false;
    for (int i = 0; i < 30000 && state().conveyorBelt.spots.size() < 5 && !state().levelOver; ++i)
        runner.playFrame(outcome, i % 3 != 0);
    return !state().levelOver;
}

// Career level 1 won just below a rank: the results open with their reveal,
// the confetti and the rank meter.
bool resultsReveal(LevelRunner& runner, LevelOutcome& outcome)
{
    runner.getPlayer()->score = RankTable::getInstance()->getRankScore(1) - 400;
    return runner.startLevel(0, 0, outcome) && runner.runIntro(outcome) && runner.playToEnd(outcome) &&
           runner.reachResults(outcome);
}

void measure(benchmark::State& bench, int bytesPerPixel, bool playing,
             const std::function<bool(LevelRunner&, LevelOutcome&)>& reach)
{
    Moment moment(bytesPerPixel, reach);
    if (!moment.reached) {
        bench.SkipWithError("the moment was never reached");
        return;
    }
    // Wall time, and the thread's own processor time: on a busy machine a
    // frame's wall time includes the time other programs held the core.
    std::vector<double> frames;
    std::vector<double> cpuFrames;
    frames.reserve(kFrames);
    cpuFrames.reserve(kFrames);
    for (auto _ : bench) {
        if (playing)
            moment.runner->act(moment.outcome);
        const double cpuStart = threadCpuMs();
        const auto start = std::chrono::steady_clock::now();
        moment.frame();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        cpuFrames.push_back(threadCpuMs() - cpuStart);
        bench.SetIterationTime(took.count());
        frames.push_back(took.count() * 1000.0);
    }
    std::sort(frames.begin(), frames.end());
    std::sort(cpuFrames.begin(), cpuFrames.end());
    bench.counters["median_ms"] = frames[frames.size() / 2];
    bench.counters["worst_ms"] = frames.back();
    bench.counters["median_cpu_ms"] = cpuFrames[cpuFrames.size() / 2];
    bench.counters["worst_cpu_ms"] = cpuFrames.back();
}

void BM_CascadeInFrenzy(benchmark::State& bench, int bytesPerPixel)
{
    measure(bench, bytesPerPixel, true, frenzyInPlay);
}

void BM_FullConveyor(benchmark::State& bench, int bytesPerPixel)
{
    measure(bench, bytesPerPixel, true, fullConveyor);
}

void BM_ResultsRevealWithConfetti(benchmark::State& bench, int bytesPerPixel)
{
    measure(bench, bytesPerPixel, false, resultsReveal);
}

BENCHMARK_CAPTURE(BM_CascadeInFrenzy, 32bit, 4)->Iterations(kFrames)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CascadeInFrenzy, 16bit, 2)->Iterations(kFrames)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FullConveyor, 32bit, 4)->Iterations(kFrames)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FullConveyor, 16bit, 2)->Iterations(kFrames)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ResultsRevealWithConfetti, 32bit, 4)
    ->Iterations(kFrames)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ResultsRevealWithConfetti, 16bit, 2)
    ->Iterations(kFrames)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
