#pragma once
// A temporary folder for one test, removed with everything in it.
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace pelm::test {

struct TempDir {
    std::string path;
    TempDir() {
        char tmpl[] = "/tmp/pelm-test-XXXXXX";
        path = ::mkdtemp(tmpl);
    }
    ~TempDir() {
        std::system(("chmod -R u+w '" + path + "' 2>/dev/null; rm -rf '" + path + "'").c_str());
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string file(const std::string& name) const { return path + "/" + name; }
};

inline void WriteFile(const std::string& name, const std::string& bytes) {
    std::ofstream f(name, std::ios::binary);
    f << bytes;
}

inline std::string ReadFile(const std::string& name) {
    std::ifstream f(name, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

}  // namespace pelm::test
