#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyStore.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/ImageLock.h"
#include "framework/resources/FileModes.h"
#include "framework/resources/ImageResource.h"
#include "framework/resources/ResourceManager.h"
#include "framework/resources/SoundResource.h"
#include "framework/resources/StreamResource.h"
#include "framework/sound/Sound.h"
#include "framework/sound/SoundStream.h"
#include "support/EncodedImages.h"
#include "support/LogCapture.h"
#include "support/TestFolders.h"

namespace {

// A resource kind for the tests: records its loads, fails when its file
// name says so, and can be held inside its load by a gate.
struct TestGate {
    std::mutex mutex;
    std::condition_variable changed;
    bool closed = false;
    int waiting = 0;

    void close()
    {
        std::lock_guard<std::mutex> lock(mutex);
        closed = true;
    }
    void open()
    {
        {
            std::lock_guard<std::mutex> lock(mutex);
            closed = false;
        }
        changed.notify_all();
    }
    void pass()
    {
        std::unique_lock<std::mutex> lock(mutex);
        ++waiting;
        changed.notify_all();
        changed.wait(lock, [this] { return !closed; });
        --waiting;
    }
    bool waitForWaiter()
    {
        std::unique_lock<std::mutex> lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(10), [this] { return waiting > 0; });
    }
};

TestGate gate;
std::atomic<int> loads {0};
std::mutex orderMutex;
std::string loadOrder;

class TestThing : public BaseObject {
    TT_CLASS_RECORD(TestThing)
};
TT_DEFINE_RECORD(TestThing, &BaseObject::classRecord);

class TestResource : public ResourceObject {
    TT_CLASS_RECORD(TestResource)
public:
    explicit TestResource(AbstractProperty* configuration) : ResourceObject(configuration) {}

protected:
    RefPointer<BaseObject> buildContent(bool& failed) override
    {
        gate.pass();
        ++loads;
        {
            std::lock_guard<std::mutex> lock(orderMutex);
            loadOrder += fileName + " ";
        }
        if (fileName.find("broken") != std::string::npos) {
            failed = true;
            return nullptr;
        }
        return RefPointer<BaseObject>(new TestThing());
    }
};
TT_DEFINE_RECORD(TestResource, &ResourceObject::classRecord);
TT_REGISTER_CREATOR(TestRes, TestResource);

class ResourceManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        loads = 0;
        loadOrder.clear();
        gate.open();
        ResourceManager::create();
    }
    void TearDown() override
    {
        gate.open();
        ResourceManager::destroyInstance();
    }

    ResourceManager& manager() { return *ResourceManager::instance; }

    void declare(const std::string& sectionsXml)
    {
        const std::string xml = "<root><Vector id=\"Sections\">" + sectionsXml + "</Vector></root>";
        RefPointer<PropertyStore> store(new PropertyStore());
        ASSERT_TRUE(store->loadFromBuffer(xml.data(), xml.size()));
        for (const RefPointer<AbstractProperty>& element : *store->getVector("Sections")) {
            RefPointer<ResourceSection> section;
            {
                ResourceLock lock;
                section = new ResourceSection(element->asNode());
            }
            manager().addSection(section.get());
        }
    }

    // Waits (bounded) until the condition holds.
    template <class Condition>
    bool eventually(Condition condition)
    {
        for (int i = 0; i < 1000; ++i) {
            if (condition())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return condition();
    }

    std::string order()
    {
        std::lock_guard<std::mutex> lock(orderMutex);
        return loadOrder;
    }
};

TEST_F(ResourceManagerTest, NothingLoadsUntilEnabledAndProgressStartsComplete)
{
    declare("<Section name=\"a\"><TestRes id=\"A1\" file=\"a1\"/></Section>");
    EXPECT_DOUBLE_EQ(1.0, manager().getLoadProgress());
    manager().requestSection("a");
    EXPECT_DOUBLE_EQ(0.0, manager().getLoadProgress());
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(0, loads.load());
    manager().setLoadingEnabled(true);
    ASSERT_TRUE(eventually([&] { return !manager().hasPendingRequests(); }));
    EXPECT_DOUBLE_EQ(1.0, manager().getLoadProgress());
    EXPECT_TRUE(manager().getResourceAs<TestThing>("A1", "a"));
}

