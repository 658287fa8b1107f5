#include "core/encoding/TDocumentCodec.h"

#include <utility>

#include "core/editor/TCodeEditStringList.h"

namespace pelm::encoding {

namespace {

// A remembered choice holds while the file is as it was: no byte-order mark
// has appeared, the bytes are valid in it, and a file since converted to UTF-8
// is not read as 8-bit text.
bool rememberedFits(std::string_view file, const TextEncoding& e) {
    if (BomEncoding(file) || !IsValidIn(file, e)) return false;
    if (IsSingleByte(e) && FirstNonAscii(file) < file.size() && IsValidUtf8(file)) return false;
    return true;
}

}  // namespace

TDocumentCodec::TDocumentCodec() : encoder_(Windows1251()) { report_.encoding = Windows1251(); }

void TDocumentCodec::SetEncoding(const TextEncoding& e) {
    if (e == encoder_.Encoding()) return;
    encoder_ = Encoder(e);
}

std::optional<EncodeProblem> TDocumentCodec::FindUnencodable(const TCodeEditStringList& lines) const {
    if (encoder_.Identity()) return std::nullopt;
    for (int i = 0; i < lines.Count(); ++i) {
        const std::string_view line = lines.Line(i);
        const size_t at = encoder_.FirstUnencodable(line);
        if (at == std::string_view::npos) continue;
        const unsigned char b = static_cast<unsigned char>(line[at]);
        return EncodeProblem{i + 1, static_cast<int>(at) + 1, b, UnicodeOf1251(b)};
    }
    return std::nullopt;
}

bool TDocumentCodec::Decode(std::string_view file, std::string& text) {
    const LoadPlan plan = std::exchange(plan_, LoadPlan{});
    Detection found;
    if (plan.forced) {
        found = {*plan.forced, DetectionSource::Chosen, FirstNonAscii(file) >= file.size()};
    } else if (plan.remembered && rememberedFits(file, *plan.remembered)) {
        found = {*plan.remembered, DetectionSource::Remembered, FirstNonAscii(file) >= file.size()};
    } else {
        found = DetectEncoding(file, DetectOptions{plan.guess});
    }
    report_ = LoadReport{found.encoding, found.source, std::nullopt};
    // The 1251 fast path: the bytes are the text already.
    if (found.encoding.name == "CP1251" || (found.ascii && AsciiRunsSafe(found.encoding))) {
        SetEncoding(found.encoding);
        return false;
    }
    Decoded d = DecodeTo1251(file, found.encoding);
    if (d.hadBom && IsUtf8(found.encoding)) report_.encoding.bom = true;
    if (IsUtf16(found.encoding)) report_.encoding.bom = d.hadBom || found.encoding.bom;
    report_.problem = std::move(d.problem);
    SetEncoding(report_.encoding);
    text = std::move(d.text);
    return true;
}

}  // namespace pelm::encoding
