// The rules of the toolkit's number fields that need no window: which keys
// a field takes, whether its text passes the range check, and a spinner
// step. The window procedures apply them.
#pragma once

#include <cstdint>
#include <string_view>

namespace korv {

enum class NumberKind { integer, real, double_precision };

// Range of a field; a minimum above the maximum means none.
struct NumberRange {
    double minimum = 1000;
    double maximum = -1000;
    bool present() const { return !(minimum > maximum); }
};

// A typed character: refused (the field beeps and swallows it), passed on
// as `ch` (possibly changed, "e" to "E"), or Ctrl+A, which selects the text.
struct KeyDecision {
    enum Action { refuse, pass, select_all } action;
    char ch;
};
// `decimal` is "." or, with the decimal-comma switch on, the locale's
// separator, which then is the only decimal character.
KeyDecision numfield_filter_char(NumberKind kind, unsigned char ch, char decimal);

// What the text of a field reads as, found by the caller's conversion.
struct TextReading {
    bool blank = true;      // empty or all blanks
    bool number = false;    // read as a number without error
    double value = 0;
};

struct CheckContext {
    NumberKind kind = NumberKind::real;
    NumberRange range;
    bool has_value = false;
    bool blank_allowed = false;
    // The check is asked for in place (the focus stays) and is not strict:
    // a text that is no number then passes.
    bool lenient = false;
};

// True when the text passes. An integer field also refuses a number beyond
// the 32-bit range: it could not be held or shown.
bool numfield_text_passes(const TextReading& text, const CheckContext& context);

// A value as an integer field holds it: truncated toward zero, and false
// when that is beyond the 32-bit range.
bool numfield_integer_of(double value, std::int32_t& out);

// A spinner step. `delta` is the up-down notification's: +1 and -1 take
// the small step, +5 and -5 the large one.
struct SpinStep {
    double value = 0;
    bool clamped = false;
    std::int32_t integer = 0;  // the value an integer spinner shows
};
SpinStep numfield_spin(NumberKind kind, double value, int delta, double small_step,
                       double large_step, std::int32_t base, const NumberRange& range);

} // namespace korv
