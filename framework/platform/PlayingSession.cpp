#include "framework/platform/PlayingSession.h"

#include "framework/core/PropertyNode.h"

void PlayingSession::writeTo(PropertyNode* node) const
{
    node->setInt("StartTime", startTime, true);
    node->setInt("EndTime", endTime, true);
    node->setInt("GameMode", gameMode, true);
    node->setInt("NumOfPlayers", numPlayers, true);
    node->setBoolean("FullScreen", fullScreen, true);
    node->setInt("BitDepth", bitDepth, true);
    node->setInt("ScreenWidth", screenWidth, true);
    node->setInt("ScreenHeight", screenHeight, true);
}
