// A list of listeners to one event: calls in subscription order, and stays
// sound when listeners come and go while the event is being raised.
#include <gtest/gtest.h>

#include <string>

#include "core/platform/ListenerList.h"

using namespace pelm;

TEST(ListenerList, CallsInOrderAndForgetsUnsubscribed) {
    TListenerList<int> list;
    std::string log;
    TListenerToken a = list.Subscribe([&](int v) { log += "a" + std::to_string(v); });
    list.Subscribe([&](int v) { log += "b" + std::to_string(v); });
    EXPECT_EQ(list.Subscribe(nullptr), 0);  // a null listener is not added
    list.Notify(1);
    list.Unsubscribe(a);
    list.Unsubscribe(a);  // twice, and token 0, change nothing
    list.Unsubscribe(0);
    list.Notify(2);
    EXPECT_EQ(log, "a1b1b2");
    EXPECT_EQ(list.Count(), 1);
}

TEST(ListenerList, ListenersComingAndGoingDuringAnEvent) {
    TListenerList<> list;
    std::string log;
    TListenerToken self = 0, later = 0;
    self = list.Subscribe([&] {
        log += "s";
        list.Unsubscribe(self);   // itself, while running
        list.Unsubscribe(later);  // one not yet called this time
        list.Subscribe([&] { log += "n"; });
    });
    later = list.Subscribe([&] { log += "l"; });
    list.Notify();
    EXPECT_EQ(log, "s");  // the new one waits for the next event
    list.Notify();
    EXPECT_EQ(log, "sn");
    list.Clear();
    list.Notify();
    EXPECT_EQ(log, "sn");
    EXPECT_TRUE(list.Empty());
}
