// The QuvPad editor control as its host sees it: the dispatch interface, the
// events interface, the identifiers under which the control library registers
// itself, and the library's entry points. No window toolkit header is needed
// to include this; a host creates the control through the registry file
// (platform/class_registry.hpp) and gives it a parent window.
//
// Lines and columns at this interface count from 1, except `GetLine`, which
// takes a 0-based line index. Texts cross the interface as Unicode; the editor
// holds 8-bit GBK text and converts at its edge (a GBK byte that forms no
// character travels as U+F780 + (byte - 0x80), so every text comes back as it
// went in).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

class wxWindow;

namespace quvpad {

// Identifiers of the control library.
inline constexpr char kLibId[] = "{C90EE390-5796-4AA9-AA2A-D4A354B6A002}";
inline constexpr char kLibHelpString[] = "QuvPad ActiveX Control module";
inline constexpr char kLibHelpFile[] = "QuvPad.hlp";
inline constexpr char kDispatchIid[] = "{D380CA41-3ABC-47C6-B6F2-72ADE032D806}";
inline constexpr char kEventsIid[] = "{27AA6227-DF21-4257-AC13-05F4D0301923}";
inline constexpr char kControlClsid[] = "{D92EC79E-1675-40B3-8C58-D094436D6FE7}";
inline constexpr char kControlProgId[] = "QUVPAD.QuvPadCtrl.1";
inline constexpr char kControlTypeName[] = "QuvPad Control";
inline constexpr char kPropPageClsid[] = "{F9690B69-0835-4344-A342-90C8B68DC95B}";
inline constexpr char kPropPageProgId[] = "QUVPAD.QuvPadPropPage.1";
inline constexpr char kPropPageTypeName[] = "QuvPad Property Page";
inline constexpr uint32_t kControlMiscStatus = 0x20191;

// The editor window's control id in its focus notifications.
inline constexpr int kEditorWindowId = 57645;

// Dispatch ids of the methods. ORDER DISPIDS: DQuvPad below lists its methods
// in this order.
enum DispId : int32_t {
    DispFileNew = 1, DispFileLoad = 2, DispFileSaveAs = 3, DispFileClose = 4,
    DispEditCopy = 5, DispEditCut = 6, DispEditPaste = 7, DispEditUndo = 8, DispEditRedo = 9,
    DispFileSave = 10, DispEditBreakPoint = 11, DispEditSelectAll = 12, DispLocatePos = 13,
    DispGetBCanCopy = 14, DispGetBCanCut = 15, DispGetBCanPaste = 16, DispGetBCanRedo = 17,
    DispGetBCanUndo = 18, DispConfigure = 19, DispReConfigure = 20, DispCreateEditor = 21,
    DispGetTextSize = 22, DispGetLine = 23, DispGetCharSize = 24, DispGetCharColors = 25,
    DispUnloadText = 26, DispSetSelection = 27, DispReplaceSelText = 28, DispLoadText = 29,
    DispGetChangeCount = 30, DispAboutBox = -552
};

// Dispatch ids of the events.
enum EventDispId : int32_t { EventModifiedChanged = 1, EventPosChanged = 2 };

// ReConfigure masks; only the first set bit, in this order, acts.
enum ConfigMask : int32_t { ConfigFont = 1, ConfigColors = 2, ConfigSpaces = 4 };

// The one error code of a failed file call: "Path/File access error".
inline constexpr int32_t kFileAccessError = static_cast<int32_t>(0x800A004B);

// Events the control fires to every advised sink. Positions are 1-based and
// keep their full int range.
class DQuvPadEvents {
public:
    virtual ~DQuvPadEvents() = default;
    virtual void ModifiedChanged(bool modified) = 0;
    virtual void PosChanged(int caretLine, int caretColumn, int anchorLine, int anchorColumn) = 0;
};

// The dispatch interface. Methods that work on the text need CreateEditor to
// have succeeded; without an editor they change nothing and answer 0, FALSE or
// an empty text.
class DQuvPad {
public:
    // The control window: the host's child, placed and sized by the host.
    // False when the window cannot be made.
    virtual bool Create(wxWindow* parent, int id, int x, int y, int width, int height) = 0;
    virtual wxWindow* Window() = 0;
    // Ends the control: destroys its window, or the object when it has none.
    virtual void Release() = 0;
    virtual void Advise(DQuvPadEvents* sink) = 0;
    virtual void Unadvise(DQuvPadEvents* sink) = 0;
    virtual std::string ClassId() const = 0;
    virtual std::vector<std::string> PropertyPageIds() const = 0;

