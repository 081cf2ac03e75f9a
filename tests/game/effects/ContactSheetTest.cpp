#include <gtest/gtest.h>

#include <sys/stat.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/ImageDecoders.h"
#include "framework/resources/ResourceLookup.h"
#include "framework/scenegraph/Label.h"
#include "framework/scenegraph/ModifierDelay.h"
#include "framework/scenegraph/RenderTask.h"
#include "framework/scenegraph/Sprite.h"
#include "game/effects/Effects.h"
#include "game/effects/LettersLabel.h"
#include "game/effects/ModifierEmitter.h"
#include "game/effects/ModifierEmitterBling.h"
#include "support/FontFixtures.h"
#include "ScopedEffectRandom.h"

namespace {

std::string mediaPath(const std::string& name)
{
    return std::string(TORTELUNE_SOURCE_DIR) + "/media/" + name;
}

// The effects' pictures, found by name as the resource table names them.
std::map<std::pair<std::string, std::string>, RefPointer<BaseObject>>& resources()
{
    static std::map<std::pair<std::string, std::string>, RefPointer<BaseObject>> table;
    return table;
}

RefPointer<BaseObject> lookUp(const std::string& name, const std::string& section)
{
    auto found = resources().find({name, section});
    return found == resources().end() ? RefPointer<BaseObject>() : found->second;
}

RefPointer<Image> png(const std::string& file)
{
    return loadPngFile(mediaPath(file), 0);
}

constexpr int kCellWidth = 400;
constexpr int kCellHeight = 300;

// One row of the sheet: builds the effect on a fresh stage (800 x 600 when
// `screen`, else one cell) and shows it at each moment.
struct Row {
    const char* name;
    bool screen;
    std::vector<int> moments;
    std::function<void(GameNode* stage, AnimTree* tree)> build;
};

class EffectsContactSheet : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous = ResourceLookup::install(&lookUp);
        for (int k = 0; k < 3; ++k) {
            add("CONFETTI" + std::to_string(k), "dialogs", png("images/dialogs/confetti" + std::to_string(k) + ".png"));
            add("CONFETTISMALL" + std::to_string(k), "dialogs",
                png("images/dialogs/confettismall" + std::to_string(k) + ".png"));
        }
        for (int k = 0; k < 2; ++k) {
            add("CONFETTISTARS" + std::to_string(k), "dialogs",
                png("images/dialogs/confettistars" + std::to_string(k) + ".png"));
            add("CONFETTISTARSSMALL" + std::to_string(k), "dialogs",
                png("images/dialogs/confettistarssmall" + std::to_string(k) + ".png"));
        }
        add("SPARKLE_MEDIUM", "scenegame", png("images/game/sparkle_medium.png"));
        add("TWINKLE_LARGE", "default", png("images/effects/twinkle_large.png"));
        add("TWINKLE_SMALL", "default", png("images/effects/twinkle_small.png"));
        background = loadJpegFile(mediaPath("images/game/background.jpg"));
        ASSERT_TRUE(background);
        font = loadFontFile(mediaPath("fonts/title.xml"));
        ASSERT_TRUE(font);
    }

    void TearDown() override
    {
        ResourceLookup::install(previous);
        resources().clear();
    }

    void add(const std::string& name, const std::string& section, RefPointer<Image> image)
    {
        ASSERT_TRUE(image) << name;
        resources()[{name, section}] = image.get();
    }

    // The stage after `moment` ms of 20 ms frames, drawn into a new picture.
    RefPointer<Image> renderMoment(const Row& row, int moment, int cellX, int cellY)
    {
        const int width = row.screen ? 800 : kCellWidth;
        const int height = row.screen ? 600 : kCellHeight;
        RefPointer<GameNode> stage(new GameNode());
        RefPointer<Sprite> backdrop(new Sprite(row.screen ? 0 : -cellX, row.screen ? 0 : -cellY, background.get()));
        GameNode::addChild(stage.get(), backdrop.get());
        RefPointer<AnimTree> tree(new AnimTree());
        row.build(stage.get(), tree.get());
        for (int elapsed = 0; elapsed < moment; elapsed += 20) {
            GameNode::visitSubtree(stage.get(), [](GameNode* node) { GameNode::updateModifiers(node, 20); });
            Modifier::updateTree(tree.get(), 20);
            Modifier::purgeFinished(tree.get());
        }
        RefPointer<Image> picture = Image::create(width, height, 4);
        RefPointer<Graphics> graphics = picture->getGraphics();
        graphics->clear();
        RenderTask::renderFrame(nullptr, graphics.get(), stage.get());
        tree.reset();
        GameNode::visitSubtree(stage.get(), [](GameNode* node) { GameNode::clearModifiers(node); });
        return picture;
    }

    RefPointer<Image> background;
    RefPointer<BitmapFont> font;
    ResourceLookup::Function previous = nullptr;
};