TEST_F(ResourceManagerTest, ASectionRequestedTwiceCountsOnce)
{
    declare("<Section name=\"a\"><TestRes id=\"A1\" file=\"a1\"/><TestRes id=\"A2\" file=\"a2\"/></Section>");
    manager().requestSection("a");
    manager().requestSection("a");
    EXPECT_TRUE(manager().getLoadedResource("A1", "a"));
    EXPECT_DOUBLE_EQ(0.5, manager().getLoadProgress());
    EXPECT_TRUE(manager().hasPendingRequests());
    EXPECT_TRUE(manager().getLoadedResource("A2", "a"));
    EXPECT_FALSE(manager().hasPendingRequests());
    EXPECT_DOUBLE_EQ(1.0, manager().getLoadProgress());
}

TEST_F(ResourceManagerTest, RequestedSectionsGoBeforeAutomaticOnes)
{
    gate.close();
    manager().setLoadingEnabled(true);
    declare("<Section name=\"auto\" auto=\"true\"><TestRes id=\"X1\" file=\"x1\"/><TestRes id=\"X2\" file=\"x2\"/>"
            "<TestRes id=\"X3\" file=\"x3\"/></Section>"
            "<Section name=\"wanted\"><TestRes id=\"W1\" file=\"w1\"/><TestRes id=\"W2\" file=\"w2\"/></Section>");
    // The loader is now inside x1; the request is served right after it.
    ASSERT_TRUE(gate.waitForWaiter());
    manager().requestSection("wanted");
    manager().requestSection("wanted");
    gate.open();
    ASSERT_TRUE(eventually([&] { return loads.load() == 5; }));
    EXPECT_EQ("x1 w1 w2 x2 x3 ", order());
    // The automatic section never counted toward the progress.
    EXPECT_DOUBLE_EQ(1.0, manager().getLoadProgress());

    // Nor does it once the loader has left it: a later request's progress
    // counts only what was requested (the two of "wanted", none of "later").
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    gate.close();
    declare("<Section name=\"later\"><TestRes id=\"L1\" file=\"l1\"/></Section>");
    manager().requestSection("later");
    ASSERT_TRUE(gate.waitForWaiter());
    EXPECT_DOUBLE_EQ(2.0 / 3.0, manager().getLoadProgress());
    gate.open();
    ASSERT_TRUE(eventually([&] { return !manager().hasPendingRequests(); }));
    EXPECT_DOUBLE_EQ(1.0, manager().getLoadProgress());
}

TEST_F(ResourceManagerTest, LoadedSectionsAreNotQueuedAgainAndSharedFilesLoadOnce)
{
    manager().setLoadingEnabled(true);
    declare("<Section name=\"one\"><TestRes id=\"S\" file=\"shared\"/></Section>"
            "<Section name=\"two\"><TestRes id=\"T\" file=\"Shared\"/><TestRes id=\"U\" file=\"own\"/></Section>");
    manager().requestSection("one");
    ASSERT_TRUE(eventually([&] { return !manager().hasPendingRequests(); }));
    manager().clearLoadQueue();
    manager().requestSection("one");
    EXPECT_DOUBLE_EQ(1.0, manager().getLoadProgress());
    manager().requestSection("two");
    ASSERT_TRUE(eventually([&] { return !manager().hasPendingRequests(); }));
    EXPECT_EQ(2, loads.load());
    EXPECT_EQ(manager().getResource("S", "one"), manager().getResource("T", "two"));
    manager().requestSection("nowhere");
    EXPECT_EQ(nullptr, manager().getResource("S", "nowhere"));
    EXPECT_EQ(nullptr, manager().getResource("missing", "one"));
}

TEST_F(ResourceManagerTest, FailedResourcesStillCompleteTheirSection)
{
    LogCapture log;
    manager().setLoadingEnabled(true);
    declare("<Section name=\"s\"><TestRes id=\"B\" file=\"broken\"/><TestRes id=\"G\" file=\"good\"/>"
            "<NoSuchKind id=\"N\" file=\"n\"/><Integer id=\"V\" value=\"1\"/></Section>");
    manager().requestSection("s");
    ASSERT_TRUE(eventually([&] { return !manager().hasPendingRequests(); }));
    EXPECT_EQ(nullptr, manager().getResource("B", "s"));
    EXPECT_NE(nullptr, manager().getResource("G", "s"));
    EXPECT_EQ(nullptr, manager().getSection("s")->getObject("N"));
    EXPECT_TRUE(log.contains("NoSuchKind"));
    ResourceLock lock;
    EXPECT_TRUE(manager().getSection("s")->getObject("B")->hasError());
    EXPECT_EQ(2u, manager().getSection("s")->getObjects().size());
}

