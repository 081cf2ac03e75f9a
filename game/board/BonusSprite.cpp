#include "game/board/BonusSprite.h"

#include "framework/core/BasicProperties.h"
#include "framework/core/ObjectFactoryContainer.h"
#include "framework/core/PropertyNode.h"
#include "framework/graphics/BitmapFont.h"
#include "framework/graphics/Image.h"
#include "framework/resources/ResourceLookup.h"
#include "framework/scenegraph/ModifierAlpha.h"
#include "framework/scenegraph/ModifierDelay.h"
#include "game/board/BoardHost.h"
#include "game/board/BoardKeys.h"
#include "game/board/Grid.h"
#include "game/board/GridWrapper.h"
#include "game/data/GameData.h"
#include "game/data/TuningTable.h"
#include "game/effects/Effects.h"

TT_DEFINE_RECORD(BonusSprite, &CellSprite::classRecord);
TT_REGISTER_CLASS(BonusSprite);

BonusSprite::BonusSprite(AbstractProperty* configuration) : CellSprite(configuration) {}

BonusSprite::~BonusSprite()
{
    dropPopups();
}

void BonusSprite::dropPopups()
{
    if (popupBack)
        popupBack->setRemoved(true);
    if (popupLabel)
        popupLabel->setRemoved(true);
    popupBack.reset();
    popupLabel.reset();
}

Grid* BonusSprite::grid() const
{
    return link ? link->grid : nullptr;
}

GridWrapper* BonusSprite::cellModel() const
{
    if (Grid* board = grid())
        return board->getCells();
    GameDataState* state = boardState();
    return state ? &state->gridWrapper : nullptr;
}

GameNode* BonusSprite::sceneLayer(const std::string& name) const
{
    const GameNode* top = this;
    if (Grid* board = grid())
        top = board->getGridNode();
    while (top && top->getParent())
        top = top->getParent();
    return top ? top->findNode(name) : nullptr;
}

void BonusSprite::translate(const GameNode* from, const GameNode* layer, int& x, int& y)
{
    if (!from || !layer)
        return;
    const int fromX = from->getParent() ? from->getParent()->getAbsoluteX() : 0;
    const int fromY = from->getParent() ? from->getParent()->getAbsoluteY() : 0;
    x += fromX - layer->getAbsoluteX();
    y += fromY - layer->getAbsoluteY();
}

void BonusSprite::moveToLayer(GameNode* layer)
{
    if (!layer || layer == getParent())
        return;
    int x = getX();
    int y = getY();
    if (getParent()) {
        x += getParent()->getAbsoluteX() - layer->getAbsoluteX();
        y += getParent()->getAbsoluteY() - layer->getAbsoluteY();
    }
    RefPointer<BonusSprite> hold(this);
    GameNode::addChild(layer, this);
    setRemoved(false);
    setPosition(x, y);
}

void BonusSprite::playSound(const std::string& name) const
{
    if (BoardHost* host = BoardHost::current())
        host->playSound(name);
}

void BonusSprite::fallTo(int targetRow)
{
    if (hovered)
        hideHover();
    CellSprite::fallTo(targetRow);
}

void BonusSprite::clearMarks()
{
    if (GameNode* marks = sceneLayer("NODE_HOVER")) {
        if (GameNode* first = marks->getFirstChild())
            GameNode::releaseSiblings(first);
    }
}

void BonusSprite::showHover()
{
    // The board asks again every frame while the targets may change: the
    // marks are redrawn, never piled up.
    marksFade = !hovered;
    if (hovered)
        clearMarks();
    hovered = true;
    setCurrentFrame(FrameHovered);
    highlightTargets();
    marksFade = true;
}

void BonusSprite::hideHover()
{
    setCurrentFrame(FrameNormal);
    clearMarks();
    hovered = false;
}

void BonusSprite::setSelected()
{
    setCurrentFrame(FrameSelected);
    setSelectedFlag(true);
}

void BonusSprite::clearSelected()
{
    setCurrentFrame(FrameNormal);
    setSelectedFlag(false);
}

void BonusSprite::setHighlighted()
{
    if (isHighlighted() || !getParent())
        return;
    addHighlight(-4, true);
}

