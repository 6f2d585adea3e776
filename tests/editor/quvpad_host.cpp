#include "quvpad_host.hpp"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/dcmemory.h>
#include <wx/utils.h>

#include "editor/settings_block.hpp"
#include "screen_grab.hpp"
#include "typed_key.hpp"

namespace quvpad::test {

std::vector<uint8_t> TestBlock(int fontHeight, const char* face)
{
    SettingsBlock b;
    FontRecord f;
    f.height = fontHeight;
    f.weight = 400;
    f.pitchAndFamily = 0x31;   // fixed pitch, modern
    std::strncpy(f.faceName.data(), face, f.faceName.size() - 1);
    b.SetFont(f);
    for (int c = 0; c < ColorClassCount; ++c)
        b.SetColor(c, colour::Identifier);
    b.SetColor(ClassCurrentLine, colour::CurrentLine);
    b.SetColor(ClassKeyword, colour::Keyword);
    b.SetColor(ClassDefinitionLabel, 0x00800080);
    b.SetColor(ClassString, 0x000080C0);
    b.SetColor(ClassNumber, 0x00808000);
    b.SetColor(ClassOperator, 0x00404080);
    b.SetColor(ClassComment, colour::Comment);
    b.SetColor(ClassError, 0x000000C0);
    b.SetColor(ClassBackground, colour::Background);
    b.SetColor(ClassSelectionBack, colour::SelectionBack);
    b.SetColor(ClassSelectionText, colour::SelectionText);
    b.SetColor(ClassBreakPointBack, colour::BreakBack);
    b.SetColor(ClassBreakPointText, colour::BreakFore);
    b.SetMinX(4);
    b.SetTabSize(4);
    b.SetLineDistance(2);
    return std::vector<uint8_t>(b.Bytes().begin(), b.Bytes().begin() + SettingsBlock::HostSize);
}

bool SameColour(const wxImage& image, int x, int y, uint32_t ref)
{
    return image.GetRed(x, y) == (ref & 0xFF) && image.GetGreen(x, y) == ((ref >> 8) & 0xFF) &&
           image.GetBlue(x, y) == ((ref >> 16) & 0xFF);
}

std::string ColourAt(const wxImage& image, int x, int y)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "rgb(%d,%d,%d)", image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
    return buf;
}

Host::Host(int width, int height, bool createEditor)
{
    frame_ = new wxFrame(nullptr, wxID_ANY, "QuvPad host", wxPoint(0, 0), wxSize(width, height));
    ctrl_ = new CQuvPadCtrl;
    wxSize client = frame_->GetClientSize();
    EXPECT_TRUE(ctrl_->Create(frame_, 1000, 0, 0, client.x, client.y));
    ctrl_->Advise(&log_);
    ctrl_->Configure(TestBlock());
    if (createEditor) {
        EXPECT_TRUE(ctrl_->CreateEditor());
    }
    frame_->Show();
    frame_->Raise();
    Pump();
    if (createEditor)
        Focus();
}

Host::~Host()
{
    ctrl_->Unadvise(&log_);
    frame_->Destroy();
    Pump();
}

void Host::Pump(int rounds)
{
    for (int i = 0; i < rounds; ++i) {
        wxTheApp->ProcessPendingEvents();
        wxYield();
        wxMilliSleep(5);
    }
}

void Host::Focus()
{
    frame_->Raise();
    ctrl_->Editor()->SetFocus();
    Pump();
}

void Host::Key(int keyCode, int modifiers, wxChar ch)
{
    wxKeyEvent down(wxEVT_KEY_DOWN);
    down.m_keyCode = keyCode;
    down.m_uniChar = ch;
    down.SetShiftDown((modifiers & wxMOD_SHIFT) != 0);
    down.SetControlDown((modifiers & wxMOD_CONTROL) != 0);
    down.SetAltDown((modifiers & wxMOD_ALT) != 0);
    down.SetEventObject(&Editor());
    if (!Editor().ProcessWindowEvent(down)) {
        wxKeyEvent typed(down);
        typed.SetEventType(wxEVT_CHAR);
        if (ch)
            typed.m_keyCode = ch < 0x80 ? ch : WXK_NONE;
        Editor().ProcessWindowEvent(typed);
    }
    Pump(2);
}

void Host::Type(const wxString& text)
{
    for (wxUniChar c : text) {
        const quv::test::TypedKey key = quv::test::KeyOf(c);
        Key(key.code, 0, key.ch);
    }
}

