#pragma once
// What the program learns about a file before it opens it as a document: only
// a regular file is read (a named pipe would block, a device may never end), a
// file larger than the memory the machine can spare is refused before reading,
// and a file that looks binary is named so that the user can choose to open it
// read-only.
#include <cstdint>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace pelm {

// How many bytes at the start of a file decide whether it looks binary.
constexpr size_t kBinaryProbeSize = 65536;

struct TFileCheck {
    // Empty when the file may be loaded; otherwise the whole error message
    // ("Cannot open file "name". reason").
    std::string Error;
    // A NUL byte in the first block, or control characters other than tab,
    // line breaks and form feed make up more than a tenth of it.
    bool Binary = false;
    uint64_t Size = 0;
};

// Looks at the file: its type, its size against spareMemory, its first block.
// A file that cannot be opened or read gives the system's reason in Error.
TFileCheck CheckDocumentFile(const std::string& fileName, uint64_t spareMemory);

bool LooksBinary(std::string_view firstBlock);

// The memory the machine can give this process now: the kernel's estimate of
// available memory, lowered by the address-space and data limits of the process.
uint64_t SpareMemory();

// Why a file of this mode is not read as a document ("Is a directory", "Not a
// regular file (named pipe)"), or an empty string for a regular file.
std::string NotRegularReason(mode_t mode);

// The reason text for a file of size bytes that does not fit in spare bytes.
std::string TooLargeReason(uint64_t size, uint64_t spare);

inline TFileCheck CheckDocumentFile(const std::string& fileName) { return CheckDocumentFile(fileName, SpareMemory()); }

}  // namespace pelm
