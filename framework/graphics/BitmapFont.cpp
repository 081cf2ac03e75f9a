#include "framework/graphics/BitmapFont.h"

TT_DEFINE_RECORD(BitmapFont, &BaseObject::classRecord);

void BitmapFont::drawText(Graphics* /*graphics*/, const std::vector<LabelLine>& /*lines*/,
                          const std::vector<uint32_t>& /*colours*/)
{
}
