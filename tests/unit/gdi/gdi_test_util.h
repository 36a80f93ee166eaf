// Helpers of the GDI tests beyond the shared kt::Surface: named table rows and colour names.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "pixels.h"

namespace gt {

// Table rows print as their name in failure messages and name their instance.
#define GT_PRINT_ROW_NAME(Row) \
    [[maybe_unused]] void PrintTo(const Row& row, std::ostream* os) { *os << row.name; }
constexpr auto kRowName = [](const auto& info) { return std::string(info.param.name); };

constexpr COLORREF kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0), kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0),
                   kBlue = RGB(0, 0, 255);
constexpr kt::Surface::Format kMono = kt::Surface::Format::Mono;

inline bool SameRect(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != 0; }

}  // namespace gt