TEST_F(ResourceManagerTest, SynchronousLoadsAndUnloads)
{
    declare("<Section name=\"s\"><TestRes id=\"A\" file=\"a\"/></Section>");
    // Loading is not enabled: the caller loads it itself.
    EXPECT_EQ(nullptr, manager().getResource("A", "s"));
    RefPointer<TestThing> thing = manager().getLoadedResourceAs<TestThing>("A", "s");
    EXPECT_TRUE(thing);
    EXPECT_EQ(1, loads.load());
    manager().unloadSection("s");
    EXPECT_EQ(nullptr, manager().getResource("A", "s"));
    // The caller's reference keeps the old content alive.
    EXPECT_EQ(1, thing->getReferenceCount());
    EXPECT_TRUE(manager().getLoadedResource("A", "s"));
    EXPECT_EQ(2, loads.load());
    EXPECT_EQ(nullptr, manager().getLoadedResource("A", "nowhere"));
}

TEST_F(ResourceManagerTest, UnloadDuringALoadDropsItsResult)
{
    manager().setLoadingEnabled(true);
    gate.close();
    declare("<Section name=\"s\"><TestRes id=\"A\" file=\"a\"/></Section>");
    manager().requestSection("s");
    ASSERT_TRUE(gate.waitForWaiter());
    {
        ResourceLock lock;
        manager().getSection("s")->getObject("A")->unload();
    }
    gate.open();
    // The load in hand is dropped; the section is loaded again afterwards.
    ASSERT_TRUE(eventually([&] { return !manager().hasPendingRequests(); }));
    EXPECT_EQ(2, loads.load());
    EXPECT_TRUE(manager().getResource("A", "s"));
}

TEST_F(ResourceManagerTest, RemovingSections)
{
    declare("<Section name=\"a\"><TestRes id=\"S\" file=\"shared\"/></Section>"
            "<Section name=\"b\"><TestRes id=\"S\" file=\"shared\"/></Section>");
    EXPECT_TRUE(manager().getLoadedResource("S", "a"));
    manager().removeSection("a", false);
    EXPECT_EQ(nullptr, manager().getSection("a"));
    EXPECT_TRUE(manager().getResource("S", "b"));
    manager().removeSection("b", true);
    EXPECT_EQ(nullptr, manager().getSection("b"));
    manager().removeSection("none", true);
}

TEST_F(ResourceManagerTest, ASectionLeavingUnloadsOnlyWhatNoOtherSectionHolds)
{
    // One font file named by the loading screen's section and the default one:
    // dropping the first must not take it from the second.
    for (const bool removeIt : {false, true}) {
        SCOPED_TRACE(removeIt ? "removed" : "unloaded");
        declare("<Section name=\"first\"><TestRes id=\"F\" file=\"font\"/><TestRes id=\"O\" file=\"own\"/></Section>"
                "<Section name=\"second\"><TestRes id=\"F\" file=\"font\"/></Section>");
        ASSERT_TRUE(manager().getLoadedResource("F", "first"));
        ASSERT_TRUE(manager().getLoadedResource("O", "first"));
        if (removeIt)
            manager().removeSection("first", true);
        else
            manager().unloadSection("first");
        EXPECT_TRUE(manager().getResource("F", "second"));
        if (!removeIt) {
            EXPECT_EQ(nullptr, manager().getResource("O", "first"));
        }
        manager().removeSection("first", true);
        manager().removeSection("second", true);
    }
}

TEST_F(ResourceManagerTest, ShutDownWhileLoadingJoinsCleanly)
{
    manager().setLoadingEnabled(true);
    gate.close();
    declare("<Section name=\"s\" auto=\"true\"><TestRes id=\"A\" file=\"a\"/><TestRes id=\"B\" file=\"b\"/>"
            "<TestRes id=\"C\" file=\"c\"/><TestRes id=\"D\" file=\"d\"/></Section>");
    ASSERT_TRUE(gate.waitForWaiter());
    std::thread opener([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        gate.open();
    });
    ResourceManager::destroyInstance();
    opener.join();
    EXPECT_EQ(nullptr, ResourceManager::instance);
    // The load in hand finishes; the rest of the section is left.
    EXPECT_EQ(1, loads.load());
}

TEST_F(ResourceManagerTest, ManyRequestCyclesLoseNoWakeUp)
{
    manager().setLoadingEnabled(true);
    declare("<Section name=\"s\"><TestRes id=\"A\" file=\"a\"/></Section>");
    for (int cycle = 0; cycle < 300; ++cycle) {
        manager().unloadSection("s");
        manager().clearLoadQueue();
        manager().requestSection("s");
        ASSERT_TRUE(eventually([&] { return !manager().hasPendingRequests(); })) << cycle;
    }
    EXPECT_GE(loads.load(), 300);
}

