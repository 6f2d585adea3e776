// The IDE's custom events. Worker threads and commands post them to the main
// frame, which handles them on the user-interface thread: the pane commands
// show a pane and clear it, the row events append what a worker reported.
// Every Post function may be called from any thread.
#pragma once
#include <wx/event.h>

#include "ide/model/output_rows.hpp"

namespace ide {

// Show the Output bar with that tab active and cleared.
wxDECLARE_EVENT(EVT_SHOW_MAKE_OUTPUT, wxThreadEvent);
wxDECLARE_EVENT(EVT_SHOW_RUN_OUTPUT, wxThreadEvent);
wxDECLARE_EVENT(EVT_SHOW_COMPILE_OUTPUT, wxThreadEvent);
wxDECLARE_EVENT(EVT_SHOW_FIND_OUTPUT, wxThreadEvent);
// Activate a Workspace tab.
wxDECLARE_EVENT(EVT_SHOW_PROJECT_TREE, wxThreadEvent);
wxDECLARE_EVENT(EVT_SHOW_OPENED_FILES, wxThreadEvent);
// Load the typeset result into its editor.
wxDECLARE_EVENT(EVT_TYPESET_DONE, wxThreadEvent);

// Rows and output: the payload is a CompileRow, a LookupEntry, or for the
// tool output the bytes as a std::string.
wxDECLARE_EVENT(EVT_COMPILE_ROW, wxThreadEvent);
wxDECLARE_EVENT(EVT_LOOKUP_ROW, wxThreadEvent);
wxDECLARE_EVENT(EVT_MAKE_BYTES, wxThreadEvent);
wxDECLARE_EVENT(EVT_RUN_BYTES, wxThreadEvent);

void PostPaneEvent(wxEvtHandler* frame, wxEventType type);
void PostCompileRow(wxEvtHandler* frame, CompileRow row);
void PostLookupRow(wxEvtHandler* frame, LookupEntry entry);
void PostMakeBytes(wxEvtHandler* frame, std::string bytes);
void PostRunBytes(wxEvtHandler* frame, std::string bytes);

} // namespace ide
