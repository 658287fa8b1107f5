#pragma once
// A conversion descriptor of glibc's iconv, closed with its owner.
#include <cstddef>
#include <iconv.h>
#include <string>

namespace pelm::encoding {

class Iconv {
public:
    // Throws EError when iconv knows one of the names not.
    Iconv(const std::string& to, const std::string& from);
    ~Iconv();
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    // True when iconv can convert between the two.
    static bool Supports(const std::string& to, const std::string& from);

    // One call of iconv(3): advances in/out; returns false with errno set on a
    // failure (EILSEQ, EINVAL, E2BIG).
    bool Convert(const char*& in, size_t& inLeft, char*& out, size_t& outLeft);
    void Reset();

private:
    iconv_t cd_;
};

}  // namespace pelm::encoding