TEST(ResourceKindsTest, ImageSoundAndStreamResources)
{
    LogCapture log;
    ResourceManager::create();
    // Resource file names are relative (a leading "/" is dropped) and lower-cased.
    const std::string folder = makeRelativeTestFolder("resourcekinds");
    testimages::PngSpec spec;
    spec.width = 4;
    spec.height = 2;
    const std::vector<uint16_t> samples(4 * 2 * 3, 200);
    const std::vector<uint8_t> png = testimages::encodePng(spec, samples);
    writeTestFile(folder + "/pic.png", std::string(png.begin(), png.end()));
    testimages::PngSpec greySpec;
    greySpec.width = 4;
    greySpec.height = 2;
    greySpec.colourType = 0;
    const std::vector<uint16_t> ramp = {0, 1, 64, 128, 200, 254, 255, 17};
    const std::vector<uint8_t> grey = testimages::encodePng(greySpec, ramp);
    writeTestFile(folder + "/mask.png", std::string(grey.begin(), grey.end()));
    // A stream only needs its file to exist until it plays.
    writeTestFile(folder + "/music.ogg", "not decoded here");
    writeTestFile(folder + "/sync.xml", "<root><Vector id=\"SyncPoints\"><Node value=\"100\"/><Node value=\"250\"/>"
                                        "</Vector></root>");
    // Files named in an earlier section are shared by a later one when the
    // file, the mask and the colour key all match.
    const std::string xml = "<root><Vector id=\"Sections\"><Section name=\"k\">"
                            "<Image id=\"PIC\" file=\"" + folder + "/PIC.PNG\" nrofframes=\"2\" usealphachannel=\"false\"/>"
                            "<Image id=\"NONE\" file=\"" + folder + "/none.png\"/>"
                            "<Image id=\"MASK\" mask=\"" + folder + "/mask.png\"/>"
                            "<Image id=\"MASKED\" file=\"" + folder + "/pic.png\" mask=\"" + folder + "/mask.png\"/>"
                            "<Image id=\"GREY\" file=\"" + folder + "/mask.png\"/>"
                            "<Image id=\"GREY_ALPHA\" file=\"" + folder + "/mask.png\" alpha=\"true\"/>"
                            "<Sound id=\"SND\" file=\"" + folder + "/none.wav\" volumemultiplier=\"127.5\"/>"
                            "<Sound id=\"SND_FULL\" file=\"" + folder + "/none.wav\"/>"
                            "<Stream id=\"MUS\" file=\"" + folder + "/none.ogg\" panning=\"300\"/>"
                            "<Stream id=\"MUS_PLAIN\" file=\"" + folder + "/music.ogg\"/>"
                            "<Stream id=\"MUS_SET\" file=\"" + folder + "/music.ogg\" volumemultiplier=\"0.5\" "
                            "panning=\"40\" syncpointsfile=\"" + folder + "/sync.xml\"/>"
                            "</Section><Section name=\"k2\">"
                            "<Image id=\"PIC_RED\" file=\"" + folder + "/pic.png\" color=\"#ff0000\"/>"
                            "<Image id=\"PIC_AGAIN\" file=\"" + folder + "/pic.png\"/>"
                            "<Image id=\"MASKED_AGAIN\" file=\"" + folder + "/pic.png\" mask=\"" + folder + "/mask.png\"/>"
                            "</Section></Vector></root>";
    const std::string path = folder + "/resources.xml";
    writeTestFile(path, xml);
    ResourceManager::instance->addResourceFile(path);
    ASSERT_TRUE(ResourceManager::instance->loadResourceFiles());
    RefPointer<Image> image = ResourceManager::instance->getLoadedResourceAs<Image>("PIC", "k");
    ASSERT_TRUE(image);
    EXPECT_EQ(4, image->getWidth());
    EXPECT_EQ(2, image->getFrameCount());
    EXPECT_FALSE(image->hasAlphaChannel());
    // Without the keys: one frame, with its alpha channel.
    RefPointer<Image> red = ResourceManager::instance->getLoadedResourceAs<Image>("PIC_RED", "k2");
    ASSERT_TRUE(red);
    EXPECT_EQ(1, red->getFrameCount());
    EXPECT_TRUE(red->hasAlphaChannel());
    // A grey picture keeps its grey opaque, unless "alpha" makes the grey its alpha.
    RefPointer<Image> greyPicture = ResourceManager::instance->getLoadedResourceAs<Image>("GREY", "k");
    RefPointer<Image> greyAlpha = ResourceManager::instance->getLoadedResourceAs<Image>("GREY_ALPHA", "k");
    ASSERT_TRUE(greyPicture && greyAlpha);
    ASSERT_EQ(4, greyPicture->getBytesPerPixel());
    ASSERT_EQ(4, greyAlpha->getBytesPerPixel());
    {
        ImageLock greyPixels(greyPicture.get());
        ImageLock alphaPixels(greyAlpha.get());
        EXPECT_EQ(0xFF404040u, greyPicture->row32(0)[2]);
        EXPECT_EQ(64u, greyAlpha->row32(0)[2] >> 24);
    }
    EXPECT_EQ(nullptr, ResourceManager::instance->getLoadedResource("NONE", "k"));
    // A mask alone loads as a one-byte mask image; a mask beside a file is drawn over it.
    RefPointer<Image> mask = ResourceManager::instance->getLoadedResourceAs<Image>("MASK", "k");
    ASSERT_TRUE(mask);
    EXPECT_EQ(1, mask->getBytesPerPixel());
    // A picture with a mask keeps its colours and takes the mask as its alpha.
    RefPointer<Image> masked = ResourceManager::instance->getLoadedResourceAs<Image>("MASKED", "k");
    ASSERT_TRUE(masked);
    ASSERT_EQ(4, masked->getBytesPerPixel());
    {
        ImageLock pixels(masked.get());
        for (int i = 0; i < 8; ++i) {
            const uint8_t* pixel = masked->getPixels() + (i / 4) * masked->getPitch() + (i % 4) * 4;
            EXPECT_EQ(pixel[0], 200) << i;
            EXPECT_EQ(pixel[1], 200) << i;
            EXPECT_EQ(pixel[2], 200) << i;
            EXPECT_EQ(pixel[3], ramp[static_cast<size_t>(i)]) << i;
        }
    }
    {
        ResourceLock lock;
        ResourceSection* section = ResourceManager::instance->getSection("k");
        ResourceSection* later = ResourceManager::instance->getSection("k2");
        // Another colour key makes another resource; the same file, mask and key make the same one.
        EXPECT_NE(section->getObject("PIC"), later->getObject("PIC_RED"));
        EXPECT_EQ(section->getObject("PIC"), later->getObject("PIC_AGAIN"));
        EXPECT_EQ(section->getObject("MASKED"), later->getObject("MASKED_AGAIN"));
        EXPECT_NE(section->getObject("PIC"), later->getObject("MASKED_AGAIN"));
        EXPECT_TRUE(section->getObject("NONE")->hasError());
        auto* stream = objectCast<StreamResource>(section->getObject("MUS"));
        ASSERT_NE(nullptr, stream);
        EXPECT_EQ(44, stream->getPanning());
    }
    RefPointer<Sound> sound = ResourceManager::instance->getLoadedResourceAs<Sound>("SND", "k");
    ASSERT_TRUE(sound);
    EXPECT_FLOAT_EQ(0.5f, sound->volumeFactor);
    RefPointer<Sound> fullSound = ResourceManager::instance->getLoadedResourceAs<Sound>("SND_FULL", "k");
    ASSERT_TRUE(fullSound);
    EXPECT_FLOAT_EQ(1.0f, fullSound->volumeFactor);
    RefPointer<SoundStream> music = ResourceManager::instance->getLoadedResourceAs<SoundStream>("MUS", "k");
    ASSERT_TRUE(music);
    EXPECT_EQ("", music->fileName);
    RefPointer<SoundStream> plain = ResourceManager::instance->getLoadedResourceAs<SoundStream>("MUS_PLAIN", "k");
    ASSERT_TRUE(plain);
    EXPECT_EQ(folder + "/music.ogg", plain->fileName);
    // Music streams from a plain file on disk, never from the archive.
    EXPECT_EQ(FILE_MODE_FILE, plain->fileMode);
    EXPECT_FLOAT_EQ(1.0f, plain->volumeFactor);
    EXPECT_EQ(128, plain->panning);
    EXPECT_TRUE(plain->syncPoints.empty());
    RefPointer<SoundStream> set = ResourceManager::instance->getLoadedResourceAs<SoundStream>("MUS_SET", "k");
    ASSERT_TRUE(set);
    EXPECT_FLOAT_EQ(0.5f, set->volumeFactor);
    EXPECT_EQ(40, set->panning);
    EXPECT_EQ((std::vector<uint32_t> {100, 250}), set->syncPoints);
    ResourceManager::destroyInstance();
}

} // namespace
