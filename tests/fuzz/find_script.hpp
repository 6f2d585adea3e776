// Find and replace over one document, checked against plain models: the
// matches against std::string::find for a literal text, replace-all against
// splicing the replacement in at the matches, the selected text and the
// places Find next selects against offsets counted in the document's text.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// The input picks the options, the find text, the replacement and a
// selection; the rest is the document. Returns an empty text when every
// check held, else what differed.
std::string RunFindScript(const std::uint8_t* data, std::size_t size);
