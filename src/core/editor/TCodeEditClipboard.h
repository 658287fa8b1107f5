#pragma once
// The clipboard as the editor sees it: the standard text format and the private
// block format "CodeEdit Control Block Type" (a mode byte, the text, a NUL).
#include <optional>
#include <string>

namespace pelm {

class TCodeEditClipboard {
public:
    virtual ~TCodeEditClipboard() = default;
    // Replaces the clipboard's content by the text and, when given, the private
    // block data. Returns false when the clipboard refused the data.
    virtual bool SetContent(const std::string& text, const std::string* blockData) = 0;
    virtual std::optional<std::string> Text() const = 0;
    virtual std::optional<std::string> BlockData() const = 0;
};

// The private block format: mode byte + text + NUL.
std::string MakeBlockData(int mode, const std::string& text);
// Splits block data into mode and text; false when it is too short to hold a mode.
bool ParseBlockData(const std::string& data, int& mode, std::string& text);

// A clipboard held in memory, for tests and for a program run without a desktop.
class TMemoryClipboard : public TCodeEditClipboard {
public:
    bool SetContent(const std::string& text, const std::string* blockData) override;
    std::optional<std::string> Text() const override { return text_; }
    std::optional<std::string> BlockData() const override { return block_; }
    // Puts plain text only, as another program would.
    void SetText(const std::string& text) { text_ = text; block_.reset(); }
    void Clear() { text_.reset(); block_.reset(); }
    // Makes the next SetContent fail, to exercise the error path.
    bool failNextSet = false;

private:
    std::optional<std::string> text_;
    std::optional<std::string> block_;
};

}  // namespace pelm