RefPointer<Sprite> centredSprite(GameNode* stage, Image* image, int x, int y)
{
    RefPointer<Sprite> sprite(new Sprite(x, y, image));
    sprite->setAnchorPoint(Sprite::Center);
    sprite->setPivotPointKind(Sprite::Center);
    GameNode::addChild(stage, sprite.get());
    return sprite;
}

// Copies `from` into the sheet at (x, y), halving it when `halve`; every pixel made opaque.
void paste(Image* sheet, Image* from, int x, int y, bool halve)
{
    const int step = halve ? 2 : 1;
    for (int row = 0; row < from->getHeight() / step; ++row) {
        for (int column = 0; column < from->getWidth() / step; ++column) {
            uint8_t* out = Sprite::pixelAddress(sheet, x + column, y + row);
            for (int channel = 0; channel < 3; ++channel) {
                int sum = 0;
                for (int dy = 0; dy < step; ++dy) {
                    for (int dx = 0; dx < step; ++dx)
                        sum += Sprite::pixelAddress(from, column * step + dx, row * step + dy)[channel];
                }
                out[channel] = static_cast<uint8_t>(sum / (step * step));
            }
            out[3] = 255;
        }
    }
}

int differingPixels(Image* a, Image* b)
{
    int count = 0;
    for (int y = 0; y < a->getHeight(); ++y) {
        for (int x = 0; x < a->getWidth(); ++x) {
            const uint8_t* p = Sprite::pixelAddress(a, x, y);
            const uint8_t* q = Sprite::pixelAddress(b, x, y);
            count += (p[0] != q[0] || p[1] != q[1] || p[2] != q[2]) ? 1 : 0;
        }
    }
    return count;
}

} // namespace

