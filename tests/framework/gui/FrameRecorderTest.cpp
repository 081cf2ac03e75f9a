#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "GuiFixture.h"
#include "framework/gui/FrameRecorder.h"
#include "framework/resources/ResourceObject.h"
#include "host/FrameRecordFile.h"
#include "support/LogCapture.h"
#include "support/TempFolder.h"

namespace {

uint64_t clockNow = 0;
uint64_t readClock() { return clockNow; }

// A resource whose load takes the given time on the test clock.
class SlowResource : public ResourceObject {
public:
    explicit SlowResource(uint64_t loadUs) : ResourceObject("slow.png", 0), loadUs(loadUs) {}

protected:
    RefPointer<BaseObject> buildContent(bool& failed) override
    {
        clockNow += loadUs;
        failed = false;
        return RefPointer<BaseObject>(new BaseObject());
    }

private:
    uint64_t loadUs;
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
        clockNow = 5000000;
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
        for (int frame = 0; frame < 3; ++frame)
            recorder->frameEnded();
    }
    const std::vector<std::string> lines = readLines(path);
    ASSERT_EQ(4u, lines.size());
    EXPECT_EQ('#', lines[0][0]);
}

// Each frame: what happens in it, and the line it must leave.
TEST_F(FrameRecorderTest, MarksTheFramesThatALoadOrASceneSwitchOverlapped)
{
    const std::string path = folder.path() + "/frames.txt";
    RefPointer<SlowResource> slow(new SlowResource(30000));
    RefPointer<SlowResource> quick(new SlowResource(0));
    struct Frame {
        enum What { Quiet, Load, LoadBeforeTheFrame, Switch } what;
        uint64_t workUs;
        const char* line;
    };
    const std::vector<Frame> frames {
        {Frame::Quiet, 20000, "20 20000 0 0"},
        {Frame::Load, 20000, "70 50000 1 0"},
        {Frame::Quiet, 20500, "90 20500 0 0"},
        {Frame::Switch, 20000, "110 20000 0 1"},
        {Frame::Quiet, 26000, "136 26000 0 0"},
        {Frame::LoadBeforeTheFrame, 20000, "156 20000 1 0"},
        {Frame::Quiet, 20000, "176 20000 0 0"},
    };
    {
        FrameRecorder recorder(FrameRecordFile::open(path), &readClock);
        for (const Frame& frame : frames) {
            if (frame.what == Frame::LoadBeforeTheFrame)
                quick->load();
            clockNow += frame.workUs;
            if (frame.what == Frame::Load)
                slow->load();
            if (frame.what == Frame::Switch) {
                SceneManager::instance->setNextScene(b);
                SceneManager::instance->run(20);
            }
            recorder.frameEnded();
        }
    }
    const std::vector<std::string> lines = readLines(path);
    ASSERT_EQ(frames.size() + 1, lines.size());
    for (size_t i = 0; i < frames.size(); ++i)
        EXPECT_EQ(frames[i].line, lines[i + 1]) << "frame " << i;
}

} // namespace
