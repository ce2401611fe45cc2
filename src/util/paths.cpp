#include "util/paths.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace vek {

std::string ProgramFolder() {
    if (const char* env = std::getenv("VEK_DATA_DIR"); env && *env) {
        std::string f = env;
        if (f.back() != '/') f += '/';
        return f;
    }
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return "./";
    return DataFolderOf(exe.parent_path().string());
}

std::string DataFolderOf(const std::string& programFolder) {
    namespace fs = std::filesystem;
    std::string own = programFolder;
    if (own.empty() || own.back() != '/') own += '/';
    std::error_code ec;
    if (fs::is_regular_file(own + "vek.dat", ec)) return own;
    // own ends in "/": its parent path is the folder itself.
    const fs::path installed = fs::path(own).parent_path().parent_path() / "share" / "vek";
    if (fs::is_regular_file(installed / "vek.dat", ec)) return installed.string() + "/";
    return own;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

}  // namespace vek
