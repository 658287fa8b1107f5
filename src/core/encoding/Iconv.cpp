#include "core/encoding/Iconv.h"

#include <cerrno>

#include "core/platform/Errors.h"

namespace pelm::encoding {

Iconv::Iconv(const std::string& to, const std::string& from) : cd_(::iconv_open(to.c_str(), from.c_str())) {
    if (cd_ == reinterpret_cast<iconv_t>(-1))
        throw EError(Format("Unknown encoding \"%s\"", (from == "UTF-32LE" ? to : from).c_str()));
}

Iconv::~Iconv() { ::iconv_close(cd_); }

bool Iconv::Supports(const std::string& to, const std::string& from) {
    iconv_t cd = ::iconv_open(to.c_str(), from.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    ::iconv_close(cd);
    return true;
}

bool Iconv::Convert(const char*& in, size_t& inLeft, char*& out, size_t& outLeft) {
    char* src = const_cast<char*>(in);
    size_t r = ::iconv(cd_, &src, &inLeft, &out, &outLeft);
    in = src;
    return r != static_cast<size_t>(-1);
}

void Iconv::Reset() { ::iconv(cd_, nullptr, nullptr, nullptr, nullptr); }

}  // namespace pelm::encoding
