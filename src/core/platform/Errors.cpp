#include "core/platform/Errors.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace pelm {

std::string Format(const char* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    va_list ap2;
    va_copy(ap2, ap);
    int n = std::vsnprintf(nullptr, 0, fmt, ap);
    va_end(ap);
    std::string out;
    if (n > 0) {
        out.resize(static_cast<size_t>(n));
        std::vsnprintf(out.data(), out.size() + 1, fmt, ap2);
    }
    va_end(ap2);
    return out;
}

std::string SystemErrorText(int err) {
    std::string s = std::strerror(err);
    if (!s.empty() && s.back() != '.') s += '.';
    return s;
}

}  // namespace pelm
