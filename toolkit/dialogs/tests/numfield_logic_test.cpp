#include "dialogs/numfield_logic.h"

#include <gtest/gtest.h>

namespace {

using korv::KeyDecision;
using korv::NumberKind;
using korv::NumberRange;

TEST(NumberFieldKeys, AcceptedCharactersByKind)
{
    struct Row {
        unsigned char ch;
        char decimal;
        KeyDecision::Action integer, real, dbl;
        char shown; // what a real or double field passes on
    };
    const auto R = KeyDecision::refuse;
    const auto P = KeyDecision::pass;
    const Row rows[] = {
        {'7', '.', P, P, P, '7'},  {'-', '.', P, P, P, '-'},   {'+', '.', P, P, P, '+'},
        {'a', '.', R, R, R, 'a'},  {'E', '.', R, P, P, 'E'},   {'e', '.', R, P, P, 'E'},
        {'.', '.', R, P, P, '.'},  {',', '.', R, R, R, ','},   {' ', '.', R, R, R, ' '},
        // With the decimal-comma switch only the locale's separator counts.
        {',', ',', R, P, P, ','},  {'.', ',', R, R, R, '.'},   {8, '.', P, P, P, 8},
        {22, '.', P, P, P, 22},    {27, '.', P, P, P, 27},     {2, '.', R, R, R, 2},
        {0xDF, '.', R, R, R, '\xdf'},
    };
    for (const Row& r : rows) {
        const auto i = korv::numfield_filter_char(NumberKind::integer, r.ch, r.decimal);
        const auto f = korv::numfield_filter_char(NumberKind::real, r.ch, r.decimal);
        const auto d = korv::numfield_filter_char(NumberKind::double_precision, r.ch, r.decimal);
        EXPECT_EQ(i.action, r.integer) << int(r.ch);
        EXPECT_EQ(f.action, r.real) << int(r.ch);
        EXPECT_EQ(d.action, r.dbl) << int(r.ch);
        if (f.action == KeyDecision::pass) {
            EXPECT_EQ(f.ch, r.shown) << int(r.ch);
        }
    }
    // "d" only in a double field, and as "D"; Ctrl+A selects.
    EXPECT_EQ(korv::numfield_filter_char(NumberKind::real, 'd', '.').action, KeyDecision::refuse);
    const auto d = korv::numfield_filter_char(NumberKind::double_precision, 'd', '.');
    EXPECT_EQ(d.action, KeyDecision::pass);
    EXPECT_EQ(d.ch, 'D');
    EXPECT_EQ(korv::numfield_filter_char(NumberKind::integer, 1, '.').action,
              KeyDecision::select_all);
}

TEST(NumberFieldCheck, RangeBlankAndNonNumbers)
{
    struct Row {
        const char* what;
        korv::TextReading text;
        korv::CheckContext ctx;
        bool passes;
    };
    const NumberRange none{};
    const NumberRange zero_ten{0, 10};
    const korv::TextReading blank{true, false, 0};
    const korv::TextReading junk{false, false, 0};
    auto num = [](double v) { return korv::TextReading{false, true, v}; };
    auto ctx = [](NumberKind k, NumberRange r, bool has_value = false, bool blank_ok = false,
                  bool lenient = false) {
        return korv::CheckContext{k, r, has_value, blank_ok, lenient};
    };
    const Row rows[] = {
        {"no range takes every number", num(1e30), ctx(NumberKind::real, none), true},
        {"bounds are inside", num(0), ctx(NumberKind::real, zero_ten), true},
        {"upper bound is inside", num(10), ctx(NumberKind::real, zero_ten), true},
        {"above the range", num(10.5), ctx(NumberKind::real, zero_ten), false},
        {"below the range", num(-0.1), ctx(NumberKind::real, zero_ten), false},
        {"blank without range", blank, ctx(NumberKind::real, none, true), true},
        {"blank, range, never held a value", blank, ctx(NumberKind::real, zero_ten, false), true},
        {"blank, range, held a value", blank, ctx(NumberKind::real, zero_ten, true), false},
        {"blank allowed", blank, ctx(NumberKind::real, zero_ten, true, true), true},
        {"no number, focus leaving", junk, ctx(NumberKind::real, none), false},
        {"no number, checked in place", junk, ctx(NumberKind::real, none, false, false, true), true},
        {"integer at the 32-bit top", num(2147483647.0), ctx(NumberKind::integer, none), true},
        {"integer just beyond the top", num(2147483648.0), ctx(NumberKind::integer, none), false},
        {"integer far below", num(-1e12), ctx(NumberKind::integer, none), false},
        {"integer -2147483648.9 truncates inside", num(-2147483648.9),
         ctx(NumberKind::integer, none), true},
        {"a real may be large", num(2147483648.0), ctx(NumberKind::real, none), true},
    };
    for (const Row& r : rows)
        EXPECT_EQ(korv::numfield_text_passes(r.text, r.ctx), r.passes) << r.what;
}

TEST(NumberFieldSpin, StepsClampingAndSnapping)
{
    struct Row {
        const char* what;
        NumberKind kind;
        double value;
        int delta;
        double small_step, large_step;
        int base;
        NumberRange range;
        double value_after;
        int shown;
        bool clamped;
    };
    const NumberRange none{};
    const Row rows[] = {
        {"large step snaps to the step", NumberKind::integer, 7, 5, 1, 5, 0, none, 10, 10, false},
        {"base 1 step 2 snaps to odd", NumberKind::integer, 4, 1, 2, 5, 1, none, 5, 5, false},
        {"snapping goes toward zero", NumberKind::integer, -3, -1, 2, 5, 0, none, -4, -4, false},
        {"at the maximum it stays", NumberKind::integer, 10, 1, 1, 5, 0, {0, 10}, 10, 10, true},
        {"clamped keeps the bound, shows it truncated", NumberKind::integer, 10, 1, 1, 5, 0,
         {0, 10.7}, 10.7, 10, true},
        {"below the minimum", NumberKind::integer, 0, -5, 1, 5, 0, {0, 10}, 0, 0, true},
        {"template 7 up to 8", NumberKind::integer, 7, 1, 1, 5, 0, {0, 8}, 8, 8, false},
        {"8 up clamps at 8", NumberKind::integer, 8, 1, 1, 5, 0, {0, 8}, 8, 8, true},
        {"cannot step beyond 32 bits", NumberKind::integer, 2147483647, 1, 1, 5, 0, none,
         2147483647, 2147483647, true},
        {"real steps exactly", NumberKind::real, 0.5, 1, 0.01, 0.1, 0, none, 0.51, 0, false},
        {"real large step down", NumberKind::double_precision, 0.5, -5, 0.01, 0.1, 0, none, 0.4,
         0, false},
        {"real clamps", NumberKind::real, 0.95, 5, 0.01, 0.1, 0, {0, 1}, 1, 0, true},
    };
    for (const Row& r : rows) {
        const auto s = korv::numfield_spin(r.kind, r.value, r.delta, r.small_step, r.large_step,
                                           r.base, r.range);
        EXPECT_DOUBLE_EQ(s.value, r.value_after) << r.what;
        EXPECT_EQ(s.clamped, r.clamped) << r.what;
        if (r.kind == NumberKind::integer) {
            EXPECT_EQ(s.integer, r.shown) << r.what;
        }
    }
}

} // namespace
