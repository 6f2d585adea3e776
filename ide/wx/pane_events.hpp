// The IDE's custom events. Worker threads and commands post them to the main
// frame, which handles them on the user-interface thread: the pane commands
// show a pane and clear it, the row events append what a worker reported.
// Every Post function may be called from any thread.
#pragma once
#include <functional>
#include <memory>
#include <string>

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
// A find job's rows: the payload is a LookupVisit, posted when its batch was idle.
wxDECLARE_EVENT(EVT_LOOKUP_ROWS, wxThreadEvent);
wxDECLARE_EVENT(EVT_MAKE_BYTES, wxThreadEvent);
wxDECLARE_EVENT(EVT_RUN_BYTES, wxThreadEvent);

void PostPaneEvent(wxEvtHandler* frame, wxEventType type);
void PostCompileRow(wxEvtHandler* frame, CompileRow row);
void PostLookupRow(wxEvtHandler* frame, LookupEntry entry);

// The find pane's visit to a find job's batch; `reload` is called for each
// file the job rewrote, once the rows before it are in the pane.
struct LookupVisit {
    std::shared_ptr<LookupBatch> batch;
    std::function<void(const std::string&)> reload;
};
// Adds a row to the batch and posts a visit when it was idle.
void PostLookupRow(wxEvtHandler* frame, const LookupVisit& visit, LookupEntry entry);
// Adds the reloading of a rewritten file to the batch, likewise.
void PostReload(wxEvtHandler* frame, const LookupVisit& visit, const std::string& file);
void PostMakeBytes(wxEvtHandler* frame, std::string bytes);
void PostRunBytes(wxEvtHandler* frame, std::string bytes);

} // namespace ide
