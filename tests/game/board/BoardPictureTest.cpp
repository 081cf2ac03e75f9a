#include "BoardFixture.h"

#include <sys/stat.h>

#include <fstream>
#include <algorithm>
#include <map>
#include <set>
#include <regex>
#include <sstream>

#include "framework/graphics/BitmapFont.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/ImageDecoders.h"
#include "framework/resources/ResourceLookup.h"
#include "framework/scenegraph/PurgeTask.h"
#include "framework/scenegraph/RenderTask.h"
#include "game/board/BonusSprite.h"
#include "game/board/ChocolateLoverBonus.h"
#include "game/data/GameData.h"
#include "support/FontFixtures.h"

namespace {

std::map<std::string, RefPointer<BaseObject>> artwork;

RefPointer<BaseObject> findArtwork(const std::string& name, const std::string& section)
{
    if (section != "scenegame" && !(section == "default" && name == "FONT_NUMBERS"))
        return nullptr;
    auto it = artwork.find(name);
    return it == artwork.end() ? nullptr : it->second;
}

// The scene section's pictures and the counter font, as the resource table lists them.
void loadSceneArtwork()
{
    std::ifstream file(std::string(TORTELUNE_SOURCE_DIR) + "/media/properties/resources.xml");
    std::stringstream text;
    text << file.rdbuf();
    const std::string xml = text.str();
    const size_t start = xml.find("name=\"scenegame\"");
    const size_t end = xml.find("</Section>", start);
    const std::string section = xml.substr(start, end - start);
    const std::regex image("<Image id=\"([^\"]+)\" file=\"([^\"]+\\.png)\"(?: nrofframes=\"(\\d+)\")?");
    for (std::sregex_iterator it(section.begin(), section.end(), image), done; it != done; ++it) {
        RefPointer<Image> picture = loadPngFile(std::string(TORTELUNE_SOURCE_DIR) + "/" + (*it)[2].str(), 0);
        if (!picture)
            continue;
        if ((*it)[3].matched)
            picture->setFrameCount(std::stoi((*it)[3].str()));
        artwork[(*it)[1].str()] = picture.get();
    }
    artwork["FONT_COUNTER"] = loadFontFile(std::string(TORTELUNE_SOURCE_DIR) + "/media/fonts/dialogbold.xml").get();
    artwork["FONT_FLOATER_COMBO"] = loadFontFile(std::string(TORTELUNE_SOURCE_DIR) + "/media/fonts/header.xml").get();
    artwork["FONT_FLOATER_MATCH"] = loadFontFile(std::string(TORTELUNE_SOURCE_DIR) + "/media/fonts/numbers.xml").get();
    artwork["FONT_NUMBERS"] = artwork["FONT_FLOATER_MATCH"];
}

// The kitchen, the board's back and the scene tree, written opaque as the screen is.
void writeScenePicture(GameNode* root, const std::string& name)
{
    RefPointer<Image> canvas = Image::create(800, 600, 4);
    RefPointer<Graphics> g = canvas->getGraphics();
    RefPointer<Image> kitchen = loadJpegFile(std::string(TORTELUNE_SOURCE_DIR) + "/media/images/game/background.jpg");
    ASSERT_TRUE(kitchen);
    g->blit(kitchen.get(), 0, 0);
    RefPointer<Image> boardBack = loadPngFile(std::string(TORTELUNE_SOURCE_DIR) + "/media/images/game/board_back.png", 0);
    ASSERT_TRUE(boardBack);
    g->blit(boardBack.get(), 332, 16);
    RenderTask::renderNode(g.get(), root);
    g->fillChannel(Graphics::ChannelAlpha, 255, 0, 0);
    const std::string folder = std::string(TORTELUNE_BINARY_DIR) + "/pictures";
    mkdir(folder.c_str(), 0755);
    EXPECT_TRUE(writePng(canvas.get(), folder + "/" + name));
}

// A board in the middle of a cascade, drawn with the game's own art over the
// kitchen: tiles fading out under their bursts, tiles falling, new tiles in
// the spawn row, a selected tile and a hinted one.
TEST_F(BoardTest, PictureOfABoardMidCascade)
{
    loadSceneArtwork();
    ASSERT_TRUE(artwork.count("egg"));
    ASSERT_TRUE(artwork.count("REMOVE_MATCH"));
    ResourceLookup::Function previous = ResourceLookup::install(&findArtwork);
    setContents({{"egg", 10}, {"cream", 10}, {"strawberry", 10}, {"biscuit", 10}, {"chocolate", 10},
                 {"cherry", 10}, {"lemon", 10}, {"banana", 10}});
    data->getCurrentLevel().ingredients[5].unripeChance = 30;
    data->getCurrentLevel().ingredients[7].unripeChance = 30;
    // The board fills the 8 x 8 area above the counter on the right of the
    // kitchen, where the game screen's layout puts it.
    cells().fill();
    cells().eraseCell(6, 1);
    cells().putCell(new CellSprite(6, 1, "lemon", false, 3), 6, 1);
    buildGrid(340, 74);
    ASSERT_TRUE(runToRest());
    // Play swaps until one sets off a cascade.
    bool cascading = false;
    for (int attempt = 0; attempt < 200 && !cascading; ++attempt) {
        int c1 = -1, r1 = -1, c2 = -1, r2 = -1;
        for (int c = 0; c < 8 && c1 < 0; ++c)
            for (int r = 0; r < 7 && c1 < 0; ++r)
                if (grid->isValidSwap(c, (r + attempt) % 7, c, (r + attempt) % 7 + 1))
                    c1 = c, r1 = (r + attempt) % 7, c2 = c, r2 = r1 + 1;
        if (c1 < 0)
            break;
        grid->getController()->onLeftDown(screenX(c1), screenY(r1), 1, false);
        grid->getController()->onLeftDown(screenX(c2), screenY(r2), 1, false);
        int removals = 0;
        bool wasLeaving = false;
        int framesLeaving = 0;
        for (int i = 0; i < 400; ++i) {
            frame(20);
            int leaving = 0;
            cells().forEach([&](int, int, CellSprite* tile) {
                leaving += tile->getState() == CellSprite::Leaving ? 1 : 0;
            });
            // A second removal in one move is a cascade: a few frames into it
            // its tiles flash and fade under their bursts.
            if (leaving > 0 && !wasLeaving)
                ++removals;
            wasLeaving = leaving > 0;
            framesLeaving = leaving > 0 ? framesLeaving + 1 : 0;
            if (removals >= 2 && framesLeaving == 7) {
                cascading = true;
                break;
            }
            if (runToRest(1))
                break;
        }
    }
    ASSERT_TRUE(cascading);
    // A selection and a hint among the resting tiles.
    for (int r = 7; r >= 0; --r) {
        const RefPointer<CellSprite>& tile = cells().cellAt(0, r);
        if (tile && tile->getState() == CellSprite::Idle) {
            tile->setSelected();
            break;
        }
    }
    for (int r = 7; r >= 0; --r) {
        const RefPointer<CellSprite>& tile = cells().cellAt(7, r);
        if (tile && tile->getState() == CellSprite::Idle) {
            tile->setHighlighted();
            break;
        }
    }

    RefPointer<Image> canvas = Image::create(800, 600, 4);
    RefPointer<Graphics> g = canvas->getGraphics();
    RefPointer<Image> kitchen = loadJpegFile(std::string(TORTELUNE_SOURCE_DIR) + "/media/images/game/background.jpg");
    ASSERT_TRUE(kitchen);
    g->blit(kitchen.get(), 0, 0);
    RefPointer<Image> boardBack = loadPngFile(std::string(TORTELUNE_SOURCE_DIR) + "/media/images/game/board_back.png", 0);
    ASSERT_TRUE(boardBack);
    g->blit(boardBack.get(), 332, 16);
    RenderTask::renderNode(g.get(), root.get());
    // The picture file is opaque, as the screen is.
    g->fillChannel(Graphics::ChannelAlpha, 255, 0, 0);
    const std::string folder = std::string(TORTELUNE_BINARY_DIR) + "/pictures";
    mkdir(folder.c_str(), 0755);
    EXPECT_TRUE(writePng(canvas.get(), folder + "/board_mid_cascade.png"));
    ResourceLookup::install(previous);
    artwork.clear();
}

// A tile wears its ingredient's picture on any level; only a bonus takes
// its arcade picture, and only on an arcade level.
TEST_F(BoardTest, OnlyBonusesWearTheArcadePictures)
{
    loadSceneArtwork();
    ResourceLookup::Function previous = ResourceLookup::install(&findArtwork);
    ASSERT_TRUE(artwork.count("BONUS_ROWZAP") && artwork.count("BONUS_ROWZAP_ARCADE"));
    for (const int mode : {0, 1}) {
        SCOPED_TRACE(mode);
        data->state->mode = mode;
        RefPointer<CellSprite> egg(new CellSprite(0, 0, "egg", false, 1));
        EXPECT_EQ(egg->getImage(), artwork["egg"].get());
        RefPointer<BonusSprite> bonus = BonusSprite::create(0, 0, "row zap bonus");
        EXPECT_EQ(bonus->getImage(), artwork[mode == 1 ? "BONUS_ROWZAP_ARCADE" : "BONUS_ROWZAP"].get());
    }
    data->state->mode = 0;
    ResourceLookup::install(previous);
    artwork.clear();
}

// Bonus tiles among the ingredients while a cascade of two runs and a run of
// four are taken away: the combo floater pulses over the board and the
// length floater rises from the long run.
TEST_F(BoardTest, PictureOfBonusTilesAndAComboFloater)
{
    loadSceneArtwork();
    ResourceLookup::Function previous = ResourceLookup::install(&findArtwork);
    setBoard({"bcdbcabd", "cd*bc*bc", "aaaaecde", "bc*cdbc*", "cdbdcbdb", "bbbebcdc", "cdcdc*dc", "dcdcbdcd"});
    const std::vector<std::pair<std::array<int, 2>, std::string>> bonuses = {
        {{5, 1}, "column zap bonus"}, {{2, 3}, "block zap bonus"}, {{7, 3}, "star +1 bonus"},
        {{5, 6}, "chocolate lover bonus"}};
    for (const auto& [at, name] : bonuses) {
        cells().eraseCell(at[0], at[1]);
        cells().createCell(at[0], at[1], name, true);
    }
    buildGrid(340, 74);
    GameNode::addChild(root.get(), host->floaters.get());
    grid->removeMatches();
    EXPECT_GE(grid->getComboCount(), 2);
    ASSERT_NE(grid->getComboFloater(), nullptr);
    for (int i = 0; i < 12; ++i) {
        Modifier::updateTree(host->animTree.get(), 20);
        PurgeTask purge(root.get(), host->animTree.get());
        purge.run(20);
    }
    writeScenePicture(root.get(), "board_bonuses_combo.png");
    ResourceLookup::install(previous);
    artwork.clear();
}

// Bonuses at work with the real art: a row zap whisking its row away under
// its bursts, a fruit picker showing its name, a hovered block zap marking
// its neighbours and a selected star bonus, among the other kinds at rest.
TEST_F(BoardTest, PictureOfBonusesAtWork)
{
    loadSceneArtwork();
    ASSERT_TRUE(artwork.count("BONUS_ROWZAP"));
    ASSERT_TRUE(artwork.count("REMOVE_BONUS_MATCH"));
    ResourceLookup::Function previous = ResourceLookup::install(&findArtwork);
    for (const char* name : {"NODE_HOVER", "NODE_GRIDPOPUPS", "NODE_GRIDZAP"}) {
        RefPointer<GameNode> layer(new GameNode(name));
        GameNode::addChild(root.get(), layer.get());
    }
    setBoard({"abcdabcd", "bcdabcda", "cdabcdab", "dabcdabc", "abcdabcd", "bcdabcda", "cdabcdab", "dabcdabc"});
    const std::vector<std::pair<std::array<int, 2>, std::string>> bonuses = {
        {{1, 2}, "row zap bonus"},        {{5, 5}, "block zap bonus"},    {{6, 0}, "fruit picker bonus"},
        {{2, 6}, "star +5 bonus"},        {{0, 7}, "secret bonus"},       {{7, 6}, "total refresh bonus"},
        {{4, 0}, "chocolate lover bonus"}, {{3, 4}, "random zap bonus"}, {{7, 3}, "work done bonus"}};
    for (const auto& [at, name] : bonuses) {
        cells().eraseCell(at[0], at[1]);
        cells().createCell(at[0], at[1], name, true);
    }
    buildGrid(340, 74);
    host->playing = false;
    grid->activateBonusAt(1, 2);
    grid->activateBonusAt(6, 0);
    for (int i = 0; i < 16; ++i)
        frame(20);
    ASSERT_TRUE(tilesAt({{5, 5}, {2, 6}}));
    cells().cellAt(5, 5)->showHover();
    cells().cellAt(2, 6)->setSelected();
    for (int i = 0; i < 10; ++i)
        frame(20);
    writeScenePicture(root.get(), "board_bonuses_at_work.png");
    ASSERT_NE(root->findNode("NODE_HOVER"), nullptr);
    ASSERT_NE(root->findNode("NODE_GRIDPOPUPS"), nullptr);
    EXPECT_EQ(root->findNode("NODE_HOVER")->getChildCount(), 8);
    EXPECT_EQ(root->findNode("NODE_GRIDPOPUPS")->getChildCount(), 2);
    ResourceLookup::install(previous);
    artwork.clear();
}

// A level of the real content that offers the chocolate lover: matched, it
// turns the whole board into the level's chocolates (two kinds at least) with
// no run of three, drawn with the game's own art.
TEST_F(BoardTest, PictureOfTheChocolateLoverOnARealLevel)
{
    const std::string levels = std::string(TORTELUNE_SOURCE_DIR) + "/media/levels/";
    GameDataState& state = *data->state;
    state.ingredientBook = IngredientBook();
    state.ingredientBook.load(levels + "ingredientbook.xml");
    Level& level = data->getCurrentLevel();
    level.load(levels + "career/level21.xml", 20, &state.cookbook, &state.ingredientBook, &state.customerBook);
    ASSERT_NE(level.findIngredient("chocolate lover bonus"), nullptr) << "level 21 offers the chocolate lover";
    const std::vector<std::string> chocolates = ChocolateLoverBonus::chocolateNames();
    ASSERT_GE(chocolates.size(), 2u) << "the level lists too few chocolates for the bonus to work";

    loadSceneArtwork();
    for (const std::string& name : chocolates)
        ASSERT_TRUE(artwork.count(name)) << name << " has no tile picture";
    ResourceLookup::Function previous = ResourceLookup::install(&findArtwork);
    for (const char* name : {"NODE_HOVER", "NODE_GRIDPOPUPS", "NODE_GRIDZAP"}) {
        RefPointer<GameNode> layer(new GameNode(name));
        GameNode::addChild(root.get(), layer.get());
    }
    setBoard({"abcdabcd", "bcdabcda", "cdabcdab", "dabcdabc", "abcdabcd", "bcdabcda", "cdabcdab", "dabcdabc"});
    cells().eraseCell(3, 3);
    cells().createCell(3, 3, "chocolate lover bonus", true);
    buildGrid(340, 74);
    host->playing = false;
    grid->activateBonusAt(3, 3);
    for (int i = 0; i < 60; ++i)
        frame(20);
    writeScenePicture(root.get(), "board_chocolate_lover.png");
    ResourceLookup::install(previous);
    artwork.clear();

    std::set<std::string> seen;
    for (int r = 0; r < 8; ++r) {
        for (int c = 0; c < 8; ++c) {
            CellSprite* tile = cells().cellAt(c, r).get();
            ASSERT_NE(tile, nullptr) << c << "," << r;
            const std::string& name = tile->getIngredient();
            EXPECT_NE(std::find(chocolates.begin(), chocolates.end(), name), chocolates.end()) << name << " at " << c << "," << r;
            seen.insert(name);
            for (auto [dc, dr] : {std::pair<int, int> {1, 0}, {0, 1}}) {
                CellSprite* next = cells().cellAt(c + dc, r + dr).get();
                CellSprite* after = cells().cellAt(c + 2 * dc, r + 2 * dr).get();
                EXPECT_FALSE(next && after && next->getIngredient() == name && after->getIngredient() == name)
                    << "a run of three from " << c << "," << r;
            }
        }
    }
    EXPECT_EQ(seen.size(), chocolates.size());
}

} // namespace
