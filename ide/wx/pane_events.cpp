#include "ide/wx/pane_events.hpp"

namespace ide {

wxDEFINE_EVENT(EVT_SHOW_MAKE_OUTPUT, wxThreadEvent);
wxDEFINE_EVENT(EVT_SHOW_RUN_OUTPUT, wxThreadEvent);
wxDEFINE_EVENT(EVT_SHOW_COMPILE_OUTPUT, wxThreadEvent);
wxDEFINE_EVENT(EVT_SHOW_FIND_OUTPUT, wxThreadEvent);
wxDEFINE_EVENT(EVT_SHOW_PROJECT_TREE, wxThreadEvent);
wxDEFINE_EVENT(EVT_SHOW_OPENED_FILES, wxThreadEvent);
wxDEFINE_EVENT(EVT_TYPESET_DONE, wxThreadEvent);
wxDEFINE_EVENT(EVT_COMPILE_ROW, wxThreadEvent);
wxDEFINE_EVENT(EVT_LOOKUP_ROW, wxThreadEvent);
wxDEFINE_EVENT(EVT_LOOKUP_ROWS, wxThreadEvent);
wxDEFINE_EVENT(EVT_MAKE_BYTES, wxThreadEvent);
wxDEFINE_EVENT(EVT_RUN_BYTES, wxThreadEvent);

namespace {
template <typename T>
void post(wxEvtHandler* frame, wxEventType type, T payload)
{
    auto* event = new wxThreadEvent(type);
    event->SetPayload(std::move(payload));
    wxQueueEvent(frame, event);
}
} // namespace

void PostPaneEvent(wxEvtHandler* frame, wxEventType type) { wxQueueEvent(frame, new wxThreadEvent(type)); }
void PostCompileRow(wxEvtHandler* frame, CompileRow row) { post(frame, EVT_COMPILE_ROW, std::move(row)); }
void PostLookupRow(wxEvtHandler* frame, LookupEntry entry) { post(frame, EVT_LOOKUP_ROW, std::move(entry)); }
void PostLookupRow(wxEvtHandler* frame, const LookupVisit& visit, LookupEntry entry)
{
    if (visit.batch->Add(std::move(entry)))
        post(frame, EVT_LOOKUP_ROWS, visit);
}
void PostReload(wxEvtHandler* frame, const LookupVisit& visit, const std::string& file)
{
    if (visit.batch->AddReload(file))
        post(frame, EVT_LOOKUP_ROWS, visit);
}
void PostMakeBytes(wxEvtHandler* frame, std::string bytes) { post(frame, EVT_MAKE_BYTES, std::move(bytes)); }
void PostRunBytes(wxEvtHandler* frame, std::string bytes) { post(frame, EVT_RUN_BYTES, std::move(bytes)); }

} // namespace ide
