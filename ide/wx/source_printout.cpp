#include "ide/wx/source_printout.hpp"

#include <algorithm>

#include <wx/dc.h>
#include <wx/font.h>
#include <wx/paper.h>
#include <wx/printdlg.h>

#include "ide/model/settings_file.hpp"
#include "ide/model/workbench.hpp"
#include "ide/wx/doc_view.hpp"
#include "ide/wx/main_frame.hpp"
#include "ide/wx/menus.hpp"
#include "ide/wx/quv_pad.hpp"

namespace ide {

namespace {

wxString FromUtf8(const std::string& s) { return wxString::FromUTF8(s.data(), s.size()); }

wxColour ColourFromRef(uint32_t ref)
{
    return wxColour(ref & 0xFF, (ref >> 8) & 0xFF, (ref >> 16) & 0xFF);
}

void FillRect(wxDC& dc, int x, int y, int width, int height, const wxColour& colour)
{
    dc.SetBrush(wxBrush(colour));
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.DrawRectangle(x, y, width, height);
}

// One line of text in a rectangle: left, centred or right (the settings'
// alignment code), at its top or its bottom. Text wider than the rectangle
// starts at its left and is cut after the last character that fits.
void DrawAligned(wxDC& dc, wxString text, const wxRect& rect, int align, bool bottom)
{
    wxSize extent = dc.GetTextExtent(text);
    while (extent.x > rect.width && !text.empty()) {
        text.RemoveLast();
        extent.x = dc.GetTextExtent(text).x;
        align = 0;
    }
    int x = rect.x;
    if (align == 1)
        x += (rect.width - extent.x) / 2;
    else if (align == 2)
        x += rect.width - extent.x;
    const int y = bottom ? rect.GetBottom() + 1 - extent.y : rect.y;
    // The rectangle is filled already; the text's own box would hide the rule.
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    dc.DrawText(text, x, y);
    dc.SetBackgroundMode(wxBRUSHSTYLE_SOLID);
}

} // namespace

int CDcMeasurer::Extent(const std::wstring& text) const
{
    if (text.empty())
        return 0;
    return dc_.GetTextExtent(wxString(text)).x;
}

wxFont MakePrintFont(const LogFont& font, int scale)
{
    // A font never chosen: ten points at the screen's usual 96 pixels an inch.
    const int height = font.lfHeight != 0 ? std::abs(font.lfHeight) : 13;
    wxFontInfo info(wxSize(std::abs(font.lfWidth) * scale, height * scale));
    info.Family(wxFONTFAMILY_MODERN);
    if (!font.lfFaceName.empty())
        info.FaceName(FromUtf8(font.lfFaceName));
    if (font.lfWeight >= 600)
        info.Bold();
    if (font.lfItalic)
        info.Italic();
    if (font.lfUnderline)
        info.Underlined();
    if (font.lfStrikeOut)
        info.Strikethrough();
    return wxFont(info);
}

LogFont LogFontFromFont(const wxFont& font)
{
    LogFont out;
    // Negative: the height of the characters, as the editor's font dialog keeps it.
    out.lfHeight = -std::max(1, font.GetPixelSize().y);
    out.lfWeight = font.GetNumericWeight();
    out.lfItalic = font.GetStyle() != wxFONTSTYLE_NORMAL;
    out.lfUnderline = font.GetUnderlined();
    out.lfStrikeOut = font.GetStrikethrough();
    out.lfFaceName = CutToUtf16Units(font.GetFaceName().utf8_string(), kFaceNameUnits - 1);
    return out;
}

// The application's printer choice, shared by printing, preview and printer
// setup. Until a print dialog has run it names a quality only ("high"), which
// the preview and the printer turn into different resolutions: the first
// preview would show other pages than the printout. The printing system's
// own settings give the resolution and the paper its dialog hands back.
wxPrintData& CSourcePrinting::PrintData()
{
    wxPrintData& data = services_.DocManager()->GetPageSetupDialogData().GetPrintData();
    if (data.GetQuality() <= 0 || data.GetPaperId() == wxPAPER_NONE) {
        data.ConvertToNative();
        data.ConvertFromNative();
    }
    return data;
}

wxSize CSourcePrinting::PaperPixels(int ppiX, int ppiY)
{
    const wxPrintData& data = PrintData();
    const wxPrintPaperType* paper = wxThePrintPaperDatabase->FindPaperType(data.GetPaperId());
    if (!paper)
        paper = wxThePrintPaperDatabase->FindPaperType(wxPAPER_A4);
    if (!paper)
        return wxSize();
    wxSize tenths(paper->GetWidth(), paper->GetHeight());  // of a millimetre
    if (data.GetOrientation() == wxLANDSCAPE)
        std::swap(tenths.x, tenths.y);
    return wxSize(wxRound(tenths.x * ppiX / 254.0), wxRound(tenths.y * ppiY / 254.0));
}

bool CSourcePrinting::CheckLayout(LayoutResult result)
{
    if (result == LayoutResult::Done)
        return true;
    services_.MessageBox(FromUtf8(LayoutMessage(result)), U8("错误"), wxOK | wxICON_ERROR);
    return false;
}

void CSourcePrinting::Print(wxWindow* parent, PrintSource& source, const wxString& path, const wxString& title)
{
    wxPrintDialogData data(PrintData());
    data.SetMinPage(1);
    data.SetMaxPage(std::max(1, layout_.pageCount));
    data.SetFromPage(1);
    data.SetToPage(1);
    data.SetNoCopies(1);
    wxPrinter printer(&data);
    CSourcePrintout printout(*this, source, path, title);
    const bool printed = printer.Print(parent, &printout, true);
    if (!CheckLayout(printout.Result()))
        return;
    if (printed)
        PrintData() = printer.GetPrintDialogData().GetPrintData();
    else if (wxPrinter::GetLastError() == wxPRINTER_ERROR)
        services_.MessageBox(U8("打印失败。"), U8("错误"), wxOK | wxICON_ERROR);
}

bool CSourcePrinting::Preview(wxWindow* parent, PrintSource& source, const wxString& path, const wxString& title)
{
    wxPrintDialogData data(PrintData());
    auto* preview = new wxPrintPreview(new CSourcePrintout(*this, source, path, title),
                                       new CSourcePrintout(*this, source, path, title), &data);
    if (!preview->IsOk()) {
        delete preview;
        services_.MessageBox(U8("命令执行失败。"), U8("错误"), wxOK | wxICON_ERROR);
        return false;
    }
    auto* frame = new wxPreviewFrame(preview, parent, U8("打印预览"), wxDefaultPosition, parent->GetSize());
    frame->Initialize();
    // The layout runs with the first page; a failed one shows no preview.
    preview->RenderPage(1);
    if (!CheckLayout(static_cast<CSourcePrintout*>(preview->GetPrintout())->Result())) {
        // Closing, not destroying: closing enables the windows the preview disabled.
        frame->Close(true);
        return false;
    }
    // The preview disabled the main frame, which lost its keyboard focus; once
    // the preview is gone the keys go back where the accelerators act.
    frame->Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& event) {
        event.Skip();
        if (CMainFrame* main = services_.MainFrame())
            main->CallAfter(&CMainFrame::FocusForKeys);
    });
    frame->Show();
    return true;
}

