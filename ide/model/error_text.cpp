#include "ide/model/error_text.hpp"

#include <cerrno>
#include <cstring>

#include "platform/class_registry.hpp"
#include "platform/file_io.hpp"
#include "platform/registry_file.hpp"

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

std::string TooLargeReason(const std::string& readError)
{
    const std::string bound = platform::kTooLargeReason;
    const bool stopped = readError.size() >= bound.size() &&
                         readError.compare(readError.size() - bound.size(), bound.size(), bound) == 0;
    return stopped ? "文件太大（超过 64 MiB）" : std::string();
}

std::string ControlCreationFailure(const std::string& registryPath, const std::string& classId,
                                   const std::string& error)
{
    // Registered: the library or the control itself failed, which `error` tells.
    if (platform::FindClass(registryPath, classId))
        return error;
    const std::string again = "用 quvreg 注册编辑控件（quvreg 加编辑控件库 libquvpad.so 的路径）";
    platform::RegistryFile registry(registryPath);
    if (!registry.Load()) {
        std::string reason = ReadFailureReason(registryPath);
        if (reason.empty())
            reason = TooLargeReason(registry.Error());
        if (reason.empty())
            reason = registry.Error();
        return "注册表文件 " + registryPath + " 无法读取：" + reason + "。\n编辑控件登记在这个文件里：移走或修好它以后，" +
               again + "。";
    }
    if (registry.StrayLine())
        return "注册表文件 " + registryPath + " 无法读取：第 " + std::to_string(registry.StrayLine()) +
               " 行不是注册表的内容（是二进制数据或别的文件）。\n" + again + "，它会重写这个文件。";
    return error + "\n注册表文件 " + registryPath + " 中没有编辑控件的登记：" + again + "。";
}

} // namespace ide
