// Printing and print preview of a source file on wx's printing framework:
// the printout that lays the text out and draws its pages, and the printing
// state an editor view keeps between jobs.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include <wx/print.h>
#include <wx/string.h>

#include "ide/model/display_setting.hpp"
#include "ide/model/print_layout.hpp"
#include "ide/model/print_setting.hpp"
#include "ide/wx/window_services.hpp"

class wxDC;
class wxFont;

namespace ide {

// Text widths on a device context with its current font.
class CDcMeasurer : public TextMeasurer {
public:
    explicit CDcMeasurer(wxDC& dc) : dc_(dc) {}
    int Extent(const std::wstring& text) const override;

private:
    wxDC& dc_;
};

// The text of one editor for printing, through the four reading calls that
// the editor control and its wrapper share.
template <class Pad>
class CPadPrintSource : public PrintSource {
public:
    explicit CPadPrintSource(Pad& pad) : pad_(pad) {}
    int GetTextSize() override { return static_cast<int>(pad_.GetTextSize()); }
    std::wstring GetLine(int index) override { return Wide(pad_.GetLine(index)); }
    std::vector<int32_t> GetCharColors() override
    {
        const auto colors = pad_.GetCharColors();
        return std::vector<int32_t>(colors.begin(), colors.end());
    }
    int ByteLength(wchar_t c) const override { return EditorByteLength(c); }

private:
    static std::wstring Wide(const std::wstring& s) { return s; }
    static std::wstring Wide(const wxString& s) { return s.ToStdWstring(); }
    Pad& pad_;
};

// The LogFont of the settings as a wx font, `scale` times as high and wide; a
// font never chosen (height 0) is ten points of the modern family.
wxFont MakePrintFont(const LogFont& font, int scale);
// The LogFont of a chosen font, with the height in screen pixels.
LogFont LogFontFromFont(const wxFont& font);

// What one editor view keeps for printing: the settings it prints with and
// the layout of its last job, whose page count presets the next print
// dialog's last page.
class CSourcePrinting {
public:
    // `services` shows the messages and holds the printer choice, which
    // printing, preview and printer setup share.
    CSourcePrinting(WindowServices& services, const CDisplaySetting& display, CPrintSetting& print)
        : services_(services), display_(display), print_(print)
    {
    }

    // The print dialog, then the pages chosen there. A layout that fails
    // aborts the job with a message.
    void Print(wxWindow* parent, PrintSource& source, const wxString& path, const wxString& title);
    // The preview frame; false, after a message, when the layout fails.
    bool Preview(wxWindow* parent, PrintSource& source, const wxString& path, const wxString& title);
    // Reports a failed layout of the printout; true when there was none.
    bool CheckLayout(LayoutResult result);
    // The chosen paper in pixels at this resolution, rounded as the printer
    // rounds it; empty when the paper is unknown.
    wxSize PaperPixels(int ppiX, int ppiY);

    const CDisplaySetting& Display() const { return display_; }
    CPrintSetting& Settings() { return print_; }
    PrintLayout& Layout() { return layout_; }

private:
    wxPrintData& PrintData();

    WindowServices& services_;
    const CDisplaySetting& display_;
    CPrintSetting& print_;
    PrintLayout layout_;
};

class CSourcePrintout : public wxPrintout {
public:
    // `path` is the document's file (empty for a document never saved), whose
    // title then stands for it.
    CSourcePrintout(CSourcePrinting& state, PrintSource& source, const wxString& path, const wxString& title);

    // Lays the text out on the printout's device context.
    void OnPreparePrinting() override;
    bool OnBeginDocument(int startPage, int endPage) override;
    void GetPageInfo(int* minPage, int* maxPage, int* pageFrom, int* pageTo) override;
    bool HasPage(int page) override;
    bool OnPrintPage(int page) override;

    LayoutResult Result() const { return result_; }

private:
    // Device pixels as logical units, also on a preview's smaller bitmap.
    void MapToDevice();
    // The print font, selected into the device context.
    void SelectPrintFont();
    // Draws the row's characters one by one from `x`, each in its colour.
    void DrawPrintRow(wxDC& dc, int x, int top, int row, const wxColour& background);

    CSourcePrinting& state_;
    PrintSource& source_;
    std::string path_;
    std::string title_;
    LayoutResult result_ = LayoutResult::Done;
};

} // namespace ide
