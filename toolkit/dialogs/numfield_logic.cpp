#include "dialogs/numfield_logic.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace korv {

KeyDecision numfield_filter_char(NumberKind kind, unsigned char ch, char decimal)
{
    switch (ch) {
    case 1: // Ctrl+A
        return {KeyDecision::select_all, static_cast<char>(ch)};
    case 3:  // Ctrl+C
    case 8:  // Backspace
    case 9:  // Tab
    case 13: // Enter
    case 22: // Ctrl+V
    case 24: // Ctrl+X
    case 26: // Ctrl+Z
    case 27: // Esc
        return {KeyDecision::pass, static_cast<char>(ch)};
    default:
        break;
    }
    if ((ch >= '0' && ch <= '9') || ch == '+' || ch == '-')
        return {KeyDecision::pass, static_cast<char>(ch)};
    if (kind == NumberKind::integer)
        return {KeyDecision::refuse, static_cast<char>(ch)};
    if (ch == static_cast<unsigned char>(decimal))
        return {KeyDecision::pass, static_cast<char>(ch)};
    if (ch == 'E' || ch == 'e')
        return {KeyDecision::pass, 'E'};
    if (kind == NumberKind::double_precision && (ch == 'D' || ch == 'd'))
        return {KeyDecision::pass, 'D'};
    return {KeyDecision::refuse, static_cast<char>(ch)};
}

bool numfield_integer_of(double value, std::int32_t& out)
{
    const double t = std::trunc(value);
    if (!(t >= std::numeric_limits<std::int32_t>::min() &&
          t <= std::numeric_limits<std::int32_t>::max()))
        return false;
    out = static_cast<std::int32_t>(t);
    return true;
}

bool numfield_text_passes(const TextReading& text, const CheckContext& context)
{
    if (text.blank) {
        if (context.blank_allowed)
            return true;
        return !(context.range.present() && context.has_value);
    }
    if (!text.number)
        return context.lenient;
    std::int32_t ignored = 0;
    if (context.kind == NumberKind::integer && !numfield_integer_of(text.value, ignored))
        return false;
    if (context.range.present() &&
        (text.value < context.range.minimum || text.value > context.range.maximum))
        return false;
    return true;
}

SpinStep numfield_spin(NumberKind kind, double value, int delta, double small_step,
                       double large_step, std::int32_t base, const NumberRange& range)
{
    // The up-down control's acceleration table yields only +-1 and +-5.
    const double step = (delta >= 5 || delta <= -5) ? large_step : small_step;
    SpinStep r;
    r.value = delta > 0 ? value + step : value - step;
    if (range.present()) {
        if (r.value < range.minimum) {
            r.value = range.minimum;
            r.clamped = true;
        } else if (r.value > range.maximum) {
            r.value = range.maximum;
            r.clamped = true;
        }
    }
    if (kind != NumberKind::integer)
        return r;

    // An integer spinner cannot step beyond what it can hold.
    constexpr double lo = std::numeric_limits<std::int32_t>::min();
    constexpr double hi = std::numeric_limits<std::int32_t>::max();
    double t = std::trunc(r.value);
    if (!(t >= lo)) {
        t = lo;
        r.value = t;
        r.clamped = true;
    } else if (!(t <= hi)) {
        t = hi;
        r.value = t;
        r.clamped = true;
    }
    std::int64_t n = static_cast<std::int64_t>(t);
    const double snap_d = std::trunc(step);
    const std::int64_t snap =
        std::fabs(snap_d) < 2147483648.0 ? static_cast<std::int64_t>(snap_d) : 0;
    if (!r.clamped && snap != 0) {
        // Snap to base + k * step, the division truncating toward zero.
        n = ((n - base) / snap) * snap + base;
        n = std::clamp<std::int64_t>(n, static_cast<std::int64_t>(lo),
                                     static_cast<std::int64_t>(hi));
        r.value = static_cast<double>(n);
    }
    r.integer = static_cast<std::int32_t>(n);
    return r;
}

} // namespace korv
