#pragma once

#include <optional>

#include <wx/event.h>
#include <wx/window.h>

namespace ide {

// A window whose theme font and colours are asked of GTK once per theme.
// Every paint context takes the painted window's font and colours, and a
// window with none of its own asks the theme for each, which GTK answers by
// making and styling a widget of the window's kind. The frames and the
// status bar are painted at every key, so the answer is kept until the theme
// changes.
template <class Window>
class KeptThemeAttributes : public Window {
public:
    using Window::Window;

    wxVisualAttributes GetDefaultAttributes() const override
    {
        if (!kept_)
            kept_ = Window::GetDefaultAttributes();
        return *kept_;
    }

protected:
    bool TryBefore(wxEvent& event) override
    {
        if (event.GetEventType() == wxEVT_SYS_COLOUR_CHANGED)
            kept_.reset();
        return Window::TryBefore(event);
    }

private:
    mutable std::optional<wxVisualAttributes> kept_;
};

} // namespace ide
