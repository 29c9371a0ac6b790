#include "converter.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <string>
#include <string_view>

#include "converter_writer.h"
#include "korvanthide/conversions.h"
#include "korvanthide/fixed_text.h"

namespace {

// Real fields stepped by a hundredth; the hue real fields by whole units.
constexpr int kFineSpinners[] = {1021, 1022, 1023, 1010, 1012, 1014, 1029,
                                 1069, 1072, 1074, 1040, 1042, 1052, 1054};
constexpr int kHueSpinners[] = {1038, 1050};

constexpr int kHueTrackbars[] = {1044, 1032};

// The range menus' items, seven characters each.
namespace RangeMenuLists {
constexpr std::string_view unit_and_byte[] = {"0 - 1  ", "0 - 255"};
constexpr std::string_view unit_percent_byte[] = {"0 - 1  ", "0 - 100", "0 - 255"};
constexpr std::string_view hue_scales[] = {"0 - 1  ", "1 - 240", "1 - 255", "0 - 360"};
} // namespace RangeMenuLists

// Long enough for any number a field shows.
constexpr std::size_t kFieldTextLength = 256;

std::string field_text(ConverterToolkit& dialog, int field)
{
    std::string text(kFieldTextLength, ' ');
    dialog.get_string(field, text);
    text.resize(korv::text_trimmed(text).size());
    return text;
}

// The text the dialog shows for a number written into a number field.
std::string number_text(const DialogCache::WrittenNumber& n)
{
    std::string text(n.integer ? 12 : 100, ' ');
    if (n.integer) {
        korv::yyint2st(n.integer_value, text);
    } else {
        korv::yyrea2st(n.real_value, text, korv::number_field_format);
    }
    text.resize(korv::text_trimmed(text).size());
    return text;
}

void show_real_hide_integer(ConverterToolkit& dialog, const ComponentFieldGroup& group)
{
    cc_set_field_states(dialog, group.real, group.count, kFieldShown);
    cc_set_field_states(dialog, group.integer, group.count, kFieldHidden);
}

bool is_number_field(int field)
{
    const std::optional<FieldTableEntry> e = cc_field_table(field);
    return e && (e->read == FieldRead::integer || e->read == FieldRead::real);
}

} // namespace

void Converter::start()
{
    for (int field : kFineSpinners) {
        dialog_.spinner_step(field, 0.01f, 0.1f);
    }
    for (int field : kHueSpinners) {
        dialog_.spinner_step(field, 1.0f, 10.0f);
    }
    for (int field : kHueTrackbars) {
        dialog_.put_trackbar(field, 0, 0, 360);
    }

    const RangeSelections& r = state_.ranges;
    dialog_.put_menu(kRgbRangeMenu, RangeMenuLists::unit_and_byte, r.rgb);
    show_real_hide_integer(dialog_, ComponentFieldLists::rgb);
    dialog_.put_menu(kCmykRangeMenu, RangeMenuLists::unit_percent_byte, r.cmyk);
    show_real_hide_integer(dialog_, ComponentFieldLists::cmyk);
    dialog_.put_menu(kCmyRangeMenu, RangeMenuLists::unit_percent_byte, r.cmy);
    show_real_hide_integer(dialog_, ComponentFieldLists::cmy);
    dialog_.put_menu(kHsvHueRangeMenu, RangeMenuLists::hue_scales, r.hsv_hue);
    dialog_.put_menu(kHsvSaturationValueRangeMenu, RangeMenuLists::unit_and_byte, r.hsv_saturation_value);
    show_real_hide_integer(dialog_, ComponentFieldLists::hsv_hue);
    show_real_hide_integer(dialog_, ComponentFieldLists::hsv_saturation_value);
    dialog_.put_menu(kHlsHueRangeMenu, RangeMenuLists::hue_scales, r.hls_hue);
    dialog_.put_menu(kHlsLightnessSaturationRangeMenu, RangeMenuLists::unit_and_byte, r.hls_lightness_saturation);
    show_real_hide_integer(dialog_, ComponentFieldLists::hls_hue);
    show_real_hide_integer(dialog_, ComponentFieldLists::hls_lightness_saturation);

    state_.colour.rgb = {1.0f, 1.0f, 1.0f};
    cc_convert_and_refresh(kModelRgb, 0, -1);
}

bool Converter::handle_event(int type, const EventRecord& record)
{
    switch (type) {
    case korv::event::field_changed:
        field_changed(record.first(), record.second());
        return true;
    case korv::event::push_button:
        return push_button(record.first());
    case korv::event::close_request:
        if (record.window() == 0) {
            return false;
        }
        toolkit_.close_window(record.window());
        return true;
    default:
        return true;
    }
}