CSourcePrintout::CSourcePrintout(CSourcePrinting& state, PrintSource& source, const wxString& path,
                                 const wxString& title)
    : wxPrintout(title), state_(state), source_(source), path_(path.utf8_string()), title_(title.utf8_string())
{
}

void CSourcePrintout::MapToDevice()
{
    int pageWidth = 0, pageHeight = 0, width = 0, height = 0;
    GetPageSizePixels(&pageWidth, &pageHeight);
    GetDC()->GetSize(&width, &height);
    // A device context that knows no size of its own draws in page pixels.
    if (pageWidth > 0 && pageHeight > 0 && width > 0 && height > 0)
        GetDC()->SetUserScale(double(width) / pageWidth, double(height) / pageHeight);
    GetDC()->SetMapMode(wxMM_TEXT);
}

void CSourcePrintout::SelectPrintFont()
{
    // The settings' font is in screen pixels; the page is in printer pixels.
    int screenX = 0, screenY = 0, printerX = 0, printerY = 0;
    GetPPIScreen(&screenX, &screenY);
    GetPPIPrinter(&printerX, &printerY);
    const int scale = screenX > 0 ? std::max(1, printerY / screenX) : 1;
    const LogFont& logFont = state_.Settings().printFont;
    wxFont font = MakePrintFont(logFont, scale);
    wxDC& dc = *GetDC();
    dc.SetFont(font);
    // A device context that sizes fonts by points at its own resolution
    // would print them several times too large or too small: bring the
    // height back to the pixels asked for.
    const int wanted = font.GetPixelSize().y;
    const int got = dc.GetCharHeight();
    if (wanted > 0 && got > 0 && (got > wanted * 2 || got * 2 < wanted)) {
        font.SetPixelSize(wxSize(font.GetPixelSize().x * wanted / got, wanted * wanted / got));
        dc.SetFont(font);
    }
}