TEST_F(EffectsContactSheet, EveryEffectAtFourMomentsOfItsLife)
{
    ScopedEffectRandom draws;
    RefPointer<Image> strawberry = png("images/game/tiles/strawberry.png");
    RefPointer<Image> cherry = png("images/game/tiles/cherry.png");
    RefPointer<Image> lemon = png("images/game/tiles/lemon.png");
    RefPointer<Image> cake = png("images/game/pastries/birthdaycake.png");
    RefPointer<Image> bread = png("images/game/pastries/bananabread.png");
    RefPointer<Image> banner = png("images/game/bonusfrenzy.png");
    for (Image* image : {strawberry.get(), cherry.get(), lemon.get(), cake.get(), bread.get(), banner.get()})
        ASSERT_TRUE(image);
    BitmapFont* title = font.get();

    const std::vector<Row> rows = {
        {"pops", false, {80, 160, 260, 420},
         [&](GameNode* stage, AnimTree* tree) {
             addPopEffect(centredSprite(stage, strawberry.get(), 90, 150).get(), tree, true, false, 0.5f);
             addBouncePopEffect(centredSprite(stage, cherry.get(), 200, 150).get(), tree, false, false, 0.5f);
             addPopEffect(centredSprite(stage, lemon.get(), 310, 150).get(), tree, false, true, 0.5f);
         }},
        {"jelly and fade-in", false, {120, 340, 560, 800},
         [&](GameNode* stage, AnimTree* tree) {
             addJellyEffect(centredSprite(stage, cake.get(), 110, 140).get(), tree, 0, false, false);
             addJellyEffect(centredSprite(stage, bread.get(), 290, 140).get(), tree, 200, false, true);
             RefPointer<Label> score(new Label(title, 200, 262, 380, 60, 0));
             score->setAnchorStyle(Sprite::Center);
             score->setAlignH(1);
             score->setText(u"12,345");
             GameNode::addChild(stage, score.get());
             // The reveal of the results dialogs, a little later so that it is caught midway.
             Modifier* wait = Modifier::addChild(tree, new ModifierDelay(300));
             wait->setTarget(score.get());
             addFadeInEffect(score.get(), wait, true, 1.5f, 1.0f, 128, 255);
         }},
        {"letters", false, {120, 300, 480, 900},
         [&](GameNode* stage, AnimTree* tree) {
             RefPointer<Label> text(new Label(title, 200, 150, 380, 80, 0));
             text->setAnchorStyle(Sprite::Center);
             text->setAlignH(1);
             text->setText(u"Combo x5!");
             RefPointer<LettersLabel> letters(new LettersLabel(text.get()));
             GameNode::addChild(stage, letters.get());
             letters->buildLetters();
             int index = 0;
             for (const RefPointer<Sprite>& letter : letters->getLetters()) {
                 letter->setStretchSize(0, 0);
                 Modifier* wait = Modifier::addChild(tree, new ModifierDelay(60 * index++));
                 wait->setTarget(letter.get());
                 addBouncePopEffect(letter.get(), wait, true, false, 0.4f);
             }
         }},
        {"confetti", true, {700, 1500, 2600, 4000},
         [&](GameNode* stage, AnimTree* tree) {
             addConfettiBurst(stage, tree, 150, 1500, 80, 720, true);
             addConfettiBurst2(stage, tree, 50, 1500, 80, 720, false);
         }},
        {"star confetti", true, {500, 1200, 2200, 3400},
         [&](GameNode* stage, AnimTree* tree) { addStarConfettiBurst(stage, tree, 60, 1200, 600, 200); }},
        {"slide-through", true, {240, 520, 980, 2000},
         [&](GameNode* stage, AnimTree* tree) {
             RefPointer<Sprite> frenzy(new Sprite(0, 0, banner.get()));
             GameNode::addChild(stage, frenzy.get());
             addSlideThroughEffect(frenzy.get(), tree, true, nullptr);
         }},
        {"sparkles and twinkles", false, {160, 420, 700, 1000},
         [&](GameNode* stage, AnimTree* tree) {
             RefPointer<Sprite> goal = centredSprite(stage, cake.get(), 110, 150);
             auto* emitter = new ModifierEmitter(60, 0xFFF58A);
             emitter->setLayer(stage);
             GameNode::addModifier(goal.get(), emitter);
             RefPointer<Sprite> shine = centredSprite(stage, bread.get(), 290, 150);
             auto* bling = new ModifierEmitterBling(6, 150, 250, 0, 300);
             bling->setTarget(shine.get());
             Modifier::addChild(tree, bling);
         }},
    };

    const int columns = 4;
    RefPointer<Image> sheet = Image::create(columns * kCellWidth, static_cast<int>(rows.size()) * kCellHeight, 4);
    ASSERT_TRUE(sheet);
    for (size_t r = 0; r < rows.size(); ++r) {
        const Row& row = rows[r];
        const int cellY = static_cast<int>(r) * kCellHeight;
        Row plain = row;
        plain.build = [](GameNode*, AnimTree*) {};
        RefPointer<Image> empty = renderMoment(plain, 0, 170, 142);
        for (int c = 0; c < columns; ++c) {
            RefPointer<Image> moment = renderMoment(row, row.moments[static_cast<size_t>(c)], 170, 142);
            EXPECT_GT(differingPixels(moment.get(), empty.get()), 200)
                << row.name << " shows nothing at " << row.moments[static_cast<size_t>(c)] << " ms";
            paste(sheet.get(), moment.get(), c * kCellWidth, cellY, row.screen);
        }
    }
    const std::string folder = std::string(TORTELUNE_BINARY_DIR) + "/pictures";
    mkdir(folder.c_str(), 0755);
    EXPECT_TRUE(writePng(sheet.get(), folder + "/effects_contact_sheet.png"));
}
