#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyNode.h"
#include "framework/core/SetupStore.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/gui/FullScreenHandler.h"
#include "framework/gui/SceneManager.h"
#include "framework/platform/GameWindow.h"
#include "framework/platform/InputHandler.h"
#include "framework/resources/ResourceLookup.h"
#include "host/FakeHostPlatform.h"

// A fake host with an 800 x 600 window, an empty setup store, the scene
// manager, and resources served from a map ("section/name").
class GuiFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        GameWindow::create("Tortelune", 800, 600, false, 4, 0);
        SetupStore::createInstance();
        SceneManager::create();
        previousLookup = ResourceLookup::install(&lookUp);
        Sprite::setImageLookup(&imageLookUp);
        resources().clear();
        InputHandler::hoverCount = 0;
        for (uint8_t& key : InputHandler::keyState)
            key = 0;
    }
    void TearDown() override
    {
        FullScreenHandler::destroyInstance();
        SceneManager::destroyInstance();
        SetupStore::destroyInstance();
        ResourceLookup::install(previousLookup);
        Sprite::setImageLookup(nullptr);
        resources().clear();
        GameWindow::destroyInstance();
    }

    static std::map<std::string, RefPointer<BaseObject>>& resources()
    {
        static std::map<std::string, RefPointer<BaseObject>> map;
        return map;
    }
    static RefPointer<BaseObject> lookUp(const std::string& name, const std::string& section)
    {
        auto found = resources().find(section + "/" + name);
        return found == resources().end() ? RefPointer<BaseObject>() : found->second;
    }
    static Image* imageLookUp(const std::string& name, const std::string& section)
    {
        return objectCast<Image>(lookUp(name, section).get());
    }
    static void addResource(const std::string& section, const std::string& name, BaseObject* object)
    {
        resources()[section + "/" + name] = object;
    }

    // A 4-byte image filled with one colour (0xAARRGGBB).
    static RefPointer<Image> solidImage(int width, int height, uint32_t colour)
    {
        RefPointer<Image> image = Image::create(width, height, 4);
        image->setHasAlphaChannel(true);
        RefPointer<Graphics> graphics = image->getGraphics();
        graphics->setColour(colour);
        graphics->clear();
        graphics->fillRectChannel(Graphics::ChannelAlpha, static_cast<int32_t>(colour >> 24), 0, 0, width,
                                  height);
        return image;
    }

    // Loads one XML text into the setup store.
    static void loadSetup(const std::string& xml) { ASSERT_TRUE(SetupStore::instance->loadFromTexts({xml})); }

    template <class T>
    static RefPointer<T> create(const std::string& typeName, PropertyNode* node)
    {
        return ObjectFactoryContainer::instance->create<T>(typeName, node);
    }

    FakeHostWindow* hostWindow() { return platform.lastWindow(); }

    ScopedFakeHostPlatform platform;
    ResourceLookup::Function previousLookup = nullptr;
};
