#include "ide/model/frame_placement.hpp"

#include <algorithm>

#include "platform/private_profile.hpp"

namespace ide {

namespace {

const char kSection[] = "FRAME_PLACEMENT";

// ORDER: the keys as they are written, and the fields they hold.
const struct {
    const char* key;
    int FrameRect::*field;
} kKeys[] = {{"left", &FrameRect::x}, {"top", &FrameRect::y}, {"width", &FrameRect::width}, {"height", &FrameRect::height}};

// `value` moved into [low, high]; `low` where the range is empty.
int within(int value, int low, int high)
{
    return std::max(low, std::min(value, high));
}

} // namespace

FrameRect LoadFramePlacement(const platform::PrivateProfileFile& profile)
{
    FrameRect rect;
    for (const auto& k : kKeys)
        rect.*k.field = profile.getInt(kSection, k.key, 0);
    return rect;
}

bool SaveFramePlacementChange(const FrameRect& before, const FrameRect& now, platform::PrivateProfileFile& profile)
{
    if (now.width <= 0 || now.height <= 0)
        return false;
    if (now == before && profile.hasKey(kSection, "width"))
        return false;
    for (const auto& k : kKeys)
        profile.writeString(kSection, k.key, std::to_string(now.*k.field));
    return true;
}

FrameRect RestoredFrameRect(const FrameRect& saved, const FrameRect& work)
{
    const int minWidth = std::min(kMinFrameWidth, work.width);
    const int minHeight = std::min(kMinFrameHeight, work.height);
    FrameRect rect;
    if (saved.width > 0 && saved.height > 0) {
        rect.width = within(saved.width, minWidth, work.width);
        rect.height = within(saved.height, minHeight, work.height);
        // A screen smaller than the last one, or another arrangement of
        // screens, must not leave the frame out of reach.
        rect.x = within(saved.x, work.x, work.x + work.width - rect.width);
        rect.y = within(saved.y, work.y, work.y + work.height - rect.height);
        return rect;
    }
    rect.width = within(work.width * 3 / 4, minWidth, work.width);
    rect.height = within(work.height * 3 / 4, minHeight, work.height);
    rect.x = work.x + (work.width - rect.width) / 2;
    rect.y = work.y + (work.height - rect.height) / 2;
    return rect;
}

} // namespace ide