    // Sets the modified flag; the text stays. TRUE.
    virtual bool FileNew() = 0;
    // FileLoad, FileSaveAs and FileSave answer TRUE, or FALSE as a failed call
    // when the file cannot be opened, read or written: LastError() is then
    // kFileAccessError and the text, the file name and the modified flag are as
    // they were. Without an editor they do nothing and answer TRUE.
    //
    // FileLoad reads the whole file, NUL bytes included, for reading only.
    virtual bool FileLoad(const std::wstring& fileName) = 0;
    // Writes every line followed by LF as platform::WriteFileSafely does: a
    // file the user may not write is refused, and the file keeps its owner,
    // permissions and links. The file name is not remembered.
    virtual bool FileSaveAs(const std::wstring& fileName) = 0;
    virtual bool FileClose() = 0;
    virtual void EditCopy() = 0;
    virtual void EditCut() = 0;
    virtual void EditPaste() = 0;
    virtual void EditUndo() = 0;
    virtual void EditRedo() = 0;
    // FileSaveAs, then remembers the name when that succeeded.
    virtual bool FileSave(const std::wstring& fileName) = 0;
    virtual void EditBreakPoint() = 0;
    virtual void EditSelectAll() = 0;
    virtual void LocatePos(long line, long col) = 0;
    virtual bool GetBCanCopy() = 0;
    virtual bool GetBCanCut() = 0;
    virtual bool GetBCanPaste() = 0;
    virtual bool GetBCanRedo() = 0;
    virtual bool GetBCanUndo() = 0;
    // The settings block (136 bytes from the host; up to 144 are taken).
    virtual void Configure(const std::vector<uint8_t>& config) = 0;
    virtual void ReConfigure(const std::vector<uint8_t>& config, long mask) = 0;
    virtual bool CreateEditor() = 0;
    virtual long GetTextSize() = 0;
    virtual std::wstring GetLine(long iLine) = 0;
    virtual long GetCharSize() = 0;
    virtual std::vector<int32_t> GetCharColors() = 0;
    virtual std::wstring UnloadText() = 0;
    virtual void SetSelection(long aline, long acol, long cline, long ccol) = 0;
    virtual void ReplaceSelText(const std::wstring& replaceText) = 0;
    virtual void LoadText(const std::wstring& text, long line, long col) = 0;
    // A count that grows with every change of the text, so that a host that
    // keeps a copy of it (the document finder) knows when the copy is old.
    virtual long GetChangeCount() = 0;
    virtual void AboutBox() = 0;

    // The code of the last failed call, 0 after a call that succeeded.
    virtual int32_t LastError() const = 0;
    // What went wrong in the last failed file call, naming the file and the
    // reason; empty after a call that succeeded.
    virtual std::wstring LastErrorText() const = 0;
    // For a host that words the failure itself: the system's error number of
    // the last failed save (EISDIR for a folder, 0 when there is none), and
    // whether that save lost the file's old contents.
    virtual int32_t LastSystemError() const = 0;
    virtual bool LastSaveLostOldContents() const = 0;

protected:
    virtual ~DQuvPad() = default;
};

} // namespace quvpad

// Entry points of the control library (see platform/class_registry.hpp).
extern "C" {
// Records the type library, the control class and the property page class with
// their ProgIDs and this library's path in the user's registry file.
int32_t DllRegisterServer();
int32_t DllUnregisterServer();
// A new control for the control's class id and kDispatchIid.
int32_t DllGetClassObject(const char* classId, const char* interfaceId, void** object);
// 0 when no control made by this library is alive, 1 otherwise.
int32_t DllCanUnloadNow();
}
