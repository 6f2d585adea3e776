#ifndef QUV_TOOLS_QUVDUMP_VERBS_HPP
#define QUV_TOOLS_QUVDUMP_VERBS_HPP

#include <string>

// One function per verb, each in its own file; main.cpp dispatches by name.
// Each returns the process exit status.
namespace quvdump {

int dumpTokens(const std::string& path);
int dumpTree(const std::string& path);
int dumpParseOnly(const std::string& path);
int dumpExpression(const std::string& path);
int dumpTypeset(const std::string& path);
int dumpTranslate(const std::string& path);

} // namespace quvdump

#endif
