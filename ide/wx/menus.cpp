#include "ide/wx/menus.hpp"

#include <wx/artprov.h>
#include <wx/event.h>

#include "ide/wx/ids.hpp"

namespace ide {

namespace {

// One item: a command with its text, a separator (id 0), or a recent-list
// sub-menu (id kRecentFiles or kRecentProjects).
struct Item {
    int id;
    const char* text;
};
constexpr int kSeparator = 0;
constexpr int kRecentFiles = -1;
constexpr int kRecentProjects = -2;

const char kRecentFilesText[] = "最近打开的文件...";
const char kRecentProjectsText[] = "最近打开的工程...";

struct Popup {
    const char* title;
    std::initializer_list<Item> items;
};

const std::initializer_list<Item> kViewItems = {
    {ID_VIEW_TOOLBAR, "工具栏(&T)"}, {ID_VIEW_STATUS_BAR, "状态栏(&S)"}, {kSeparator, nullptr},
    {ID_VIEW_WORKSPACE, "工作区(&W)"}, {ID_VIEW_OUTPUT, "输出栏(&O)"}, {kSeparator, nullptr},
    {ID_SETUP_FONT, "字体设置"}, {ID_SETUP_COLORS, "颜色设置"}, {ID_SETUP_SPACES, "空格设置"}};

const std::initializer_list<Item> kCompileItems = {
    {ID_COMPILE_CHECK, "语法检查\tShift+F7"}, {ID_COMPILE_FILE, "编译程序\tCtrl+F7"},
    {ID_COMPILE_PROJECT, "编译工程\tF7"}, {ID_MAKEFILE, "输出制作Makefile文件\tAlt+F5"},
    {ID_BUILD, "生成可执行程序 \tCtrl+F5"}, {ID_RUN, "运行\tF5"}, {kSeparator, nullptr},
    {ID_STOP, "停止编译/制作/运行\tShift+F5"}, {kSeparator, nullptr}, {ID_TYPESET, "排版\tF4"}};

const Popup kMainMenu[] = {
    {"文件(&F)",
     {{wxID_NEW, "新建文档(&N)\tCtrl+N"}, {wxID_OPEN, "打开文档(&O)\tCtrl+O"}, {kSeparator, nullptr},
      {ID_PROJECT_NEW, "新建工程..."}, {ID_PROJECT_OPEN, "打开工程..."}, {ID_PROJECT_SAVE, "保存工程"},
      {ID_PROJECT_SETTINGS, "工程设置"}, {kSeparator, nullptr}, {ID_FILE_PAGE_SETUP, "页面设置"},
      {wxID_PRINT_SETUP, "打印设置"}, {kSeparator, nullptr}, {kRecentFiles, kRecentFilesText},
      {kRecentProjects, kRecentProjectsText}, {kSeparator, nullptr}, {wxID_EXIT, "退出(&X)"}}},
    {"查找(&E)",
     {{ID_FIND_IN_FILES, "多重文件查找\tCtrl+Alt+F"}, {ID_REPLACE_IN_FILES, "多重文件替换\tCtrl+Alt+H"}}},
    {"视图(&V)", kViewItems},
    {"编译(&C)", kCompileItems},
    {"帮助(&H)", {{wxID_ABOUT, "关于QUV/E-C集成环境"}}},
};

const Popup kDocumentMenu[] = {
    {"文件(&F)",
     {{wxID_NEW, "新建(&N)\tCtrl+N"}, {wxID_OPEN, "打开(&O)\tCtrl+O"}, {ID_FILE_CLOSE_ALL, "全部关闭"},
      {wxID_CLOSE, "关闭"}, {kSeparator, nullptr}, {ID_PROJECT_NEW, "新建工程.."},
      {ID_PROJECT_OPEN, "打开工程... "}, {ID_PROJECT_SAVE, "保存工程"}, {ID_PROJECT_SETTINGS, "工程设置..."},
      {kSeparator, nullptr}, {wxID_SAVE, "保存文档\tCtrl+S"}, {wxID_SAVEAS, "另存为(&A)..."},
      {ID_FILE_SAVE_ALL, "全部保存"}, {kSeparator, nullptr}, {ID_FILE_PRINT_PREVIEW, "打印预览"},
      {ID_FILE_PRINT, "打印(&P)\tCtrl+P"}, {ID_FILE_PAGE_SETUP, "页面设置"}, {wxID_PRINT_SETUP, "打印机设置(&R).."},
      {kSeparator, nullptr}, {kRecentFiles, kRecentFilesText}, {kRecentProjects, kRecentProjectsText},
      {wxID_EXIT, "退出(&X)"}}},
    {"编辑(&E)",
     {{ID_EDIT_UNDO, "取消上次操作(&U)\tCtrl+Z"}, {ID_EDIT_REDO, "重复上次操作(&R)\tCtrl+R"}, {kSeparator, nullptr},
      {ID_EDIT_CUT, "剪切(&X)\tCtrl+X"}, {ID_EDIT_COPY, "拷贝(&C)\tCtrl+C"}, {ID_EDIT_PASTE, "粘贴(&V)\tCtrl+V"},
      {kSeparator, nullptr}, {ID_EDIT_SELECT_ALL, "全部选定\tCtrl+A"}, {kSeparator, nullptr},
      {ID_EDIT_FIND, "查找(&F)\tCtrl+F"}, {ID_EDIT_FIND_NEXT, "查找下一个\tF3"},
      {ID_EDIT_FIND_PREVIOUS, "查找上一个\tShift+F3"}, {ID_EDIT_REPLACE, "替换\tCtrl+H"},
      {ID_FIND_IN_FILES, "多重文件查找\tCtrl+Alt+F"}, {ID_REPLACE_IN_FILES, "多重文件替换\tCtrl+Alt+R"},
      {kSeparator, nullptr}, {ID_EDIT_MATCH_BRACE, "查找匹配括弧\tCtrl+B"},
      {ID_EDIT_GOTO_LINE, "转到指定行\tCltr+G"}, {kSeparator, nullptr}, {ID_EDIT_BREAKPOINT, "断点\t F9"}}},
    {"视图(&E)", kViewItems},
    {"编译(&C)", kCompileItems},
    {"窗口(&W)",
     {{ID_WINDOW_CASCADE, "呈叠窗口(&C)"}, {ID_WINDOW_TILE_HORZ, "&横向平铺窗口(&T)"},
      {ID_WINDOW_TILE_VERT, "&纵向平铺窗口"}}},
    {"帮助(&H)", {{wxID_ABOUT, "关于QUV/E-C集成环境(&A)"}}},
};

bool isCheckItem(int id)
{
    return id == ID_VIEW_TOOLBAR || id == ID_VIEW_STATUS_BAR || id == ID_VIEW_WORKSPACE || id == ID_VIEW_OUTPUT;
}

wxMenuBar* build(const Popup* popups, size_t count)
{
    auto* bar = new wxMenuBar;
    for (size_t p = 0; p < count; ++p) {
        auto* menu = new wxMenu;
        for (const Item& item : popups[p].items) {
            if (item.id == kSeparator) {
                menu->AppendSeparator();
                continue;
            }
            if (item.id == kRecentFiles || item.id == kRecentProjects) {
                menu->AppendSubMenu(new wxMenu, U8(item.text));
                continue;
            }
            // The key after the tab is text to read, not a key wx should make
            // live: some name keys the table gives another command, or none
            // at all ("Cltr+G"). The accelerator table alone decides.
            const wxString text = U8(item.text);
            const wxString label = text.BeforeFirst('\t');
            const wxString keys = text.Contains("\t") ? text.AfterFirst('\t') : wxString();
            wxMenuItem* added =
                isCheckItem(item.id) ? menu->AppendCheckItem(item.id, label) : menu->Append(item.id, label);
            ShowKeyTextOnly(added, keys);
        }
        bar->Append(menu, U8(popups[p].title));
    }
    return bar;
}

wxMenu* subMenu(wxMenuBar* bar, const char* text)
{
    if (!bar || bar->GetMenuCount() == 0)
        return nullptr;
    wxMenu* file = bar->GetMenu(0);
    for (wxMenuItem* item : file->GetMenuItems())
        if (item->IsSubMenu() && item->GetItemLabel() == U8(text))
            return item->GetSubMenu();
    return nullptr;
}

// ORDER ACCELERATORS: the accelerator table, key by key.
struct Key {
    int flags;
    int code;
    int command;
};
const Key kKeys[] = {
    {wxACCEL_CTRL, 'B', ID_EDIT_MATCH_BRACE},
    {wxACCEL_CTRL, 'C', ID_EDIT_COPY},
    {wxACCEL_CTRL, 'F', ID_EDIT_FIND},
    {wxACCEL_CTRL | wxACCEL_ALT, 'F', ID_FIND_IN_FILES},
    {wxACCEL_CTRL, 'G', ID_EDIT_GOTO_LINE},
    {wxACCEL_CTRL, 'H', ID_EDIT_REPLACE},
    {wxACCEL_CTRL | wxACCEL_ALT, 'H', ID_REPLACE_IN_FILES},
    {wxACCEL_CTRL, 'N', wxID_NEW},
    {wxACCEL_CTRL, 'O', wxID_OPEN},
    {wxACCEL_CTRL, 'P', ID_FILE_PRINT},
    {wxACCEL_CTRL, 'S', wxID_SAVE},
    {wxACCEL_CTRL, 'V', ID_EDIT_PASTE},
    {wxACCEL_CTRL, 'X', ID_EDIT_CUT},
    {wxACCEL_CTRL, 'Y', ID_EDIT_REDO},
    {wxACCEL_NORMAL, WXK_F3, ID_EDIT_FIND_NEXT},
    {wxACCEL_SHIFT, WXK_F3, ID_EDIT_FIND_PREVIOUS},
    {wxACCEL_NORMAL, WXK_F4, ID_TYPESET},
    {wxACCEL_NORMAL, WXK_F5, ID_RUN},
    {wxACCEL_CTRL, WXK_F5, ID_MAKEFILE},
    {wxACCEL_SHIFT, WXK_F5, ID_STOP},
    {wxACCEL_SHIFT | wxACCEL_ALT, WXK_F5, ID_BUILD},
    {wxACCEL_NORMAL, WXK_F6, ID_NEXT_PANE},
    {wxACCEL_SHIFT, WXK_F6, ID_PREV_PANE},
    {wxACCEL_NORMAL, WXK_F7, ID_COMPILE_PROJECT},
    {wxACCEL_CTRL, WXK_F7, ID_COMPILE_FILE},
    {wxACCEL_SHIFT, WXK_F7, ID_COMPILE_CHECK},
    {wxACCEL_NORMAL, WXK_F9, ID_EDIT_BREAKPOINT},
    {wxACCEL_CTRL, 'Z', ID_EDIT_UNDO},
};

} // namespace

wxMenuBar* CreateMainMenuBar() { return build(kMainMenu, WXSIZEOF(kMainMenu)); }
wxMenuBar* CreateDocumentMenuBar() { return build(kDocumentMenu, WXSIZEOF(kDocumentMenu)); }
wxMenu* RecentFilesMenu(wxMenuBar* bar) { return subMenu(bar, kRecentFilesText); }
wxMenu* RecentProjectsMenu(wxMenuBar* bar) { return subMenu(bar, kRecentProjectsText); }

void AddToolBarButtons(wxToolBar* bar)
{
    const wxSize size(16, 15);
    struct Button {
        int id;
        const wxArtID art;
        const char* tip;
    };
    // ORDER TOOLS: left to right; a null art is a separator.
    const Button buttons[] = {
        {wxID_NEW, wxART_NEW, "新建"},       {wxID_OPEN, wxART_FILE_OPEN, "打开"},
        {wxID_SAVE, wxART_FILE_SAVE, "保存"}, {0, wxString(), nullptr},
        {ID_EDIT_CUT, wxART_CUT, "剪切"},    {ID_EDIT_COPY, wxART_COPY, "拷贝"},
        {ID_EDIT_PASTE, wxART_PASTE, "粘贴"}, {0, wxString(), nullptr},
        {ID_FILE_PAGE_SETUP, wxART_REPORT_VIEW, "页面设置"}, {ID_FILE_PRINT, wxART_PRINT, "打印"},
        {ID_FILE_PRINT_PREVIEW, wxART_FIND, "打印预览"},  {wxID_ABOUT, wxART_HELP, "关于"},
    };
    for (const Button& b : buttons) {
        if (b.art.empty())
            bar->AddSeparator();
        else
            bar->AddTool(b.id, U8(b.tip), wxArtProvider::GetBitmap(b.art, wxART_TOOLBAR, size), U8(b.tip));
    }
    bar->Realize();
}

int AcceleratorCommand(const wxKeyEvent& key)
{
    int flags = 0;
    if (key.ControlDown())
        flags |= wxACCEL_CTRL;
    if (key.AltDown())
        flags |= wxACCEL_ALT;
    if (key.ShiftDown())
        flags |= wxACCEL_SHIFT;
    int code = key.GetKeyCode();
    if (code >= 'a' && code <= 'z')
        code -= 'a' - 'A';
    for (const Key& k : kKeys)
        if (k.flags == flags && k.code == code)
            return k.command;
    return 0;
}

} // namespace ide