void CSourcePrintout::OnPreparePrinting()
{
    wxDC& dc = *GetDC();
    MapToDevice();
    SelectPrintFont();
    PageMetrics page;
    GetPageSizePixels(&page.pageWidth, &page.pageHeight);
    // The preview's page is the paper in whole points, a few pixels short of
    // the printer's, which can cost a page a row.
    int ppiX = 0, ppiY = 0;
    GetPPIPrinter(&ppiX, &ppiY);
    const wxSize paper = IsPreview() ? state_.PaperPixels(ppiX, ppiY) : wxSize();
    if (paper.x > 0 && paper.y > 0) {
        page.pageWidth = paper.x;
        page.pageHeight = paper.y;
    }
    const wxFontMetrics metrics = dc.GetFontMetrics();
    page.textHeight = metrics.height;
    page.externalLeading = metrics.externalLeading;
    CPrintSetting& setting = state_.Settings();
    const std::string file = path_.empty() ? title_ : path_;
    CDcMeasurer measurer(dc);
    result_ = LayOutPrint(source_, measurer, setting, page, file, JobTimeStamp(setting, path_), state_.Layout());
    dc.SetFont(wxNullFont);
}

bool CSourcePrintout::OnBeginDocument(int startPage, int endPage)
{
    // A preview that cannot lay out is taken down by its caller; a print job ends here.
    if (result_ != LayoutResult::Done)
        return IsPreview();
    return wxPrintout::OnBeginDocument(startPage, endPage);
}

void CSourcePrintout::GetPageInfo(int* minPage, int* maxPage, int* pageFrom, int* pageTo)
{
    // An empty text still prints one page with its header and footer.
    const int pages = result_ == LayoutResult::Done ? std::max(1, state_.Layout().pageCount) : 1;
    *minPage = 1;
    *maxPage = pages;
    *pageFrom = 1;
    *pageTo = pages;
}

bool CSourcePrintout::HasPage(int page)
{
    return result_ == LayoutResult::Done && page >= 1 && page <= std::max(1, state_.Layout().pageCount);
}

