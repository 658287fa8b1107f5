#include "core/highlight/TScanContext.h"

#include <algorithm>

namespace pelm {

void TScanContext::KeepLine(std::string_view text) {
#ifdef PELM_EXACT_LINE_BUFFERS
    exactLine_ = std::make_unique<char[]>(text.size() + 1);
    std::copy(text.begin(), text.end(), exactLine_.get());
    exactLine_[text.size()] = '\0';
    line_ = exactLine_.get();
#else
    lineBuf_.assign(text);  // keeps its capacity between lines
    line_ = lineBuf_.c_str();
#endif
    lineLength_ = text.size();
    run_ = 0;
    tokenPos_ = 0;
}

}  // namespace pelm
