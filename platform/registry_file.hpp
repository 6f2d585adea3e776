// A small per-user registry: a text file of keys holding named string values,
// where the control library records its class ids, ProgIDs and its own path
// and where a host looks them up. Keys are paths with backslashes, compared
// without regard to ASCII letter case; the value named "" is the key's default.
//
// The file is read whole and written whole; a write goes to a temporary file
// that is then renamed over the old one, so a reader never sees half a file.
#pragma once
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/safe_write.hpp"

namespace platform {

class RegistryFile {
public:
    // The user's registry file: $QUVBENCH_REGISTRY when set, else
    // $XDG_CONFIG_HOME/QuvBench/registry, else ~/.config/QuvBench/registry.
    static std::string UserPath();

    explicit RegistryFile(std::string path);

    // Reads the file; a missing file is an empty registry. False when the file
    // exists but cannot be read, with Error() saying why. Lines that are no
    // key and no value of one are passed over (StrayLine() tells the first).
    bool Load();
    // Why the last Load failed, in the system's words; empty after one that read.
    const std::string& Error() const { return error_; }
    // The number (from 1) of the first line the last Load passed over, not
    // blank and neither "[key]" nor "name=value" under a key: binary data or
    // another file's text where the registry should be. 0 when there is none.
    size_t StrayLine() const { return strayLine_; }
    // Writes every key, creating the folder when needed.
    bool Save() const;
    // The same, saying why it failed (the system's error number in `why`).
    bool Save(std::string& reason, WriteFailure& why) const;

    void SetValue(const std::string& key, const std::string& name, const std::string& value);
    std::optional<std::string> GetValue(const std::string& key, const std::string& name = "") const;
    bool HasKey(const std::string& key) const;
    // Removes the key with all its values and every key below it.
    void DeleteKey(const std::string& key);
    std::vector<std::string> Keys() const;

    const std::string& Path() const { return path_; }

private:
    struct Key {
        std::string name;                           // as first written
        std::map<std::string, std::string> values;  // value name -> value
    };
    static std::string Fold(const std::string& key);

    std::string path_;
    std::map<std::string, Key> keys_;  // folded key -> key
    std::string error_;
    size_t strayLine_ = 0;
};

} // namespace platform