void Converter::field_changed(int left, int entered)
{
    // What was typed into the field just left counts before the field
    // entered is read.
    if (left == kHexCodeField) {
        read_hex_code();
    } else if (left != entered && is_number_field(left)) {
        read_typed_number(left);
    }

    // The user may have changed both fields: the refresh writes them again,
    // except a trackbar, whose position is known once read.
    if (left != entered) {
        if (cc_trackbar_component(left, state_.colour) != nullptr) {
            dialog_.note_trackbar(left, toolkit_.get_trackbar(left));
        } else {
            dialog_.forget(left);
        }
    }
    if (cc_trackbar_component(entered, state_.colour) == nullptr) {
        dialog_.forget(entered);
    }

    if (entered >= 1001 && entered <= 1075) {
        apply(entered);
    }
    cc_convert_and_refresh(state_.source_model, state_.name_index, 0);
}

void Converter::read_hex_code()
{
    HexText hex;
    hex.fill(' ');
    toolkit_.get_string(kHexCodeField, hex);
    const std::string text(korv::text_trimmed(std::string_view(hex.data(), hex.size())));
    if (text == dialog_.written_text(kHexCodeField)) {
        return;  // passed through: the code is what the refresh wrote
    }
    // A code that is no code keeps the colour; the refresh writes it again.
    if (const std::optional<RgbColour> rgb = cc_parse_hex_code(text)) {
        state_.colour.rgb = *rgb;
        state_.source_model = kModelRgb;
    }
}

void Converter::read_typed_number(int field)
{
    const std::optional<DialogCache::WrittenNumber> written = dialog_.written_number(field);
    const std::string text = field_text(toolkit_, field);
    if (written && text == number_text(*written)) {
        return;
    }
    // A text that is no number is refused by the field itself, which puts
    // its number back.
    double value = 0.0;
    int valid = 0;
    korv::conv_double_text_valid(value, valid, text);
    if (valid == 1) {
        apply(field);
    }
}

void Converter::apply(int field)
{
    const std::optional<FieldTableEntry> entry = cc_field_table(field);
    if (!entry) {
        return;
    }
    double value = 0.0;
    switch (entry->read) {
    case FieldRead::trackbar: value = toolkit_.get_trackbar(field); break;
    case FieldRead::integer: value = toolkit_.get_integer(field); break;
    case FieldRead::real: value = toolkit_.get_real(field); break;
    case FieldRead::menu: value = toolkit_.get_menu(field); break;
    }
    const std::optional<float> stored = cc_field_apply(field, value, state_);
    if (entry->read == FieldRead::trackbar && stored) {
        const int position = static_cast<int>(value);
        dialog_.note_trackbar(field, position);
        std::erase_if(moved_, [field](const MovedTrackbar& m) { return m.field == field; });
        moved_.push_back({field, position, *stored});
    }
}

bool Converter::push_button(int button)
{
    switch (button) {
    case kEndButton:
        return end_refused();  // running on while refused
    case kCancelButton:
        return false;
    case kCompareButton:
        cc_convert_and_refresh(state_.source_model, state_.name_index, -1);
        return true;
    case kInfoButton:
        if (const int window = toolkit_.show_info(); window >= 1) {
            info_window_ = window;
        }
        return true;
    case kColourChoiceButton:
        if (toolkit_.select_colour(chosen_rgb_) == 1) {
            state_.colour.rgb = {static_cast<float>(chosen_rgb_[0]) / 255.0f,
                                 static_cast<float>(chosen_rgb_[1]) / 255.0f,
                                 static_cast<float>(chosen_rgb_[2]) / 255.0f};
            state_.source_model = kModelRgb;
        }
        cc_convert_and_refresh(kModelRgb, 0, -1);
        return true;
    default:
        return true;
    }
}

bool Converter::end_refused()
{
    // A number field left holding a text that is no number would have its
    // number put back by the cancel command; "Ende" and Enter wait for the
    // user to mend it, as for a number out of range.
    const int field = toolkit_.focused_field();
    if (!is_number_field(field)) {
        return false;
    }
    const std::string text = field_text(toolkit_, field);
    double value = 0.0;
    int valid = 0;
    korv::conv_double_text_valid(value, valid, text);
    if (text.empty() || valid == 1) {
        return false;
    }
    toolkit_.refuse_field(field);
    return true;
}

void Converter::keep_moved_trackbars()
{
    std::erase_if(moved_, [this](const MovedTrackbar& m) {
        const float* component = cc_trackbar_component(m.field, state_.colour);
        if (component == nullptr ||
            std::bit_cast<std::uint32_t>(*component) != std::bit_cast<std::uint32_t>(m.value)) {
            return true;  // the colour moved on: the trackbar shows it as computed
        }
        for (FieldWrite& w : workspace_.shown.fields) {
            if (w.field == m.field) {
                w.integer = m.position;
            }
        }
        return false;
    });
}

void Converter::cc_convert_and_refresh(int model, int name_index, int flags)
{
    cc_compute_refresh(model, name_index, flags, state_.ranges, state_.colour, workspace_);
    keep_moved_trackbars();
    cc_write_refresh(workspace_.shown, model, dialog_);
    dialog_.flush();
}