bool CSourcePrintout::OnPrintPage(int page)
{
    if (result_ != LayoutResult::Done)
        return false;
    wxDC& dc = *GetDC();
    MapToDevice();
    CPrintSetting& s = state_.Settings();
    const PrintLayout& layout = state_.Layout();
    SelectPrintFont();
    // The page area starts inside the left and top margins.
    dc.SetLogicalOrigin(-s.iLeft, -s.iTop);

    const int first = layout.FirstRow(page);
    const int end = std::max(first, layout.EndRow(page));
    s.SetPageInfo(page, layout.pageCount, layout.RowCount());

    const wxColour headerFooter = ColourFromRef(s.headerFooterColor);
    const wxColour text = s.bPrintSyntax ? headerFooter : *wxBLACK;
    const wxColour background = s.bPrintSyntax ? ColourFromRef(state_.Display().colors[11]) : *wxWHITE;
    const wxPen pen(headerFooter, 1, wxPENSTYLE_SOLID);
    dc.SetBackgroundMode(wxBRUSHSTYLE_SOLID);
    dc.SetTextBackground(background);

    // Header.
    FillRect(dc, 0, 0, layout.areaWidth, layout.headerBlock, background);
    dc.SetTextForeground(text);
    DrawAligned(dc, FromUtf8(s.FormatHeader()), wxRect(0, 0, layout.areaWidth, layout.headerBlock),
                CPrintSetting::AlignCode(s.bHeaderAlign), false);
    if (!s.bHeaderStop && !s.bHeaderSeperatorStop) {
        dc.SetPen(pen);
        const int y = layout.headerBlock - s.iLineDistance + 2;
        dc.DrawLine(0, y, layout.areaWidth, y);
    }

    // Rows.
    for (int r = first; r < end; ++r) {
        const int top = layout.headerBlock + (r - first) * layout.lineHeight;
        FillRect(dc, 0, top, layout.areaWidth, layout.lineHeight, background);
        int x = 0;
        if (s.bPrintLineNo) {
            const wxString prefix = FromUtf8(s.FormatLineNumber(r));
            dc.SetTextForeground(text);
            DrawAligned(dc, prefix, wxRect(0, top, layout.numberWidth, layout.lineHeight), 0, false);
            x = dc.GetTextExtent(prefix).x;
        }
        DrawPrintRow(dc, x, top, r, background);
    }

    // The rest of the text area, then the footer at its foot.
    const int areaBottom = layout.pageHeight - s.iTop - s.iBottom;
    const int fillTop = layout.headerBlock + (end - first) * layout.lineHeight;
    FillRect(dc, 0, fillTop, layout.areaWidth, areaBottom - layout.footerBlock - fillTop, background);
    const wxRect footer(0, areaBottom - layout.footerBlock, layout.areaWidth, layout.footerBlock);
    FillRect(dc, footer.x, footer.y, footer.width, footer.height, background);
    if (!s.bFooterStop && !s.bFooterSeperatorStop) {
        dc.SetPen(pen);
        const int y = footer.y + s.iLineDistance - 2;
        dc.DrawLine(0, y, layout.areaWidth, y);
    }
    dc.SetTextForeground(headerFooter);
    DrawAligned(dc, FromUtf8(s.FormatFooter()), footer, CPrintSetting::AlignCode(s.bFooterAlign), true);

    dc.SetPen(wxNullPen);
    dc.SetBrush(wxNullBrush);
    dc.SetFont(wxNullFont);
    dc.SetLogicalOrigin(0, 0);
    return true;
}

void CSourcePrintout::DrawPrintRow(wxDC& dc, int x, int top, int row, const wxColour& background)
{
    const PrintLayout& layout = state_.Layout();
    const bool syntax = state_.Settings().bPrintSyntax != 0;
    const std::wstring& text = layout.Row(row);
    const std::vector<uint32_t> colours = layout.RowColors(row);
    // A character the print font lacks comes from another font with its own
    // ascent: every character stands on the print font's baseline.
    wxCoord w = 0, h = 0, descent = 0;
    dc.GetTextExtent("x", &w, &h, &descent);
    const int baseline = top + h - descent;
    // Each cell is filled first; a taller character's own box would cover the row above.
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    for (size_t i = 0; i < text.size(); ++i) {
        const wxString ch(text[i]);
        dc.GetTextExtent(ch, &w, &h, &descent);
        FillRect(dc, x, top, w, layout.lineHeight, background);
        dc.SetTextForeground(syntax ? ColourFromRef(colours[i]) : *wxBLACK);
        dc.DrawText(ch, x, baseline - (h - descent));
        x += w;
    }
    dc.SetBackgroundMode(wxBRUSHSTYLE_SOLID);
}

CSourcePrinting* CQuvBenchView::Printing()
{
    if (!pad_)
        return nullptr;
    if (!printing_) {
        printSource_.reset(new CPadPrintSource<CQuvPad>(*pad_));
        Workbench& bench = services_->Bench();
        printing_.reset(new CSourcePrinting(*services_, bench.DisplaySetting(), bench.PrintSetting()));
    }
    return printing_.get();
}

void CQuvBenchView::OnFilePrint(wxCommandEvent&)
{
    if (CSourcePrinting* printing = Printing())
        printing->Print(GetFrame(), *printSource_, GetDocument()->GetFilename(),
                        GetDocument()->GetUserReadableName());
}

void CQuvBenchView::OnFilePrintPreview(wxCommandEvent&)
{
    if (CSourcePrinting* printing = Printing())
        printing->Preview(services_->TopWindow(), *printSource_, GetDocument()->GetFilename(),
                          GetDocument()->GetUserReadableName());
}

} // namespace ide
