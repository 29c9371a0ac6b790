#include "converter_writer.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "colour_tables.h"

namespace {

// The list items of a name table, each its name padded to 21 characters.
std::vector<std::string_view> list_items(const NamedColourTable& table)
{
    std::vector<std::string_view> items;
    items.reserve(static_cast<std::size_t>(table.count));
    for (int i = 1; i <= table.count; ++i) {
        items.push_back(table.padded_name(i));
    }
    return items;
}

std::span<const std::string_view> german_items()
{
    static const std::vector<std::string_view> items = list_items(german_colour_table());
    return items;
}

std::span<const std::string_view> english_items()
{
    static const std::vector<std::string_view> items = list_items(english_colour_table());
    return items;
}

void write_field(const FieldWrite& w, ConverterToolkit& dialog)
{
    switch (w.kind) {
    case FieldKind::trackbar: dialog.put_trackbar(w.field, w.integer, 0, w.selection_end); break;
    case FieldKind::integer: dialog.put_integer(w.field, w.integer); break;
    case FieldKind::real: dialog.put_real(w.field, w.real); break;
    }
}

} // namespace

void cc_set_field_states(ConverterToolkit& dialog, std::span<const int> fields, int n, int state)
{
    const std::size_t count = static_cast<std::size_t>(std::clamp<int>(n, 0, static_cast<int>(fields.size())));
    for (int field : fields.first(count)) {
        dialog.field_state(field, state);
    }
}

void cc_write_refresh(const DialogView& view, int model, ConverterToolkit& dialog)
{
    for (const FieldVisibility& v : view.visibility) {
        if (v.real_state == 0 || v.group == nullptr) {
            continue;  // a range selection the menu does not offer
        }
        cc_set_field_states(dialog, v.group->real, v.group->count, v.real_state);
        cc_set_field_states(dialog, v.group->integer, v.group->count, v.integer_state);
    }

    for (int i = 0; i < kFieldWriteCount; ++i) {
        if (i == kWritesBeforeCodes) {
            dialog.put_string(kHexCodeField, view.hex);
            dialog.put_string(kDecimalCodeField, view.decimal);
        }
        write_field(view.fields[static_cast<std::size_t>(i)], dialog);
    }

    if (model == kModelEnglishName) {
        dialog.put_menu(kEnglishListField, english_items(), view.english_index);
        dialog.put_menu(kGermanListField, german_items(), view.german_index);
    } else {
        dialog.put_menu(kGermanListField, german_items(), view.german_index);
        dialog.put_menu(kEnglishListField, english_items(), view.english_index);
    }

    dialog.put_string(kAliasField, view.alias);

    dialog.show_preview(kPreviewField, view.preview.r, view.preview.g, view.preview.b, kPreviewWidth,
                        kPreviewHeight);
    if (view.comparison_preview) {
        dialog.show_preview(kComparisonPreviewField, view.preview.r, view.preview.g, view.preview.b,
                            kPreviewWidth, kPreviewHeight);
    }
}