namespace {
void SendMouse(wxWindow& w, wxEventType type, int x, int y, int modifiers)
{
    wxMouseEvent e(type);
    e.m_x = x;
    e.m_y = y;
    e.SetShiftDown((modifiers & wxMOD_SHIFT) != 0);
    e.SetControlDown((modifiers & wxMOD_CONTROL) != 0);
    e.m_leftDown = type == wxEVT_LEFT_DOWN || type == wxEVT_MOTION || type == wxEVT_LEFT_DCLICK;
    e.SetEventObject(&w);
    w.ProcessWindowEvent(e);
}
} // namespace

void Host::Click(int x, int y, int modifiers)
{
    SendMouse(Editor(), wxEVT_LEFT_DOWN, x, y, modifiers);
    SendMouse(Editor(), wxEVT_LEFT_UP, x, y, modifiers);
    Pump(2);
}

void Host::Drag(int x0, int y0, int x1, int y1)
{
    SendMouse(Editor(), wxEVT_LEFT_DOWN, x0, y0, 0);
    EXPECT_TRUE(Editor().HasCapture());
    SendMouse(Editor(), wxEVT_MOTION, (x0 + x1) / 2, (y0 + y1) / 2, 0);
    SendMouse(Editor(), wxEVT_MOTION, x1, y1, 0);
    SendMouse(Editor(), wxEVT_LEFT_UP, x1, y1, 0);
    EXPECT_FALSE(Editor().HasCapture());
    Pump(2);
}

void Host::DoubleClick(int x, int y)
{
    SendMouse(Editor(), wxEVT_LEFT_DOWN, x, y, 0);
    SendMouse(Editor(), wxEVT_LEFT_UP, x, y, 0);
    SendMouse(Editor(), wxEVT_LEFT_DCLICK, x, y, 0);
    SendMouse(Editor(), wxEVT_LEFT_UP, x, y, 0);
    Pump(2);
}

void Host::Wheel(int rotation)
{
    wxMouseEvent e(wxEVT_MOUSEWHEEL);
    e.m_wheelRotation = rotation;
    e.m_wheelDelta = 120;
    e.m_wheelAxis = wxMOUSE_WHEEL_VERTICAL;
    e.SetEventObject(&Editor());
    Editor().ProcessWindowEvent(e);
    Pump(2);
}

void Host::Scroll(wxEventType type, int orientation, int position)
{
    wxScrollWinEvent e(type, position, orientation);
    e.SetEventObject(&Editor());
    Editor().ProcessWindowEvent(e);
    Pump(2);
}

int Host::CharWidth() const { return SettingsBlock::Shared().CharWidth(); }
int Host::LineHeight() const { return SettingsBlock::Shared().LineHeight(); }

wxPoint Host::PointOf(int column, int line) const
{
    return wxPoint(SettingsBlock::Shared().MinX() + column * CharWidth() + 1, line * LineHeight() + LineHeight() / 2);
}

wxImage Host::Screenshot()
{
    // Only what the control invalidated itself is repainted.
    frame_->Raise();
    frame_->Update();
    // GTK paints on its frame clock; give it a few frames.
    Pump(10);
    return quv::test::GrabScreen(ctrl_->GetScreenRect());
}

std::string Host::Save(const wxImage& image, const std::string& name)
{
    std::string dir = std::string(QUVPAD_SCREENSHOT_DIR);
    mkdir(dir.c_str(), 0755);
    std::string path = dir + "/" + name + ".png";
    EXPECT_TRUE(image.SaveFile(path, wxBITMAP_TYPE_PNG)) << path;
    return path;
}

std::wstring Wide(const std::string& utf8) { return wxString::FromUTF8(utf8).ToStdWstring(); }

std::string ClipboardText()
{
    std::string out;
    if (wxTheClipboard->Open()) {
        wxTextDataObject data;
        if (wxTheClipboard->GetData(data))
            out = data.GetText().ToStdString(wxConvUTF8);
        wxTheClipboard->Close();
    }
    return out;
}

void SetClipboardText(const std::string& utf8)
{
    if (wxTheClipboard->Open()) {
        wxTheClipboard->SetData(new wxTextDataObject(wxString::FromUTF8(utf8)));
        wxTheClipboard->Close();
    }
}

namespace {

// The folders TempDir made, removed when the test program ends (not by a
// child process that a test forked).
struct MadeFolders {
    pid_t owner = getpid();
    std::vector<std::string> paths;
    ~MadeFolders()
    {
        std::error_code ignored;
        if (getpid() == owner)
            for (const std::string& path : paths)
                std::filesystem::remove_all(path, ignored);
    }
};

} // namespace

std::string TempDir()
{
    static MadeFolders made;
    char pattern[] = "/tmp/quvpad-test-XXXXXX";
    const char* dir = mkdtemp(pattern);
    EXPECT_NE(dir, nullptr);
    if (!dir)
        return "/tmp";
    made.paths.push_back(dir);
    return dir;
}

std::string WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    return path;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace quvpad::test
