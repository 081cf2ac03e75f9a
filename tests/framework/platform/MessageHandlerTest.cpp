#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "framework/core/RefPointer.h"
#include "framework/platform/MessageHandler.h"
#include "host/FakeHostPlatform.h"

namespace {

class ScriptedListener : public iMessageListener {
public:
    void onMessage(uint32_t message, uint32_t, uint32_t) override
    {
        heard.push_back(message);
        if (reaction)
            reaction();
    }
    std::vector<uint32_t> heard;
    std::function<void()> reaction;
};

TEST(MessageHandler, BroadcastsInOrderAndListsEachListenerOnce)
{
    RefPointer<MessageHandler> handler(new MessageHandler());
    std::vector<int> order;
    ScriptedListener first, second;
    first.reaction = [&] { order.push_back(1); };
    second.reaction = [&] { order.push_back(2); };
    handler->addListener(&first);
    handler->addListener(&second);
    handler->addListener(&first);
    handler->addListener(nullptr);
    EXPECT_EQ(handler->getListenerCount(), 2u);
    handler->broadcast(WM_PAINT, 0, 0);
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    handler->removeListener(&first);
    handler->broadcast(WM_PAINT, 0, 0);
    EXPECT_EQ(first.heard.size(), 1u);
    EXPECT_EQ(second.heard.size(), 2u);
}

TEST(MessageHandler, ListenersChangeTheListDuringABroadcastWithoutWaiting)
{
    ScopedFakeHostPlatform platform;
    RefPointer<MessageHandler> handler(new MessageHandler());
    ScriptedListener remover, removed, late;
    remover.reaction = [&] {
        EXPECT_TRUE(handler->isBroadcasting());
        handler->removeListener(&removed);
        handler->removeListener(&remover);
        handler->addListener(&late);
    };
    handler->addListener(&remover);
    handler->addListener(&removed);
    handler->broadcast(WM_CLOSE, 0, 0);
    EXPECT_EQ(remover.heard.size(), 1u);
    EXPECT_TRUE(removed.heard.empty()) << "a listener removed during the broadcast is not called";
    EXPECT_TRUE(late.heard.empty()) << "one added during the broadcast hears the next message";
    EXPECT_FALSE(handler->isBroadcasting());
    EXPECT_TRUE(platform.sleeps.empty());

    handler->broadcast(WM_PAINT, 0, 0);
    EXPECT_EQ(late.heard, std::vector<uint32_t>{WM_PAINT});
}

} // namespace
