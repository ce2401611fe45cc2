// File helpers shared by the tests that write files: a fresh folder that is
// removed again, and whole-file reads and writes.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

namespace vek::testing {

// A new, empty folder under /tmp, removed with everything in it at the end
// of its scope. Each object gets its own folder, so tests of several builds
// can run at once.
class TempFolder {
  public:
    explicit TempFolder(const std::string& prefix = "vek-test") {
        std::string name = "/tmp/" + prefix + "-XXXXXX";
        if (!::mkdtemp(name.data())) throw std::runtime_error("cannot create a folder in /tmp");
        path_ = name;
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

// The whole file as bytes; "" when it cannot be read.
inline std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Replaces the file by exactly these bytes.
inline void WriteRaw(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

}  // namespace vek::testing
