#include "platform/ui/GradientRows.h"

#include <gtest/gtest.h>

#include <array>

using ui::Colour;
using ui::OptColour;

namespace {

struct RowCase {
    const char* what;
    std::array<OptColour, 3> stops;
    int height;
    int row;
    Colour expected;
};

// Expected values worked by hand from the rule: stops h div (n-1) apart, each channel
// c(i) + trunc((c(i+1) - c(i)) * t), rows past the last pair take the last colour.
const RowCase kRows[] = {
    {"white key top", {Colour{192, 192, 192}, Colour{128, 128, 128}, Colour{96, 96, 96}}, 94, 0, {192, 192, 192}},
    {"white key row 46", {Colour{192, 192, 192}, Colour{128, 128, 128}, Colour{96, 96, 96}}, 94, 46, {130, 130, 130}},
    {"white key middle stop", {Colour{192, 192, 192}, Colour{128, 128, 128}, Colour{96, 96, 96}}, 94, 47, {128, 128, 128}},
    {"white key bottom", {Colour{192, 192, 192}, Colour{128, 128, 128}, Colour{96, 96, 96}}, 94, 93, {97, 97, 97}},
    {"black key top, unset middle left out", {Colour{96, 96, 96}, std::nullopt, Colour{0, 0, 0}}, 46, 0, {96, 96, 96}},
    {"black key bottom", {Colour{96, 96, 96}, std::nullopt, Colour{0, 0, 0}}, 46, 45, {3, 3, 3}},
    {"progress fill top", {Colour{255, 0, 0}, Colour{0, 255, 0}, Colour{0, 0, 255}}, 16, 0, {255, 0, 0}},
    {"progress fill halfway to green", {Colour{255, 0, 0}, Colour{0, 255, 0}, Colour{0, 0, 255}}, 16, 4, {128, 127, 0}},
    {"progress fill green stop", {Colour{255, 0, 0}, Colour{0, 255, 0}, Colour{0, 0, 255}}, 16, 8, {0, 255, 0}},
    {"progress fill bottom", {Colour{255, 0, 0}, Colour{0, 255, 0}, Colour{0, 0, 255}}, 16, 15, {0, 32, 223}},
    {"odd height: rows past the last pair take the last colour", {Colour{0, 0, 0}, Colour{100, 100, 100}, Colour{200, 200, 200}}, 5, 4, {200, 200, 200}},
    {"too short for the stops: last colour, no division by zero", {Colour{0, 0, 0}, Colour{100, 100, 100}, Colour{200, 200, 200}}, 1, 0, {200, 200, 200}},
};

TEST(GradientRows, RowsFollowTheStops)
{
    for (const RowCase& c : kRows) {
        const auto rows = ui::gradientRows(c.stops, c.height);
        ASSERT_EQ(rows.size(), static_cast<size_t>(c.height)) << c.what;
        EXPECT_EQ(rows[static_cast<size_t>(c.row)], c.expected) << c.what;
    }
}

TEST(GradientRows, FewerThanTwoColoursIsNoGradient)
{
    const std::array<OptColour, 3> one{Colour{1, 2, 3}, std::nullopt, std::nullopt};
    EXPECT_TRUE(ui::gradientRows(one, 40).empty());
}

} // namespace
