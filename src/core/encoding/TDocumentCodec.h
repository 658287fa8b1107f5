#pragma once
// The encoding of the open document, attached to its line buffer: loading
// detects (or takes the chosen) encoding and converts the file to the buffer's
// 1251 text; saving writes the text back in the same encoding, byte-order mark
// included, so that a file opened and saved unchanged keeps its bytes.
#include <optional>
#include <string>
#include <string_view>

#include "core/editor/TTextFileCodec.h"
#include "core/encoding/Conversion.h"
#include "core/encoding/EncodingDetector.h"
#include "core/encoding/TextEncoding.h"

namespace pelm {

class TCodeEditStringList;

namespace encoding {

// How the next load finds its encoding; used once.
struct LoadPlan {
    std::optional<TextEncoding> forced;      // reopened in a chosen encoding
    std::optional<TextEncoding> remembered;  // chosen earlier; taken when the bytes are valid in it
    bool guess = true;                       // false for templates: undeclared 8-bit text is 1251
};

// What the last load found.
struct LoadReport {
    TextEncoding encoding;
    DetectionSource source = DetectionSource::Default;
    // Set when the text is not the file's whole content: a character with no
    // 1251 byte, or bytes that are not text in the encoding. Such a document
    // must not be saved.
    std::optional<DecodeProblem> problem;
};

class TDocumentCodec : public TTextFileCodec {
public:
    TDocumentCodec();

    void PlanNextLoad(const LoadPlan& plan) { plan_ = plan; }
    const LoadReport& LastLoad() const { return report_; }

    // The encoding the next save writes.
    const TextEncoding& Encoding() const { return encoder_.Encoding(); }
    void SetEncoding(const TextEncoding& e);

    // The first character of the buffer the encoding cannot hold.
    std::optional<EncodeProblem> FindUnencodable(const TCodeEditStringList& lines) const;

    bool Decode(std::string_view file, std::string& text) override;
    bool Identity() const override { return encoder_.Identity(); }
    std::string_view Prefix() const override { return encoder_.Bom(); }
    bool Encode(std::string_view text, std::string& bytes) const override { return encoder_.Append(text, bytes); }

private:
    LoadPlan plan_;
    LoadReport report_;
    Encoder encoder_;
};

}  // namespace encoding
}  // namespace pelm
