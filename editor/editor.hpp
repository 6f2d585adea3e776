// Public header of the editor library: the document and the view model of the
// QuvPad editor control, and the ports through which a window layer drives it.
#pragma once
#include "editor/color_text_buffer.hpp"
#include "editor/color_tokenizer.hpp"
#include "editor/editor_document.hpp"
#include "editor/editor_model.hpp"
#include "editor/line_layout.hpp"
#include "editor/ports.hpp"
#include "editor/settings_block.hpp"
#include "editor/text_columns.hpp"
#include "editor/undo_group.hpp"
