#include <gtest/gtest.h>

#include "EditorTestUtil.h"

using namespace pelm;
using namespace editortest;

// The notation must read back what it wrote, or every other editor test lies.
TEST(MarkerNotation, RoundTrips) {
    const char* cases[] = {"ab[c|]d", "ab[|c]d", "|", "abc~~~|", "a[b\ncd|]e", "x\n[|y\nz]", "  ab|cd\n"};
    for (const char* c : cases) {
        TCustomCodeEdit e;
        Load(e, c);
        EXPECT_EQ(Show(e), c) << c;
    }
}

TEST(MarkerNotation, PositionsAreBufferCoordinates) {
    TCustomCodeEdit e;
    Load(e, "ab\nc[de|]f");
    EXPECT_EQ(e.Lines().Count(), 2);
    EXPECT_EQ(e.CaretPos(), (TBufferCoord{4, 2}));
    EXPECT_EQ(e.AnchorPos(), (TBufferCoord{2, 2}));
    EXPECT_EQ(e.SelectedText(), "de");
}
