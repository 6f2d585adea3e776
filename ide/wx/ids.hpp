// Command ids of the IDE. The document manager's own commands keep wx's
// standard ids so that it answers them; the rest are ours.
#pragma once
#include <wx/defs.h>

namespace ide {

enum CommandId : int {
    // Edit, find, compile, view and project commands. wx menu ids stay
    // below 32767.
    ID_EDIT_FIND_NEXT = 30774,
    ID_EDIT_BREAKPOINT = 30775,
    ID_FILE_SAVE_ALL = 30786,
    ID_EDIT_SELECT_ALL = 30787,
    ID_COMPILE_CHECK = 30789,
    ID_RUN = 30792,
    ID_SETUP_FONT = 30793,
    ID_SETUP_COLORS = 30796,
    ID_SETUP_SPACES = 30797,
    ID_REPLACE_IN_FILES = 30798,
    ID_FIND_IN_FILES = 30799,
    ID_COMPILE_PROJECT = 30800,
    ID_COMPILE_FILE = 30801,
    ID_FILE_CLOSE_ALL = 30804,
    ID_EDIT_GOTO_LINE = 30805,
    ID_PANE_SHOW_ERROR = 30811,
    ID_PANE_HELP = 30812,
    ID_PANE_HIDE = 30813,
    ID_PANE_CLEAR = 30815,
    ID_PROJECT_NEW = 30827,
    ID_PROJECT_OPEN = 30830,
    ID_PROJECT_SAVE = 30831,
    ID_PROJECT_SETTINGS = 30832,
    ID_EDIT_FIND_PREVIOUS = 30834,
    ID_EDIT_MATCH_BRACE = 30835,
    ID_BUILD = 30838,
    ID_MAKEFILE = 30839,
    ID_STOP = 30840,
    ID_TYPESET = 30841,

    // Commands the class library numbered above 32767, where wx takes no menu ids.
    ID_FILE_PAGE_SETUP = 31000,
    ID_FILE_PRINT,
    ID_FILE_PRINT_PREVIEW,
    ID_EDIT_UNDO,
    ID_EDIT_REDO,
    ID_EDIT_CUT,
    ID_EDIT_COPY,
    ID_EDIT_PASTE,
    ID_EDIT_FIND,
    ID_EDIT_REPLACE,
    ID_VIEW_TOOLBAR,
    ID_VIEW_STATUS_BAR,
    ID_VIEW_WORKSPACE,
    ID_VIEW_OUTPUT,
    ID_WINDOW_CASCADE,
    ID_WINDOW_TILE_HORZ,
    ID_WINDOW_TILE_VERT,
    ID_NEXT_PANE,
    ID_PREV_PANE,
    ID_RECENT_FILE_1,
    ID_RECENT_FILE_LAST = ID_RECENT_FILE_1 + 7,
    ID_RECENT_PROJECT_1,
    ID_RECENT_PROJECT_LAST = ID_RECENT_PROJECT_1 + 7,
};

} // namespace ide
