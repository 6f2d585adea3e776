// The one way a user's file is written: its whole contents replaced without
// losing the old ones and without going behind the back of whoever owns it.
//
//     std::string reason;
//     if (!platform::WriteFileSafely("/home/me/demo.e", text, reason))
//         show("cannot save /home/me/demo.e: " + reason);
#pragma once
#include <string>

namespace platform {

// Replaces the contents of the file at `path` with `data`, or creates it.
//
// A file the user may not write is refused, whatever the folder allows. The
// new bytes normally go to a temporary file beside the old one, which takes
// its place by rename once they are on disk, with the old mode and owner.
// Where that would change what the file is (it has more than one link, its
// owner or group cannot be given to the new file) or cannot be done (no
// temporary file can be made in the folder), the file itself is rewritten in
// place: owner, mode, links and the folder stay as they are, and the old
// bytes are kept in memory meanwhile, so a write that fails half way is
// undone. A symbolic link keeps naming its file, which is the one written,
// also when that file is not there yet: it is made where the chain of links
// ends. No temporary file is left behind on any path, and any name the
// folder takes can be written: the temporary file's own name is kept short
// where the file's is long.
//
// False when the file was not written, with `reason` saying why in a few
// words (it does not repeat the path, but names the file a link leads to);
// after a failed write in place the reason also says whether the old
// contents could be put back.
bool WriteFileSafely(const std::string& path, const std::string& data, std::string& reason);

// Why a write failed, for a caller that says it in words of its own: the
// system's error number (EISDIR for a folder, 0 for a file that is not a
// regular one), and whether a failed write in place lost the old contents.
struct WriteFailure {
    int error = 0;
    bool oldContentsLost = false;
};
bool WriteFileSafely(const std::string& path, const std::string& data, std::string& reason, WriteFailure& why);

// The file `path` names: a chain of symbolic links followed to its end, which
// need not exist yet (a write makes it there, and the links stay). A relative
// link leads from the folder that holds it. False with errno set when a link
// cannot be read or the chain does not end (ELOOP).
bool FileNamedBy(const std::string& path, std::string& target);

// "cannot write PATH: REASON", the message for a failed WriteFileSafely.
std::string WriteFailureMessage(const std::string& path, const std::string& reason);

}  // namespace platform
