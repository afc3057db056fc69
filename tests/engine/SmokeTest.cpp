#include "Engine.h"
#include "HeadlessView.h"

#include <gtest/gtest.h>

using namespace tamarin;

TEST(Smoke, SearchReportsFirstMatch)
{
    HeadlessView view;
    EvaluationState state;
    view.SetText(TextControl::reSearch, "banana");
    state.InputSnapshot = "banana";
    state.PatternSnapshot = "a";
    EXPECT_EQ(Evaluate({view, state}), 1);
    EXPECT_EQ(view.GetText(TextControl::what1), "b");
    EXPECT_EQ(view.GetText(TextControl::what0), "nana");
}
