#pragma once
// The line buffer: the open document as an array of 8-bit lines without their
// line-break bytes. Each line also carries the highlighter's state at its end and
// a cache of its tab-expanded width. Changes are reported through six hooks,
// each a list of listeners (the editor, and whoever else follows the text).
//
// Storage: a loaded file stays in memory as the one block it was read into, and
// each line record points into it; a line changed later owns a block of its own.
// A record is 20 bytes plus one byte of flags, so a million short lines cost
// about 21 MB beyond their text.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

#include "core/editor/TTextFileCodec.h"
#include "core/platform/Errors.h"
#include "core/platform/ListenerList.h"

namespace pelm {

class ECodeEditStringList : public EError {
public:
    using EError::EError;
};

enum TLineBreakFormat : uint8_t { lbCrLf = 0, lbLf = 1, lbCr = 2 };

// Marks a line that the highlighter has never scanned.
constexpr int32_t NoLineState = -1;

class TCodeEditStringList {
public:
    using NotifyHook = TListenerList<>;
    using RangeHook = TListenerList<int /*index*/, int /*count*/>;

    // Hooks, raised after the change is complete. Subscribe returns the token
    // that Unsubscribe takes.
    NotifyHook OnLinesChanged;   // the last EndBatch
    NotifyHook OnLinesChanging;  // the first BeginBatch
    NotifyHook OnLinesCleared;   // Clear of a non-empty buffer
    RangeHook OnLinesDeleted;    // Delete, RemoveLines
    RangeHook OnLinesInserted;   // Add, Insert, AppendLines, InsertEmptyLines
    RangeHook OnLinePut;         // Strings[i] :=

    TCodeEditStringList();
    ~TCodeEditStringList();
    TCodeEditStringList(const TCodeEditStringList&) = delete;
    TCodeEditStringList& operator=(const TCodeEditStringList&) = delete;

    int Count() const { return count_; }
    int Capacity() const { return capacity_; }
    void SetCapacity(int newCapacity);

    // The line's text; an index outside the buffer gives an empty string.
    std::string Strings(int i) const { return std::string(Line(i)); }
    // The same without a copy; valid until the next change of the buffer.
    std::string_view Line(int i) const;
    // Replaces line i, or appends when i == Count.
    void SetStrings(int i, std::string_view s);
    int LineLength(int i) const;

    void* Objects(int i) const;
    void SetObjects(int i, void* obj);

    int Add(std::string_view s);
    void Insert(int i, std::string_view s);
    void Delete(int i);
    void Clear();
    void Exchange(int i, int j);
    void AppendLines(const TCodeEditStringList& list);
    void AppendLines(const std::vector<std::string>& list);

    // All lines joined with CR LF, no break after the last.
    std::string Text() const;
    // Clear, then add the text's lines, split at CR LF, LF or CR.
    void SetText(std::string_view text);
    void Assign(const TCodeEditStringList& list);

    void BeginBatch();
    void EndBatch();
    int UpdateCount() const { return updateCount_; }

    void LoadTextFile(const std::string& fileName);
    void SaveTextFile(const std::string& fileName) const;
    // The conversion between the file's bytes and the text, used by the two
    // calls above (nullptr: the bytes are the text). Not owned.
    void SetFileCodec(TTextFileCodec* codec) { codec_ = codec; }
    TTextFileCodec* FileCodec() const { return codec_; }

    void InsertEmptyLines(int index, int numLines);
    void RemoveLines(int index, int numLines);

    int32_t LineState(int i) const;
    void SetLineState(int i, int32_t value);

    std::string ExpandedText(int i) const;
    // The expanded text without a copy when the line has no tabs; otherwise the
    // expansion is written into scratch and a view of it returned.
    std::string_view ExpandedView(int i, std::string& scratch) const;
    int ExpandedWidth(int i) const;
    int LongestLineWidth() const;
    void ApplyTabWidth(int n);
    int TabWidth() const { return tabWidth_; }

    TLineBreakFormat LineBreakFormat() const { return lineBreakFormat_; }
    // The file loaded last ended its lines in more than one way (CR LF, LF, CR);
    // saving writes them all in LineBreakFormat.
    bool MixedLineBreaks() const { return mixedLineBreaks_; }

    // Cached fields of one line, for tests and diagnostics.
    int32_t CachedExpandedLength(int i) const;
    uint8_t CachedFlags(int i) const;
    enum : uint8_t { TabsPresent = 1, TabsAbsent = 2, ExpansionStale = 4 };

    // The write call used by SaveTextFile; tests replace it to simulate a disk
    // that fails part-way. nullptr restores the real one.
    using WriteFunction = ssize_t (*)(int fd, const void* data, size_t size);
    static void SetWriteFunction(WriteFunction fn);

private:
#pragma pack(push, 4)
    struct Rec {
        const char* text;
        uint32_t length;
        int32_t endState;
        int32_t expandedLength;
    };
#pragma pack(pop)
    static_assert(sizeof(Rec) == 20);
    enum : uint8_t { OwnsText = 8 };

    // Records live in one array with a gap of free records at gapStart_, so that
    // repeated inserts and deletes at one place move only the records between it
    // and the previous place, not the whole tail.
    size_t phys(int i) const { return static_cast<size_t>(i < gapStart_ ? i : i + (capacity_ - count_)); }
    Rec& rec(int i) const { return recs_[phys(i)]; }
    uint8_t& flg(int i) const { return flags_[phys(i)]; }
    void moveGap(int to);
    void checkIndex(int i, int limit) const;
    void grow();
    void ensureCapacity(int needed);
    void setCapacityRaw(int newCapacity);
    void releaseText(int i);
    void storeText(int i, std::string_view s);
    void insertRecords(int index, int n);
    void clearAll();
    void computeExpansion(int i) const;
    void notifyInserted(int index, int n) { OnLinesInserted.Notify(index, n); }

    Rec* recs_ = nullptr;
    uint8_t* flags_ = nullptr;
    std::vector<void*> objects_;  // one per line once an object is stored, else empty
    int count_ = 0;
    int capacity_ = 0;
    int gapStart_ = 0;  // logical index where the free records begin
    TLineBreakFormat lineBreakFormat_ = lbCrLf;
    bool mixedLineBreaks_ = false;
    mutable int longestIndex_ = -1;
    int tabWidth_ = 8;
    int updateCount_ = 0;
    TTextFileCodec* codec_ = nullptr;
    // Blocks of text that several lines point into (a loaded file, an appended list).
    std::vector<std::unique_ptr<char[]>> blocks_;
};

// Exclusive update bracket over a buffer.
class BatchGuard {
public:
    explicit BatchGuard(TCodeEditStringList& l) : l_(l) { l_.BeginBatch(); }
    ~BatchGuard() { l_.EndBatch(); }
    BatchGuard(const BatchGuard&) = delete;
    BatchGuard& operator=(const BatchGuard&) = delete;

private:
    TCodeEditStringList& l_;
};

}  // namespace pelm
