#include "ide/model/error_text.hpp"

#include <cerrno>
#include <cstring>

#include "platform/file_io.hpp"

namespace ide {

namespace {

struct Wording {
    int error;
    const char* text;
};
const Wording kWordings[] = {
    {ENOENT, "文件或文件夹不存在"},
    {EACCES, "没有访问权限"},
    {EPERM, "不允许此操作"},
    {EROFS, "文件系统是只读的"},
    {ENOSPC, "磁盘空间不足"},
    {EDQUOT, "已超出磁盘配额"},
    {EISDIR, "这是一个文件夹"},
    {ENOTDIR, "路径中有一项不是文件夹"},
    {ENAMETOOLONG, "文件名太长"},
    {ELOOP, "符号链接层数过多"},
    {EEXIST, "文件已存在"},
    {EBUSY, "文件正被占用"},
    {ETXTBSY, "文件正被占用"},
    {EMFILE, "打开的文件太多"},
    {ENFILE, "打开的文件太多"},
    {EIO, "输入输出错误"},
    {EFBIG, "文件太大"},
};

} // namespace

std::string ErrorText(int error)
{
    for (const Wording& w : kWordings)
        if (w.error == error)
            return w.text;
    return std::strerror(error);
}

std::string SaveFailureReason(int error, bool oldContentsLost, const std::string& fallback)
{
    std::string reason = error ? ErrorText(error) : fallback;
    if (oldContentsLost)
        reason += "；文件原有的内容未能恢复";
    return reason;
}

std::string ReadFailureReason(const std::string& path)
{
    const int error = platform::ReadOpenError(path);
    return error ? ErrorText(error) : std::string();
}

} // namespace ide
