#pragma once
// A set of the 256 byte values, as the highlighters use it for break and word
// characters.
#include <cstdint>
#include <initializer_list>

namespace pelm {

class TCharSet {
public:
    constexpr TCharSet() = default;
    constexpr TCharSet(std::initializer_list<unsigned char> chars) {
        for (unsigned char c : chars) Add(c);
    }

    constexpr bool Contains(unsigned char c) const { return (bits_[c >> 6] >> (c & 63)) & 1u; }
    constexpr TCharSet& Add(unsigned char c) {
        bits_[c >> 6] |= uint64_t{1} << (c & 63);
        return *this;
    }
    constexpr TCharSet& Remove(unsigned char c) {
        bits_[c >> 6] &= ~(uint64_t{1} << (c & 63));
        return *this;
    }
    // Adds every code from first to last, both included.
    constexpr TCharSet& AddRange(unsigned char first, unsigned char last) {
        for (int c = first; c <= last; ++c) Add(static_cast<unsigned char>(c));
        return *this;
    }
    constexpr int Size() const {
        int n = 0;
        for (int c = 0; c < 256; ++c) n += Contains(static_cast<unsigned char>(c));
        return n;
    }
    constexpr bool operator==(const TCharSet&) const = default;

private:
    uint64_t bits_[4] = {0, 0, 0, 0};
};

}  // namespace pelm
