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
    std::string f = exe.parent_path().string();
    if (f.empty() || f.back() != '/') f += '/';
    return f;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

}  // namespace vek
