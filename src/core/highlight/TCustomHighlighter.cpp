#include "core/highlight/TCustomHighlighter.h"

#include <algorithm>

namespace pelm {

namespace {

// Attribute names are ordered and compared without regard to ASCII case.
int compareNames(std::string_view a, std::string_view b) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 32);
        if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 32);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

}  // namespace

TCustomHighlighter::TCustomHighlighter()
    : breakCharSet_{'!', '"', '\'', '(', ')', '*', '+', ',', '-', '.', '/', ':',
                    ';', '=', '?', '[', '\\', ']', '^', '{', '|', '}'} {}

TCustomHighlighter::~TCustomHighlighter() {
    // The editors still attached clear their Highlighter property; they may
    // unsubscribe while told, so walk a copy.
    std::vector<Subscriber> current = subscribers_;
    for (const Subscriber& s : current)
        if (s.onDestroyed) s.onDestroyed();
}

THighlighterAttributes* TCustomHighlighter::AttributeAt(int i) const {
    if (i < 0 || i >= AttributeCount()) return nullptr;
    return attributes_[static_cast<size_t>(i)].get();
}

TCharSet TCustomHighlighter::WordCharSet() const {
    TCharSet set;
    set.AddRange(33, 255);
    return set;
}

void TCustomHighlighter::ScanToLineEnd() {
    while (!AtLineEnd()) NextToken();
}

void TCustomHighlighter::Subscribe(const void* key, ChangeCallback cb, ChangeCallback onDestroyed) {
    for (Subscriber& s : subscribers_) {
        if (s.key == key) {
            s.cb = std::move(cb);
            s.onDestroyed = std::move(onDestroyed);
            return;
        }
    }
    subscribers_.push_back(Subscriber{key, std::move(cb), std::move(onDestroyed)});
}

void TCustomHighlighter::Unsubscribe(const void* key) {
    std::erase_if(subscribers_, [key](const Subscriber& s) { return s.key == key; });
}

void TCustomHighlighter::ConfigurationFinished() {
    configuring_ = false;
    AttributeChanged();
}

void TCustomHighlighter::AttributeChanged() {
    if (configuring_) return;
    // A subscriber may unsubscribe while it is called, so walk a copy.
    std::vector<Subscriber> current = subscribers_;
    for (const Subscriber& s : current)
        if (s.cb) s.cb();
}

THighlighterAttributes* TCustomHighlighter::AddAttribute(std::string name) {
    auto pos = std::lower_bound(attributes_.begin(), attributes_.end(), name,
                                [](const std::unique_ptr<THighlighterAttributes>& a, const std::string& n) {
                                    return compareNames(a->Name(), n) < 0;
                                });
    if (pos != attributes_.end() && compareNames((*pos)->Name(), name) == 0)
        throw EHighlighterError(Format("Attribute \"%s\" already in list", name.c_str()));
    pos = attributes_.insert(pos, std::make_unique<THighlighterAttributes>(std::move(name)));
    return pos->get();
}

void TCustomHighlighter::FinishConstruction() {
    for (auto& a : attributes_) {
        a->TakeDefaults();
        a->SetChangeCallback([this] { AttributeChanged(); });
    }
}

}  // namespace pelm
