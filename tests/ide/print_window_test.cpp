// Printing a source file under Xvfb: the pages printed to a PDF file and
// turned into PNG images (header, footer, line numbers, coloured
// keywords), the preview, a layout that cannot fit, and the page setup dialog.
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <libintl.h>

#include <gtest/gtest.h>
#include <wx/checkbox.h>
#include <wx/dcgraph.h>
#include <wx/gtk/print.h>
#include <wx/print.h>
#include <wx/textctrl.h>
#include <wx/timer.h>

#include "ide/wx/ids.hpp"
#include "ide/wx/page_setup_dlg.hpp"
#include "ide/wx/source_printout.hpp"
#include "ink.hpp"
#include "platform/private_profile.hpp"
#include "tests/ide/editor_host.hpp"
#include "tests/ide/ide_host.hpp"
#include "tests/ide/x_input.hpp"

namespace ide::test {
namespace {

using quv::test::ColourOfRef;
using quv::test::CountInk;
using quv::test::GroundOf;

// The document the IDE starts with, holding `text`.
wxDocument* NewDocument(const std::wstring& text)
{
    wxDocument* doc = wxGetApp().DocManager()->GetDocumentsVector().front();
    PadOf(doc).LoadText(text, 1, 1);
    return doc;
}

wxWindow* PreviewFrame()
{
    for (wxWindow* w : wxTopLevelWindows)
        if (dynamic_cast<wxPreviewFrame*>(w))
            return w;
    return nullptr;
}

// A cairo call, looked up in the running program: wx draws through cairo but
// installs no cairo headers.
template <typename F>
F Cairo(const char* name)
{
    auto f = reinterpret_cast<F>(dlsym(RTLD_DEFAULT, name));
    EXPECT_NE(f, nullptr) << name;
    return f;
}
using Fn = void (*)(void*);

// Prints every page of the printout as GTK's printing does, through cairo at
// 600 pixels an inch on A4, into build/screenshots/<name>.pdf, and turns the
// pages into <name>-1.png, <name>-2.png, ... at 100 pixels an inch. No pages
// when the job stopped before its first page.
std::vector<wxImage> PrintToImages(CSourcePrintout& printout, const std::string& name)
{
    const std::string dir = IDE_SCREENSHOT_DIR;
    std::filesystem::create_directories(dir);
    const std::string pdf = dir + "/" + name + ".pdf";
    std::filesystem::remove(pdf);
    for (int i = 1; std::filesystem::remove(dir + "/" + name + "-" + std::to_string(i) + ".png"); ++i) {
    }
    const int dpi = 600;
    const int width = 210 * dpi * 10 / 254, height = 297 * dpi * 10 / 254;
    void* surface = Cairo<void* (*)(const char*, double, double)>("cairo_pdf_surface_create")(pdf.c_str(), 595, 842);
    void* cr = Cairo<void* (*)(void*)>("cairo_create")(surface);
    Cairo<void (*)(void*, double, double)>("cairo_scale")(cr, 72.0 / dpi, 72.0 / dpi);
    bool printed = false;
    {
        wxGCDC dc(wxGraphicsRenderer::GetCairoRenderer()->CreateContextFromNativeContext(cr));
        const wxSize screen = wxGetDisplayPPI();
        printout.SetPPIScreen(screen.x, screen.y);
        printout.SetPPIPrinter(dpi, dpi);
        printout.SetPageSizePixels(width, height);
        printout.SetPaperRectPixels(wxRect(0, 0, width, height));
        printout.SetPageSizeMM(210, 297);
        printout.SetDC(&dc);
        printout.OnPreparePrinting();
        int minPage, maxPage, from, to;
        printout.GetPageInfo(&minPage, &maxPage, &from, &to);
        printout.OnBeginPrinting();
        if (printout.OnBeginDocument(minPage, maxPage)) {
            for (int page = minPage; page <= maxPage && printout.HasPage(page); ++page) {
                printout.OnPrintPage(page);
                Cairo<Fn>("cairo_show_page")(cr);
                printed = true;
            }
            printout.OnEndDocument();
        }
        printout.OnEndPrinting();
    }
    Cairo<Fn>("cairo_destroy")(cr);
    Cairo<Fn>("cairo_surface_finish")(surface);
    Cairo<Fn>("cairo_surface_destroy")(surface);
    if (!printed)
        return {};
    const std::string command = "pdftoppm -r 100 -png '" + pdf + "' '" + dir + "/" + name + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    std::vector<wxImage> pages;
    for (int i = 1;; ++i) {
        const std::string png = dir + "/" + name + "-" + std::to_string(i) + ".png";
        if (!std::filesystem::exists(png))
            break;
        pages.emplace_back(png, wxBITMAP_TYPE_PNG);
    }
    return pages;
}

// Pixels of a band of the page that show the page's own ground, untouched.
int CountBlank(const wxImage& page, wxRect band, const wxColour& ground)
{
    band.Intersect(wxRect(page.GetSize()));
    int n = 0;
    for (int y = band.GetTop(); y <= band.GetBottom(); ++y)
        for (int x = band.GetLeft(); x <= band.GetRight(); ++x)
            n += page.GetRed(x, y) == ground.Red() && page.GetGreen(x, y) == ground.Green() &&
                 page.GetBlue(x, y) == ground.Blue();
    return n;
}

// The rows of ink of a page, as bands [top, bottom]: rows with a pixel that
// is a quarter of the way or more from the page's ground to black.
std::vector<std::pair<int, int>> InkBands(const wxImage& page, const wxColour& ground)
{
    const int far = (ground.Red() + ground.Green() + ground.Blue()) / 4;
    std::vector<std::pair<int, int>> bands;
    bool inside = false;
    for (int y = 0; y < page.GetHeight(); ++y) {
        bool ink = false;
        for (int x = 0; x < page.GetWidth() && !ink; ++x)
            ink = std::abs(page.GetRed(x, y) - ground.Red()) + std::abs(page.GetGreen(x, y) - ground.Green()) +
                      std::abs(page.GetBlue(x, y) - ground.Blue()) >
                  far;
        if (ink && !inside)
            bands.push_back({y, y});
        if (ink)
            bands.back().second = y;
        inside = ink;
    }
    return bands;
}

TEST(Printing, PagesShowHeaderFooterLineNumbersAndColouredKeywords)
{
    Answers answers;
    ASSERT_TRUE(Start({}, answers));
    CPrintSetting& setting = wxGetApp().Bench().PrintSetting();
    setting.bPrintLineNo = 1;
    setting.header = "&n";
    setting.footer = "第 &p 页";
    // A keyword after a string of double-byte characters, then enough lines for two pages.
    std::wstring text = L"\"中文中文中文\" IF\n";
    for (int i = 0; i < 80; ++i)
        text += L"x := y\n";
    text += L"THEN";
    CPadPrintSource<CQuvPad> source(PadOf(NewDocument(text)));
    CSourcePrinting printing(wxGetApp(), wxGetApp().Bench().DisplaySetting(), setting);
    CSourcePrintout printout(printing, source, "/work/demo.e", "demo.e");
    const std::vector<wxImage> pages = PrintToImages(printout, "print_pages");
    ASSERT_EQ(printout.Result(), LayoutResult::Done);
    ASSERT_EQ(pages.size(), 2u);
    ASSERT_EQ(printing.Layout().pageCount, 2);
    const wxColour keyword = ColourOfRef(wxGetApp().Bench().DisplaySetting().colors[1]);
    const wxColour string = ColourOfRef(wxGetApp().Bench().DisplaySetting().colors[4]);
    const wxColour black(0, 0, 0);
    auto band = [](const wxImage& page, const std::pair<int, int>& rows) {
        return wxRect(0, rows.first, page.GetWidth(), rows.second - rows.first + 1);
    };

    for (const wxImage& page : pages) {
        const wxColour ground = GroundOf(page, wxRect(page.GetSize()));
        const std::vector<std::pair<int, int>> bands = InkBands(page, ground);
        // Header text and its rule, the rows, the footer's rule and text.
        ASSERT_GE(bands.size(), 6u);
        const int width = page.GetWidth();
        wxRect left = band(page, bands.back()), right = left;
        left.width = width / 2;
        right.x = width / 2;
        right.width = width - width / 2;
        // The footer is right-aligned: nothing in the left half of its band.
        EXPECT_EQ(CountBlank(page, left, ground), left.width * left.height);
        EXPECT_GT(CountInk(page, right, black, ground), 10);
    }
    // Page 1, first row: the number 1, the string in its colour, then IF in the
    // keyword colour on the right of the string.
    const wxColour ground = GroundOf(pages[0], wxRect(pages[0].GetSize()));
    const std::vector<std::pair<int, int>> bands = InkBands(pages[0], ground);
    EXPECT_GT(CountInk(pages[0], band(pages[0], bands[0]), black, ground), 10);
    const wxRect row = band(pages[0], bands[2]);
    int stringRight = 0, keywordLeft = pages[0].GetWidth();
    for (int x = 0; x < pages[0].GetWidth(); ++x) {
        if (CountInk(pages[0], wxRect(x, row.y, 1, row.height), string, ground) > 0)
            stringRight = x;
        if (CountInk(pages[0], wxRect(x, row.y, 1, row.height), keyword, ground) > 0)
            keywordLeft = std::min(keywordLeft, x);
    }
    EXPECT_GT(stringRight, 0);
    EXPECT_GT(keywordLeft, stringRight);
    EXPECT_LT(keywordLeft, pages[0].GetWidth());
    // Page 2 ends with the keyword of the last row, after its line number.
    const wxColour ground2 = GroundOf(pages[1], wxRect(pages[1].GetSize()));
    const std::vector<std::pair<int, int>> last = InkBands(pages[1], ground2);
    EXPECT_GT(CountInk(pages[1], band(pages[1], last[last.size() - 3]), keyword, ground2), 10);
    EXPECT_TRUE(answers.asked.empty());
}

TEST(Printing, PreviewShowsThePagesAndAFailedLayoutAbortsWithAMessage)
{
    Answers answers;
    ASSERT_TRUE(Start({}, answers));
    CPrintSetting& setting = wxGetApp().Bench().PrintSetting();
    wxDocument* doc = NewDocument(L"%Prog demo;\nIF x THEN y := 1;\n");
    Command(doc, ID_FILE_PRINT_PREVIEW);
    wxWindow* preview = PreviewFrame();
    ASSERT_NE(preview, nullptr);
    preview->SetSize(wxSize(900, 800));
    SaveScreenshot(Screenshot(preview), "print_preview");
    // An untitled document goes by its title, with the current time.
    EXPECT_EQ(setting.fileName, "quvtemp1");
    preview->Close(true);
    Pump();
    EXPECT_TRUE(answers.asked.empty());

    // Margins wider than the page: a message, no preview, and a print job that
    // stops before its first page.
    setting.iLeft = setting.iRight = 100000;
    Command(doc, ID_FILE_PRINT_PREVIEW);
    ASSERT_EQ(answers.asked.size(), 1u);
    EXPECT_EQ(answers.asked[0].caption, "错误");
    EXPECT_EQ(PreviewFrame(), nullptr);
    EXPECT_TRUE(Frame().IsEnabled());
    CPadPrintSource<CQuvPad> source(PadOf(doc));
    CSourcePrinting printing(wxGetApp(), wxGetApp().Bench().DisplaySetting(), setting);
    CSourcePrintout printout(printing, source, "", "quvtemp1");
    EXPECT_TRUE(PrintToImages(printout, "print_failed").empty());
    EXPECT_EQ(printout.Result(), LayoutResult::TooNarrow);
}

// What a shell command prints.
std::string Output(const std::string& command)
{
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    for (int c; pipe && (c = fgetc(pipe)) != EOF;)
        out += static_cast<char>(c);
    if (pipe)
        pclose(pipe);
    return out;
}

// The print dialog opens on GTK's printer that writes `pdf` (its names as
// GTK gives them in the user's language), and Return presses its Print.
struct PrintToFile {
    explicit PrintToFile(const std::string& pdf)
    {
        wxPrintData& data = wxGetApp().DocManager()->GetPageSetupDialogData().GetPrintData();
        data.SetPrinterName(wxString::FromUTF8(dgettext("gtk30", "Print to File")));
        data.ConvertToNative();
        auto* settings = static_cast<wxGtkPrintNativeData*>(data.GetNativeData())->GetPrintConfig();
        Cairo<void (*)(void*, const char*, const char*)>("gtk_print_settings_set")(settings, "output-uri",
                                                                                 ("file://" + pdf).c_str());
        timer.Bind(wxEVT_TIMER, [this](wxTimerEvent&) {
            const std::string title = dgettext("gtk30", "Print");
            const std::string window = Output("xdotool search --onlyvisible --name '^" + title + "$' 2>/dev/null");
            if (!window.empty() && (timer.Stop(), true))
                Xdotool("windowfocus --sync " + window.substr(0, window.find('\n')) + " key Return");
        });
        timer.Start(200);
    }
    wxTimer timer;
};

// The first preview of a session lays out the pages the printout has, as
// many with as many rows each, for two page setups; the PDF has that many.
TEST(Printing, TheFirstPreviewHasThePagesOfThePrintout)
{
    Answers answers;
    ASSERT_TRUE(Start({}, answers));
    std::wstring text;
    for (int i = 1; i <= 300; ++i)
        text += L"LB = l" + std::to_wstring(i) + L" => $O x = x + 1 ^ $OLB = NEXT;\n";
    CPadPrintSource<CQuvPad> source(PadOf(NewDocument(text)));
    CPrintSetting& setting = wxGetApp().Bench().PrintSetting();
    const struct {
        int left, top, lineDistance, lineNumbers;
    } setups[] = {{100, 100, 12, 0}, {400, 300, 40, 1}};
    for (const auto& s : setups) {
        SCOPED_TRACE(s.left);
        // As before any print dialog of the session.
        wxGetApp().DocManager()->GetPageSetupDialogData().SetPrintData(wxPrintData());
        setting.iLeft = s.left;
        setting.iTop = s.top;
        setting.iLineDistance = s.lineDistance;
        setting.bPrintLineNo = s.lineNumbers;
        CSourcePrinting printing(wxGetApp(), wxGetApp().Bench().DisplaySetting(), setting);
        ASSERT_TRUE(printing.Preview(&Frame(), source, "", "quvtemp1"));
        const PrintLayout previewed = printing.Layout();
        SaveScreenshot(Screenshot(PreviewFrame()), "print_first_preview_" + std::to_string(s.lineNumbers));
        PreviewFrame()->Close(true);
        Pump();
        const std::string pdf = TestFolder() + "/printed-" + std::to_string(s.lineNumbers) + ".pdf";
        {
            PrintToFile toFile(pdf);
            printing.Print(&Frame(), source, "", "quvtemp1");
        }
        EXPECT_GT(previewed.pageCount, 1);
        EXPECT_EQ(printing.Layout().pageCount, previewed.pageCount);
        EXPECT_EQ(printing.Layout().rowsPerPage, previewed.rowsPerPage);
        EXPECT_EQ(Output("pdfinfo '" + pdf + "' | sed -n 's/^Pages: *//p'"), std::to_string(previewed.pageCount) + "\n");
    }
    EXPECT_TRUE(answers.asked.empty());
}

TEST(PageSetup, EditsACopyAndRefusesValuesOutOfRange)
{
    Answers answers;
    ASSERT_TRUE(Start({}, answers));
    CPrintSetting setting = wxGetApp().Bench().PrintSetting();
    auto* dialog = new CPageSetupDlg(wxGetApp(), &Frame());
    dialog->SetFromSetting(setting);
    dialog->Show();
    SaveScreenshot(Screenshot(dialog), "page_setup");
    auto text = [dialog](int id) { return static_cast<wxTextCtrl*>(dialog->FindWindow(id)); };
    EXPECT_EQ(text(CPageSetupDlg::IDC_HEADER)->GetValue().utf8_string(), "文件: &f  %x, %X");
    EXPECT_EQ(text(CPageSetupDlg::IDC_MARGIN_TOP)->GetValue(), "100");

    struct Case {
        int id;
        const char* value;
    } refused[] = {{CPageSetupDlg::IDC_MARGIN_TOP, "10001"}, {CPageSetupDlg::IDC_MARGIN_TOP, "-1"},
                   {CPageSetupDlg::IDC_SEPARATOR_CODE, "256"}, {CPageSetupDlg::IDC_LINE_DISTANCE, "x"}};
    for (const Case& c : refused) {
        const wxString before = text(c.id)->GetValue();
        text(c.id)->ChangeValue(c.value);
        answers.asked.clear();
        EXPECT_FALSE(dialog->TransferDataFromWindow()) << c.value;
        ASSERT_EQ(answers.asked.size(), 1u) << c.value;
        text(c.id)->ChangeValue(before);
    }
    text(CPageSetupDlg::IDC_FOOTER)->ChangeValue("&p/&t");
    text(CPageSetupDlg::IDC_MARGIN_LEFT)->ChangeValue("10000");
    static_cast<wxCheckBox*>(dialog->FindWindow(CPageSetupDlg::IDC_LINE_NUMBERS))->SetValue(true);
    ASSERT_TRUE(dialog->TransferDataFromWindow());
    // Nothing reaches the settings before the caller copies it back.
    EXPECT_TRUE(setting.SamePersistentFields(wxGetApp().Bench().PrintSetting()));
    dialog->GetToSetting(setting);
    EXPECT_EQ(setting.footer, "&p/&t");
    EXPECT_EQ(setting.iLeft, 10000);
    EXPECT_EQ(setting.bPrintLineNo, 1);
    EXPECT_EQ(setting.bHeaderAlign, 1);
    EXPECT_EQ(setting.bFooterAlign, 2);
    EXPECT_EQ(setting.iTop, 100);
    dialog->Destroy();

    // The menu command: OK stores the dialog's values in the application's
    // settings, which shut-down writes to QuvBench.ini.
    wxGetApp().CallAfter([] {
        for (wxWindow* w : wxTopLevelWindows)
            if (auto* open = dynamic_cast<CPageSetupDlg*>(w)) {
                static_cast<wxTextCtrl*>(open->FindWindow(CPageSetupDlg::IDC_HEADER))->ChangeValue("&n");
                wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
                ok.SetEventObject(open->FindWindow(wxID_OK));
                open->FindWindow(wxID_OK)->ProcessWindowEvent(ok);
            }
    });
    wxCommandEvent command(wxEVT_MENU, ID_FILE_PAGE_SETUP);
    wxGetApp().ProcessEvent(command);
    EXPECT_EQ(wxGetApp().Bench().PrintSetting().header, "&n");
    wxGetApp().ExitInstance();
    CPrintSetting saved;
    saved.Load(platform::PrivateProfileFile(wxGetApp().Bench().SettingsFile()));
    EXPECT_EQ(saved.header, "&n");
}

} // namespace
} // namespace ide::test
