// Where the main frame stands when it is not maximised: kept in QuvBench.ini
// with the display settings, so that un-maximising the IDE gives the window
// the user last had, or a fair share of the screen.
#pragma once
#include <string>

namespace platform {
class PrivateProfileFile;
}

namespace ide {

// A rectangle in screen pixels; a width or height of 0 is none.
struct FrameRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool operator==(const FrameRect& o) const
    {
        return x == o.x && y == o.y && width == o.width && height == o.height;
    }
};

// The smallest restored frame that holds the bars and panes.
inline constexpr int kMinFrameWidth = 640;
inline constexpr int kMinFrameHeight = 480;

// Section "FRAME_PLACEMENT" of a settings file read once; none when the file
// holds none.
FrameRect LoadFramePlacement(const platform::PrivateProfileFile& profile);
// Writes `now` when it differs from `before` (what was read at start-up) or
// the file holds none yet; true when anything was written.
bool SaveFramePlacementChange(const FrameRect& before, const FrameRect& now, platform::PrivateProfileFile& profile);

// The frame's restored rectangle on a screen whose free area is `work`: the
// saved one, made to fit on the screen, or without one three quarters of the
// screen in its middle; never under the minimum, unless the screen is.
FrameRect RestoredFrameRect(const FrameRect& saved, const FrameRect& work);

} // namespace ide