void BonusSprite::dropOut()
{
    dropPopups();
    CellSprite::dropOut();
}

void BonusSprite::saveState(PropertyNode* node) const
{
    CellSprite::saveState(node);
    const char* className = classNameFor(getIngredient());
    if (node && className)
        node->setTypeName(className);
}

void BonusSprite::markCell(int column, int row)
{
    const BoardKeys& keys = boardKeys();
    if (column < 0 || column >= keys.gridWidth || row < 0 || row >= keys.gridHeight)
        return;
    GameNode* marks = sceneLayer("NODE_HOVER");
    if (!marks)
        return;
    int x = column * keys.cellWidth;
    int y = row * keys.cellHeight;
    // The marks' layer need not stand where the board does.
    if (Grid* board = grid()) {
        x += board->getGridNode()->getAbsoluteX() - marks->getAbsoluteX();
        y += board->getGridNode()->getAbsoluteY() - marks->getAbsoluteY();
    } else {
        translate(this, marks, x, y);
    }
    RefPointer<Image> picture = ResourceLookup::findAs<Image>("GRID_BONUS_HOVER", "scenegame");
    RefPointer<Sprite> mark(new Sprite(x, y, picture.get()));
    mark->setAnchorPoint(Sprite::BottomLeft);
    GameNode::addChild(marks, mark.get());
    if (marksFade && BoardHost::animationRoot()) {
        mark->setAlpha(0);
        chain(nullptr, new ModifierAlpha(tuning().MARK_FADE_IN_DURATION, 0, 255), mark.get());
    }
}

void BonusSprite::showBonusName()
{
    GameNode* layer = sceneLayer("NODE_GRIDPOPUPS");
    if (!layer)
        return;
    const TuningTable& t = tuning();
    int x = getX() + t.BONUSNAME_OFFSET_X;
    int y = getY() + t.BONUSNAME_OFFSET_Y;
    translate(this, layer, x, y);
    if (!popupBack) {
        RefPointer<Image> picture = ResourceLookup::findAs<Image>("BONUSBACK", "scenegame");
        popupBack = new Sprite(x, y, picture.get());
        popupBack->setVisible(true);
        popupBack->setAnchorPoint(Sprite::Center);
        GameNode::addChild(layer, popupBack.get());
    }
    if (!popupLabel) {
        WString text;
        if (BasicProperties::instance)
            text = BasicProperties::instance->getText("TEXT_" + ingredientWord(getIngredient()));
        // One word a line.
        for (char16_t& c : text) {
            if (c == u' ')
                c = u'\n';
        }
        RefPointer<BitmapFont> font = ResourceLookup::findAs<BitmapFont>("FONT_NUMBERS", "default");
        popupLabel = new Label(font.get(), x, y, 0, 0);
        popupLabel->setVisible(true);
        popupLabel->setAnchorStyle(Sprite::Center);
        popupLabel->setAlignH(1);
        popupLabel->setLineHeight(t.BONUSNAME_LINEHEIGHT);
        popupLabel->setText(text);
        popupLabel->updateLayout();
        GameNode::addChild(layer, popupLabel.get());
        if (Modifier* root = BoardHost::animationRoot())
            addPopEffect(popupLabel.get(), root, true, false, 0.5f);
    }
}

void BonusSprite::activate(Grid* board, const GuiMethod& callback, BaseObject* keepAlive)
{
    link = board ? board->getLink() : nullptr;
    setCurrentFrame(FrameFired);
    onMatched(callback, keepAlive, nullptr);
}

void BonusSprite::onMatched(const GuiMethod& callback, BaseObject* keepAlive, Modifier* parent)
{
    popOut(callback, keepAlive, parent);
}

void BonusSprite::removeAfter(int delayMs, const GuiMethod& callback, BaseObject* keepAlive)
{
    Modifier* wait = chain(nullptr, new ModifierDelay(delayMs), this);
    CellSprite::onMatched(callback, keepAlive, wait);
}

void BonusSprite::finishOnNextStep(const GuiMethod& callback, BaseObject* keepAlive)
{
    finishWith(callback, keepAlive, nullptr);
}
