#pragma once
// A list of listeners to one event. Subscribe returns a token that Unsubscribe
// takes back; Notify calls every listener in the order they subscribed.
//
// A listener may subscribe or unsubscribe others (itself included) while the
// event is being raised: an unsubscribed listener is not called again, and one
// subscribed during the call is first called by the next Notify.
#include <cstddef>
#include <deque>
#include <functional>
#include <utility>

namespace pelm {

using TListenerToken = int;

template <class... Args>
class TListenerList {
public:
    using Listener = std::function<void(Args...)>;

    TListenerList() = default;
    TListenerList(const TListenerList&) = delete;
    TListenerList& operator=(const TListenerList&) = delete;

    // A null listener is not added; its token is 0, which Unsubscribe ignores.
    TListenerToken Subscribe(Listener f) {
        if (!f) return 0;
        entries_.push_back(Entry{nextToken_, true, std::move(f)});
        ++live_;
        return nextToken_++;
    }

    void Unsubscribe(TListenerToken token) {
        if (token == 0) return;
        for (Entry& e : entries_)
            if (e.token == token && e.active) {
                e.active = false;
                --live_;
                break;
            }
        compact();
    }

    void Clear() {
        for (Entry& e : entries_) e.active = false;
        live_ = 0;
        compact();
    }

    bool Empty() const { return live_ == 0; }
    explicit operator bool() const { return live_ != 0; }
    int Count() const { return live_; }

    void Notify(Args... args) {
        if (live_ == 0) return;
        ++depth_;
        // By index and up to the count at the start: a listener added now waits
        // for the next event. The entries are a deque, so adding one moves none
        // of the others, the one running now included.
        const size_t n = entries_.size();
        struct DepthGuard {
            TListenerList& l;
            ~DepthGuard() {
                if (--l.depth_ == 0) l.compact();
            }
        } guard{*this};
        for (size_t i = 0; i < n; ++i)
            if (entries_[i].active) entries_[i].fn(args...);
    }

    void operator()(Args... args) { Notify(args...); }

private:
    struct Entry {
        TListenerToken token;
        // Cleared by Unsubscribe; the function itself is destroyed only when no
        // event is running, as it may be the one running.
        bool active;
        Listener fn;
    };
    void compact() {
        if (depth_ == 0 && static_cast<int>(entries_.size()) != live_)
            std::erase_if(entries_, [](const Entry& e) { return !e.active; });
    }

    std::deque<Entry> entries_;
    int live_ = 0;
    int depth_ = 0;
    TListenerToken nextToken_ = 1;
};

}  // namespace pelm
