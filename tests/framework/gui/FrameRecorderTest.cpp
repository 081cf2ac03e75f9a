#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "GuiFixture.h"
#include "framework/graphics/Image.h"
#include "framework/gui/FrameRecorder.h"
#include "framework/platform/FrameClock.h"
#include "framework/platform/TimedTaskManager.h"
#include "framework/resources/ResourceObject.h"
#include "host/FrameRecordFile.h"
#include "support/LogCapture.h"
#include "support/TempFolder.h"

namespace {

ManualFrameClock manualClock;
uint64_t readClock() { return uint64_t(manualClock.milliseconds()) * 1000; }
// The processor is busy for all of a frame's work but what is spent waiting.
uint64_t waitedUs = 0;
uint64_t readProcessorClock() { return readClock() - waitedUs; }

// A resource whose load takes the given time on the test clock.
class SlowResource : public ResourceObject {
public:
    explicit SlowResource(uint32_t loadMs) : ResourceObject("slow.png", 0), loadMs(loadMs) {}

protected:
    RefPointer<BaseObject> buildContent(bool& failed) override
    {
        manualClock.advance(loadMs);
        failed = false;
        return RefPointer<BaseObject>(new BaseObject());
    }

private:
    uint32_t loadMs;
};

class RecordVariable {
public:
    explicit RecordVariable(const char* value)
    {
        if (const char* old = std::getenv(FrameRecordFile::kVariable))
            previous = old, hadValue = true;
        if (value)
            setenv(FrameRecordFile::kVariable, value, 1);
        else
            unsetenv(FrameRecordFile::kVariable);
    }
    ~RecordVariable()
    {
        if (hadValue)
            setenv(FrameRecordFile::kVariable, previous.c_str(), 1);
        else
            unsetenv(FrameRecordFile::kVariable);
    }

private:
    std::string previous;
    bool hadValue = false;
};

std::vector<std::string> readLines(const std::string& path)
{
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

class FrameRecorderTest : public GuiFixture {
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        loadSetup("<root><Node id=\"scenes\"><Scene id=\"A\"/><Scene id=\"B\"/></Node></root>");
        a = SceneManager::instance->registerScene("A");
        b = SceneManager::instance->registerScene("B");
        ASSERT_TRUE(a && b);
        SceneManager::instance->setNextScene(a);
        SceneManager::instance->run(20);
    }

    Scene* a = nullptr;
    Scene* b = nullptr;
    TempFolder folder;
};

TEST_F(FrameRecorderTest, WithoutTheVariableThereIsNoRecorderAndNoFile)
{
    for (const char* value : {static_cast<const char*>(nullptr), ""}) {
        RecordVariable variable(value);
        EXPECT_EQ(nullptr, FrameRecorder::fromEnvironment());
    }
    EXPECT_TRUE(folder.entries().empty());
}

TEST_F(FrameRecorderTest, AFileThatCannotBeCreatedIsLoggedAndRecordsNothing)
{
    const std::string path = folder.path() + "/no/such/folder/frames.txt";
    RecordVariable variable(path.c_str());
    LogCapture log;
    EXPECT_EQ(nullptr, FrameRecorder::fromEnvironment());
    EXPECT_TRUE(log.contains("frames.txt"));
}

TEST_F(FrameRecorderTest, TheVariableNamesTheFileThatGetsALinePerFrame)
{
    const std::string path = folder.path() + "/frames.txt";
    RecordVariable variable(path.c_str());
    {
        std::unique_ptr<FrameRecorder> recorder = FrameRecorder::fromEnvironment();
        ASSERT_NE(nullptr, recorder);
        for (int frame = 0; frame < 3; ++frame) {
            recorder->frameStarted();
            recorder->frameEnded();
        }
    }
    const std::vector<std::string> lines = readLines(path);
    ASSERT_EQ(4u, lines.size());
    EXPECT_EQ('#', lines[0][0]);
}

// The frame's work, what happens in it, and the line it must leave: the
// period runs to the next frame's start, which the timer paces to 20 ms.
class ScriptedFrames : public Task {
public:
    enum What { Quiet, Load, LoadAfterTheFrame, Switch, Wait, Unpack, UnpackAfterTheFrame };
    struct Frame {
        uint32_t workMs;
        What what;
        const char* line;
    };
    ScriptedFrames(const std::vector<Frame>& frames, Scene* target) : frames(frames), target(target) {}
    void run(int) override
    {
        const Frame& frame = frames[next++];
        manualClock.advance(frame.workMs);
        if (frame.what == Wait)
            waitedUs += 20000;
        if (frame.what == Load)
            slow->load();
        if (frame.what == Switch) {
            SceneManager::instance->setNextScene(target);
            SceneManager::instance->run(20);
        }
        if (frame.what == Unpack)
            unpack();
    }
    // Draws a picture kept compressed, or let go while idle since its last
    // draw: 100 x 50 pixels of 4 bytes.
    void unpack()
    {
        if (picture->getPixels()) {
            ASSERT_TRUE(picture->releaseIdleBuffers(std::numeric_limits<int64_t>::max(), 0));
        }
        ASSERT_TRUE(picture->lock());
        picture->unlock();
    }

    const std::vector<Frame>& frames;
    Scene* target;
    size_t next = 0;
    RefPointer<SlowResource> slow {new SlowResource(25)};
    RefPointer<Image> picture {Image::create(100, 50, 4)};
};

TEST_F(FrameRecorderTest, EachFrameGetsItsPeriodItsWorkItsProcessorTimeItsLoadsAndSwitchesAndWhatItUnpacked)
{
    using F = ScriptedFrames;
    const std::vector<F::Frame> frames {
        {5, F::Quiet, "0 20000 5000 5000 0 0 0"},
        {5, F::Load, "20 30000 30000 30000 1 0 0"},
        {4, F::LoadAfterTheFrame, "50 20000 4000 4000 0 0 0"},
        {3, F::Quiet, "70 20000 3000 3000 0 0 0"},
        {3, F::Switch, "90 20000 3000 3000 0 1 0"},
        {26, F::Quiet, "110 26000 26000 26000 0 0 0"},
        {30, F::Wait, "136 30000 30000 10000 0 0 0"},
        {4, F::Unpack, "166 20000 4000 4000 0 0 20"},
        {4, F::UnpackAfterTheFrame, "186 20000 4000 4000 0 0 0"},
        {7, F::Quiet, "206 7000 7000 7000 0 0 0"},
    };
    const std::string path = folder.path() + "/frames.txt";
    manualClock.set(1000);
    waitedUs = 0;
    RefPointer<TimedTaskManager> timer(new TimedTaskManager(&manualClock));
    RefPointer<ScriptedFrames> script(new ScriptedFrames(frames, b));
    ASSERT_TRUE(script->picture && script->picture->compressKeepingCopy(1));
    timer->addTask(script.get());
    RefPointer<SlowResource> between(new SlowResource(0));
    {
        FrameRecorder recorder(FrameRecordFile::open(path), &readClock, &readProcessorClock);
        timer->setFrameObserver(&recorder);
        for (const F::Frame& frame : frames) {
            timer->tick();
            // A load between two frames belongs to neither.
            if (frame.what == F::LoadAfterTheFrame)
                between->load();
            if (frame.what == F::UnpackAfterTheFrame)
                script->unpack();
        }
        timer->setFrameObserver(nullptr);
    }
    const std::vector<std::string> lines = readLines(path);
    ASSERT_EQ(frames.size() + 1, lines.size());
    for (size_t i = 0; i < frames.size(); ++i)
        EXPECT_EQ(frames[i].line, lines[i + 1]) << "frame " << i;
}

} // namespace
