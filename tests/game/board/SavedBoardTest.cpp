#include "BoardFixture.h"

#include "framework/core/PropertyNode.h"
#include "framework/core/PropertyStore.h"
#include "framework/core/PropertyVector.h"
#include "game/board/BonusSprite.h"

namespace {

std::string saveText(GridWrapper& model)
{
    RefPointer<PropertyStore> store(new PropertyStore());
    RefPointer<PropertyNode> node(new PropertyNode("gridwrapper", "GridWrapper"));
    model.save(node.get());
    store->addChild(node.get());
    return store->toXmlText();
}

void loadText(GridWrapper& model, const std::string& text)
{
    RefPointer<PropertyStore> store(new PropertyStore());
    ASSERT_TRUE(store->loadFromBuffer(text.data(), text.size()));
    model.load(store->getChild("gridwrapper"));
}

std::string savedCells(const std::string& cells)
{
    return "<root><GridWrapper id=\"gridwrapper\"><Vector id=\"cells\">" + cells + "</Vector></GridWrapper></root>";
}

TEST_F(BoardTest, ASavedBoardComesBackExactlyWithoutTheSpawnRow)
{
    setBoard({"abcdabcd", "bcdabcda", "cd*bcdab", "dabcdabc", "abcdabcd", "bcdabcda", "cdabcdab", "dabcdabc"});
    cells().eraseCell(1, 0);
    cells().putCell(new CellSprite(1, 0, "strawberry", true, 1), 1, 0);
    cells().eraseCell(5, 6);
    cells().putCell(new CellSprite(5, 6, "cream", false, 3), 5, 6);
    cells().eraseCell(0, 7);
    cells().putCell(new CellSprite(0, 7, "egg", false, 5), 0, 7);
    cells().putCell(new CellSprite(3, -1, "lemon", false, 1), 3, -1);
    const std::vector<std::string> before = boardRows();

    RefPointer<PropertyNode> node(new PropertyNode("gridwrapper", "GridWrapper"));
    cells().save(node.get());
    PropertyVector* list = objectCast<PropertyVector>(node->getChild("cells"));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->getCount(), 64);
    const std::string text = saveText(cells());
    EXPECT_LT(text.find("x=\"0\" y=\"0\""), text.find("x=\"1\" y=\"0\"")) << "row by row";
    EXPECT_EQ(text.find("lemon"), std::string::npos);

    loadText(cells(), text);
    EXPECT_EQ(boardRows(), before);
    EXPECT_TRUE(cells().isEmpty(3, -1));
    ASSERT_TRUE(tilesAt({{1, 0}, {5, 6}, {0, 7}, {2, 2}}));
    EXPECT_TRUE(cells().cellAt(1, 0)->isUnripe());
    EXPECT_EQ(cells().cellAt(5, 6)->getMultiplier(), 3);
    EXPECT_EQ(cells().cellAt(0, 7)->getMultiplier(), 5);
    EXPECT_TRUE(cells().cellAt(2, 2)->isBonus());
    EXPECT_EQ(cells().cellAt(2, 2)->getIngredient(), "row zap bonus");
    EXPECT_EQ(saveText(cells()), text) << "saving again changes nothing";
}

TEST_F(BoardTest, ADamagedSavedBoardMakesOnlyTilesInsideTheBoard)
{
    loadText(cells(), savedCells("<SceneGame ingredient=\"egg\" x=\"0\" y=\"0\"/>"
                                 "<Label ingredient=\"egg\" x=\"1\" y=\"0\"/>"
                                 "<CellSprite ingredient=\"egg\" x=\"-1\" y=\"3\"/>"
                                 "<CellSprite ingredient=\"egg\" x=\"8\" y=\"0\"/>"
                                 "<CellSprite ingredient=\"egg\" x=\"0\" y=\"8\"/>"
                                 "<CellSprite ingredient=\"egg\" x=\"2147483647\" y=\"-2147483648\"/>"
                                 "<CellSprite ingredient=\"egg\" x=\"2\" y=\"-1\"/>"
                                 "<CellSprite ingredient=\"row zap bonus\" x=\"3\" y=\"0\" multiplier=\"1\"/>"
                                 "<CellSprite ingredient=\"cream\" x=\"4\" y=\"0\" multiplier=\"2000000000\"/>"
                                 "<CellSprite ingredient=\"lemon\" x=\"4\" y=\"0\" multiplier=\"1\"/>"
                                 "<BonusSprite ingredient=\"egg\" x=\"5\" y=\"0\"/>"
                                 "<RowZapBonus ingredient=\"column zap bonus\" x=\"6\" y=\"0\"/>"));
    EXPECT_EQ(cells().size(), 3);
    EXPECT_TRUE(log.contains("not a tile"));
    // A bonus under the plain tile's name is a bonus, never a matchable tile.
    ASSERT_TRUE(tilesAt({{3, 0}, {4, 0}, {6, 0}}));
    EXPECT_TRUE(cells().cellAt(3, 0)->isBonus());
    EXPECT_NE(objectCast<BonusSprite>(cells().cellAt(3, 0).get()), nullptr);
    // The first of two tiles for one cell keeps it; a counter stays a counter.
    EXPECT_EQ(cells().cellAt(4, 0)->getIngredient(), "cream");
    EXPECT_EQ(cells().cellAt(4, 0)->getMultiplier(), 5);
    EXPECT_TRUE(cells().cellAt(6, 0)->isBonus());
}

} // namespace
