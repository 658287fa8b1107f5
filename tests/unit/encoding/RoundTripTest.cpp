// Real UTF-8 files of this machine (HTML, CSS, JavaScript, XML, Perl, Python
// under /usr/share and /usr/lib), each opened through the document's codec and
// saved unchanged: the bytes must come back as they were.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "core/editor/TCodeEditStringList.h"
#include "core/encoding/Conversion.h"
#include "core/encoding/EncodingDetector.h"
#include "core/encoding/TDocumentCodec.h"
#include "support/TempDir.h"

using namespace pelm;
using namespace pelm::encoding;
namespace fs = std::filesystem;

namespace {

constexpr int kPerKind = 8;

// UTF-8 files with characters beyond ASCII, up to kPerKind of each extension
// whose characters all have 1251 bytes (the ones that can be edited and saved),
// and a few that cannot (they open read-only).
std::vector<std::string> findUtf8Files() {
    int readOnlyQuota = kPerKind;
    std::map<std::string, int> quota = {{".html", kPerKind}, {".css", kPerKind}, {".js", kPerKind}, {".xml", kPerKind},
                                        {".pl", kPerKind},   {".pm", kPerKind},  {".py", kPerKind}};
    int open = static_cast<int>(quota.size());
    std::vector<std::string> found;
    for (const char* root : {"/usr/share", "/usr/lib"}) {
        std::error_code ec;
        fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, ec), end;
        for (; !ec && it != end && open > 0; it.increment(ec)) {
            const fs::directory_entry& e = *it;
            std::error_code ec2;
            if (!e.is_regular_file(ec2) || e.is_symlink(ec2)) continue;
            auto q = quota.find(e.path().extension().string());
            if (q == quota.end() || q->second == 0) continue;
            if (e.file_size(ec2) > 512 * 1024 || ec2) continue;
            const std::string bytes = test::ReadFile(e.path().string());
            if (FirstNonAscii(bytes) >= bytes.size() || !IsValidUtf8(bytes)) continue;
            if (DecodeTo1251(bytes, Utf8()).problem) {
                if (readOnlyQuota > 0) {
                    --readOnlyQuota;
                    found.push_back(e.path().string());
                }
                continue;
            }
            found.push_back(e.path().string());
            if (--q->second == 0) --open;
        }
    }
    return found;
}

// What a save gives for a text the buffer holds unchanged: the line buffer
// writes a final line break the file may have lacked. Mixed conventions are
// written as CR LF, so such files are left out.
bool uniformBreaks(const std::string& b) {
    bool crlf = false, lf = false, cr = false;
    for (size_t i = 0; i < b.size(); ++i) {
        if (b[i] == '\r') {
            if (i + 1 < b.size() && b[i + 1] == '\n') { crlf = true; ++i; }
            else cr = true;
        } else if (b[i] == '\n') {
            lf = true;
        }
    }
    return int(crlf) + int(lf) + int(cr) <= 1;
}

TEST(EncodingRoundTrip, RealUtf8FilesOfThisMachineComeBackByteForByte) {
    const std::vector<std::string> files = findUtf8Files();
    if (files.empty()) GTEST_SKIP() << "no UTF-8 files with non-ASCII text found under /usr/share and /usr/lib";
    test::TempDir dir;
    int saved = 0, readOnly = 0;
    for (const std::string& name : files) {
        SCOPED_TRACE(name);
        const std::string original = test::ReadFile(name);
        if (!uniformBreaks(original)) continue;
        TDocumentCodec codec;
        TCodeEditStringList lines;
        lines.SetFileCodec(&codec);
        lines.LoadTextFile(name);
        EXPECT_TRUE(IsUtf8(codec.LastLoad().encoding)) << DisplayName(codec.LastLoad().encoding);
        if (codec.LastLoad().problem) {
            // Characters with no 1251 byte: the document opens read-only and is
            // never saved, so there is nothing to write back.
            ++readOnly;
            continue;
        }
        const std::string out = dir.file("saved");
        lines.SaveTextFile(out);
        std::string expected = original;
        if (!expected.empty() && expected.back() != '\n' && expected.back() != '\r')
            expected += lines.LineBreakFormat() == lbLf ? "\n" : lines.LineBreakFormat() == lbCr ? "\r" : "\r\n";
        EXPECT_TRUE(test::ReadFile(out) == expected) << "the saved bytes differ";
        ++saved;
    }
    std::printf("%zu files: %d saved back, %d read-only\n", files.size(), saved, readOnly);
    EXPECT_GT(saved + readOnly, 0);
}

}  // namespace
