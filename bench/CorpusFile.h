#pragma once
// Benchmarks read the shared corpus, decompressed once into the build folder.
#include <cstdlib>
#include <string>
#include <sys/stat.h>

namespace pelm::bench {

// Path of a decompressed corpus file ("big.html"), made from its .gz on first use.
inline std::string CorpusFile(const std::string& name) {
    std::string dir = std::string(PELM_BUILD_DIR) + "/corpus";
    std::string out = dir + "/" + name;
    struct stat st;
    if (::stat(out.c_str(), &st) != 0) {
        std::string cmd = "mkdir -p '" + dir + "' && gzip -dc '" + std::string(PELM_CORPUS_DIR) + "/" + name +
                          ".gz' > '" + out + ".part' && mv '" + out + ".part' '" + out + "'";
        if (std::system(cmd.c_str()) != 0) return {};
    }
    return out;
}

}  // namespace pelm::bench
