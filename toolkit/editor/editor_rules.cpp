#include "editor/editor_rules.h"

#include <algorithm>
#include <cctype>

namespace korv {

namespace {

namespace cmd = editor_command;
namespace opt = EditorOptionFlags;

// Virtual keys the tables use.
constexpr int key_delete = 0x2E;
constexpr int key_insert = 0x2D;
constexpr int key_f2 = 0x71;
constexpr int key_f3 = 0x72;
constexpr int key_f12 = 0x7B;

bool ends_with_no_case(std::string_view text, std::string_view tail)
{
    if (text.size() < tail.size()) {
        return false;
    }
    text = text.substr(text.size() - tail.size());
    return std::equal(text.begin(), text.end(), tail.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
}

std::string capped(std::string text, std::size_t limit)
{
    if (text.size() > limit) {
        text.resize(limit);
    }
    return text;
}

} // namespace

EditorCommandFlags EditorCommandFlags::from_options(int options)
{
    auto has = [options](int bit) { return (options & bit) != 0; };
    EditorCommandFlags f;
    f.viewer = has(opt::viewer);
    f.new_allowed = !has(opt::no_new_open) && !f.viewer;
    f.open_allowed = !has(opt::no_new_open);
    f.save_allowed = !has(opt::no_save) && !f.viewer;
    f.save_as_allowed = !has(opt::no_save_as) && !has(opt::no_save);
    f.print_allowed = !has(opt::no_print);
    f.formatted = has(opt::formatted);
    f.several_buffers = has(opt::several_buffers);
    f.hide_name = has(opt::hide_name);
    f.no_open_message = has(opt::no_open_message);
    f.commands_reported = has(opt::commands_reported);
    f.extended_toolbar = has(opt::extended_toolbar);
    f.one_char_line_ends = has(opt::one_char_line_ends);
    f.backup = has(opt::backup);
    f.modified_mark = has(opt::modified_mark);
    f.word_wrap = has(opt::word_wrap);
    f.close_allowed = f.several_buffers && !has(opt::no_close);
    f.command_line = has(opt::command_line) || has(opt::history);
    f.history = has(opt::history);
    f.toolbar = !has(opt::no_toolbar);
    f.menu_bar = !has(opt::no_menu_bar);
    return f;
}

std::vector<EditorMenuPopup> editor_builtin_menus(const EditorCommandFlags& f,
                                                  int richedit_version, bool shortcuts,
                                                  std::string_view view_label)
{
    auto item = [shortcuts](int command, std::string_view text, std::string_view keys = {},
                            bool always = false) {
        EditorMenuItem entry;
        entry.command = command;
        entry.text = text;
        if (!keys.empty() && (shortcuts || always)) {
            entry.text += '\b';
            entry.text += keys;
        }
        return entry;
    };
    const EditorMenuItem separator{};
    std::vector<EditorMenuPopup> menus;

    EditorMenuPopup file{cmd::file_menu, "&File", {}};
    if (f.new_allowed) file.items.push_back(item(cmd::new_file, "&New", "Ctrl+N"));
    if (f.open_allowed) file.items.push_back(item(cmd::open, "&Open", "Ctrl+O"));
    if (f.close_allowed) {
        file.items.push_back(item(cmd::close, "&Close"));
        if (f.save_allowed || f.save_as_allowed) file.items.push_back(separator);
    }
    if (f.save_allowed) file.items.push_back(item(cmd::save, "&Save", "Ctrl+S"));
    if (f.save_as_allowed) file.items.push_back(item(cmd::save_as, "Save &As", "F12"));
    if (f.new_allowed || f.open_allowed || f.save_allowed || f.save_as_allowed) {
        file.items.push_back(separator);
    }
    if (f.print_allowed) {
        file.items.push_back(item(cmd::print, "&Print", "Ctrl+P"));
        file.items.push_back(item(cmd::print_selection, "Prin&t Selection", "Ctrl+Shift+P"));
        file.items.push_back(separator);
    }
    file.items.push_back(item(cmd::exit, "E&xit"));
    menus.push_back(std::move(file));

    EditorMenuPopup edit{cmd::edit_menu, "&Edit", {}};
    if (!f.viewer) {
        edit.items.push_back(item(cmd::undo, "&Undo", "Ctrl+Z", true));
        if (richedit_version >= 2) edit.items.push_back(item(cmd::redo, "&Redo", "Ctrl+Y", true));
        edit.items.push_back(separator);
        edit.items.push_back(item(cmd::cut, "Cu&t", "Ctrl+X", true));
    }
    edit.items.push_back(item(cmd::copy, "&Copy", "Ctrl+C", true));
    if (!f.viewer) {
        edit.items.push_back(item(cmd::paste, "&Paste", "Ctrl+V", true));
        edit.items.push_back(item(cmd::clear, "&Delete", "Del", true));
    }
    edit.items.push_back(separator);
    edit.items.push_back(item(cmd::select_all, "Select &All", "Ctrl+A", true));
    menus.push_back(std::move(edit));

    EditorMenuPopup search{cmd::search_menu, "&Search", {}};
    search.items.push_back(item(cmd::find, "&Find", "Ctrl+F"));
    search.items.push_back(item(cmd::find_next, "Find &Next", "F3"));
    if (!f.viewer) search.items.push_back(item(cmd::replace, "&Replace", "Ctrl+H"));
    search.items.push_back(separator);
    search.items.push_back(item(cmd::set_bookmark, "&Set Bookmark", "Shift+F2"));
    EditorMenuItem go = item(cmd::goto_bookmark, "Goto &Bookmark", "F2");
    go.grey = true;
    search.items.push_back(go);
    menus.push_back(std::move(search));

    if (f.formatted && !f.viewer) {
        EditorMenuPopup format{cmd::format_menu, "F&ormat", {}};
        format.items.push_back(item(cmd::font, "&Font"));
        format.items.push_back(item(cmd::bullets, "&Bullet Style"));
        format.items.push_back(separator);
        const bool ext = f.extended_toolbar;
        format.items.push_back(item(cmd::align_left, "Align &Left", ext ? "Ctrl+Shift+L" : "Ctrl+L"));
        format.items.push_back(item(cmd::align_centre, "Align &Centre", ext ? "Ctrl+Shift+E" : "Ctrl+E"));
        format.items.push_back(item(cmd::align_right, "Align &Right", ext ? "Ctrl+Shift+R" : "Ctrl+R"));
        menus.push_back(std::move(format));
    }
    if (f.several_buffers) {
        EditorMenuPopup view{cmd::view_menu, "&View", {}};
        EditorMenuItem first;
        first.command = cmd::view_menu + 1;
        first.text = view_label;
        first.checked = true;
        view.items.push_back(first);
        menus.push_back(std::move(view));
    }
    return menus;
}

std::vector<EditorAccelerator> editor_builtin_accelerators(const EditorCommandFlags& f)
{
    std::vector<EditorAccelerator> table;
    auto add = [&table](int key, bool ctrl, bool shift, int command) {
        table.push_back({key, ctrl, shift, command});
    };
    if (f.new_allowed) add('N', true, false, cmd::new_file);
    if (f.open_allowed) add('O', true, false, cmd::open);
    if (f.save_allowed) add('S', true, false, cmd::save);
    if (f.save_as_allowed) add(key_f12, false, false, cmd::save_as);
    if (f.print_allowed) {
        add('P', true, false, cmd::print);
        add('P', true, true, cmd::print_selection);
    }
    add('F', true, false, cmd::find);
    add(key_f3, false, false, cmd::find_next);
    add(key_f2, false, true, cmd::set_bookmark);
    add(key_f2, false, false, cmd::goto_bookmark);
    if (!f.viewer) add('H', true, false, cmd::replace);
    if (f.formatted && !f.viewer) {
        add('B', true, false, cmd::bold);
        add('I', true, false, cmd::italic);
        if (!f.extended_toolbar) add('U', true, false, cmd::underline);
    }
    if (!f.commands_reported) {
        const bool shift = f.extended_toolbar;
        add('L', true, shift, cmd::align_left);
        add('E', true, shift, cmd::align_centre);
        add('R', true, shift, cmd::align_right);
    }
    return table;
}

std::vector<EditorAccelerator> editor_pane_accelerators(const EditorCommandFlags& f,
                                                        int richedit_version)
{
    std::vector<EditorAccelerator> table;
    if (!f.viewer) {
        table.push_back({'Z', true, false, cmd::undo});
        if (richedit_version >= 2) table.push_back({'Y', true, false, cmd::redo});
        table.push_back({'X', true, false, cmd::cut});
        table.push_back({key_delete, false, true, cmd::cut});
        table.push_back({'V', true, false, cmd::paste});
        table.push_back({key_insert, false, true, cmd::paste});
        table.push_back({key_delete, false, false, cmd::clear});
    }
    table.push_back({'C', true, false, cmd::copy});
    table.push_back({'A', true, false, cmd::select_all});
    return table;
}

std::vector<EditorToolbarButton> editor_toolbar_buttons(const EditorCommandFlags& f,
                                                        int richedit_version,
                                                        bool formatting_images,
                                                        bool extended_images)
{
    std::vector<EditorToolbarButton> buttons;
    auto add = [&buttons](int command, int group, int image, bool disabled = false,
                          bool checked = false) {
        buttons.push_back({command, group, image, disabled, checked});
    };
    const EditorToolbarButton separator{};
    if (f.new_allowed) add(cmd::new_file, 0, 0);
    if (f.open_allowed) add(cmd::open, 0, 1);
    if (f.save_allowed) add(cmd::save, 0, 2);
    if (f.print_allowed) add(cmd::print, 0, 3);
    add(cmd::find, 0, 4);
    buttons.push_back(separator);
    if (!f.viewer) add(cmd::cut, 0, 5, true);
    add(cmd::copy, 0, 6, true);
    if (!f.viewer) {
        add(cmd::paste, 0, 7);
        add(cmd::undo, 0, 8, true);
        if (richedit_version >= 2) add(cmd::redo, 0, 9, true);
    }
    if (f.formatted && !f.viewer) {
        if (formatting_images) {
            buttons.push_back(separator);
            add(cmd::bold, 1, 0);
            add(cmd::italic, 1, 1);
            if (!f.extended_toolbar) add(cmd::underline, 1, 2);
            add(cmd::align_left, 1, 3, false, true);
            add(cmd::align_centre, 1, 4);
            add(cmd::align_right, 1, 5);
            add(cmd::bullets, 1, 6);
        }
        if (f.extended_toolbar && extended_images) {
            add(cmd::insert_picture, 2, 0);
            add(cmd::insert_link, 2, 1);
            add(cmd::help, 2, 2);
        }
    }
    return buttons;
}

int editor_standard_image(int image)
{
    // New, Open, Save, Print, Find, Cut, Copy, Paste, Undo, Redo in the
    // system's standard small colour images.
    static constexpr std::array<int, 10> standard{6, 7, 8, 14, 12, 0, 1, 2, 3, 4};
    return image >= 0 && image < static_cast<int>(standard.size())
               ? standard[static_cast<std::size_t>(image)]
               : 0;
}

std::optional<std::string_view> editor_tooltip_text(int command, bool extended_toolbar)
{
    switch (command) {
    case cmd::new_file: return "New";
    case cmd::open: return "Open";
    case cmd::save: return "Save";
    case cmd::print: return "Print";
    case cmd::print_selection: return "Print selected text";
    case cmd::undo: return "Undo";
    case cmd::cut: return "Cut";
    case cmd::copy: return "Copy";
    case cmd::paste: return "Paste";
    case cmd::redo: return "Redo";
    case cmd::find: return "Find";
    case cmd::bullets: return "Bullets";
    case cmd::align_left: return "Align Left";
    case cmd::align_centre: return "Centre";
    case cmd::align_right: return "Align Right";
    case cmd::bold: return "Bold";
    case cmd::italic: return "Italic";
    case cmd::underline: return "Underline";
    case cmd::insert_picture:
        return extended_toolbar ? std::optional<std::string_view>("Insert Picture") : std::nullopt;
    case cmd::insert_link:
        return extended_toolbar ? std::optional<std::string_view>("Insert Link") : std::nullopt;
    case cmd::help:
        return extended_toolbar ? std::optional<std::string_view>("Help") : std::nullopt;
    default: return "";
    }
}

std::optional<std::string_view> editor_menu_help(int command, const EditorCommandFlags& f)
{
    if (command > cmd::view_menu && command <= cmd::view_menu + editor_buffer_limit) {
        return "Switch to this edit buffer";
    }
    switch (command) {
    case 0: return "";
    case cmd::file_menu: return "Commands to Load, Save and Print files";
    case cmd::edit_menu: return "Commands for editing text";
    case cmd::search_menu: return "Commands to locate and replace text";
    case cmd::format_menu: return "Commands to change the formatting of text";
    case cmd::view_menu: return "Commands to switch between files";
    case cmd::new_file: return "Creates a new document";
    case cmd::open: return "Opens an existing document";
    case cmd::save: return "Saves the active document";
    case cmd::save_as: return "Saves the active document with a new name";
    case cmd::print: return "Prints the active document";
    case cmd::print_selection: return "Prints the selected text";
    case cmd::close:
        if (f.viewer || !f.save_allowed) return "Closes the current document";
        return "Closes the current document; prompts you to save changes";
    case cmd::exit:
        if (f.viewer) return "Closes the browser";
        if (f.save_allowed) return "Closes the editor; prompts you to save changes";
        return "Closes the editor";
    case cmd::undo: return "Reverses the last action";
    case cmd::cut: return "Cuts the selected text and places it on the clipboard";
    case cmd::copy: return "Copies the selected text and places it on the clipboard";
    case cmd::paste: return "Inserts clipboard contents";
    case cmd::clear: return "Deletes the selected text";
    case cmd::select_all: return "Selects the entire document";
    case cmd::redo: return "Redoes the last action that was undone";
    case cmd::find: return "Finds the specified text";
    case cmd::find_next: return "Repeats the last find";
    case cmd::replace: return "Replaces specific text with different text";
    case cmd::set_bookmark: return "Bookmarks the current cursor position";
    case cmd::goto_bookmark: return "Moves to a previously bookmarked position";
    case cmd::font: return "Selects the font for the selected or new text";
    case cmd::bullets: return "Inserts a bullet on this line";
    default: return std::nullopt;
    }
}

std::string editor_title(std::string_view saved_caption, std::string_view file_name,
                         bool hide_name, bool modified_mark)
{
    std::string title(saved_caption);
    if (!file_name.empty() && !hide_name) {
        const bool brackets = !saved_caption.empty();
        if (brackets) title += " - [";
        title += file_name;
        if (modified_mark) title += " *";
        if (brackets) title += "]";
    }
    return capped(std::move(title), editor_caption_limit - 1);
}

std::string editor_status_name(std::string_view file_name, bool hide_name, bool modified_mark)
{
    if (file_name.empty() || hide_name) {
        return {};
    }
    std::string text(file_name);
    if (modified_mark) text += " *";
    return text;
}

std::string editor_view_label(int buffer, std::string_view file_name)
{
    std::string label = "&";
    if (buffer >= 1 && buffer <= 9) {
        label += static_cast<char>('0' + buffer);
    } else {
        label += static_cast<char>('A' + std::clamp(buffer, 10, editor_buffer_limit) - 10);
    }
    label += ' ';
    label += file_name.empty() ? std::string_view("Untitled") : file_name;
    return label;
}

std::string editor_line_column_text(unsigned line, unsigned column)
{
    return "Line:" + std::to_string(line) + "   Col:" + std::to_string(column);
}

std::string editor_save_prompt_text(std::string_view file_name, bool hide_name)
{
    if (file_name.empty() || hide_name) {
        return "Do you want to save changes?";
    }
    return "Do you want to save changes to " + std::string(file_name) + "?";
}

std::string editor_filter_convert(std::string_view filter)
{
    if (filter.empty()) {
        return {};
    }
    const char separator = filter.back();
    std::string converted(filter.substr(0, editor_filter_limit));
    std::replace(converted.begin(), converted.end(), separator, '\0');
    return converted;
}

std::string editor_dialog_filter(std::string_view converted, bool formatted)
{
    using namespace std::string_view_literals;
    std::string filter;
    if (!converted.empty() && converted.front() != '\0') {
        filter.assign(converted);
    } else {
        if (formatted) filter += "Rich Text Files (*.RTF)\0*.RTF\0"sv;
        filter += "Text Files (*.TXT)\0*.TXT\0All Files (*.*)\0*.*\0"sv;
    }
    // Whatever the caller's string held, the list ends in two NULs.
    filter.append(2, '\0');
    return filter;
}

bool editor_file_is_rtf(std::string_view name, bool formatted)
{
    return formatted && ends_with_no_case(name, ".rtf");
}

std::string editor_backup_name(std::string_view name)
{
    return std::string(name) + ".bak";
}

PlainText editor_plain_text(std::string_view bytes, int richedit_version)
{
    PlainText plain;
    plain.text.assign(bytes);
    std::replace(plain.text.begin(), plain.text.end(), '\0', ' ');
    if (!plain.text.empty() && plain.text.back() == '\x1A') {
        plain.text.pop_back();
    }
    plain.split = richedit_version >= 2 && plain.text.size() >= 5
                  && plain.text.compare(0, 2, "{\\") == 0 && plain.text[2] == 'r';
    return plain;
}

bool editor_font_code_valid(int code)
{
    return (code >= 0 && code <= 4) || (code >= 7 && code <= 11);
}

EditorFontSpec editor_font_spec(int code, int size, int richedit_version, int windows_major)
{
    EditorFontSpec font;
    size = std::max(size, 0);
    const int default_points = richedit_version >= 2 || windows_major >= 5 ? 12 : 0;
    switch (code) {
    case 1: font.kind = EditorFontKind::system_fixed; break;
    case 2:
    case 3:
    case 4:
        font.kind = EditorFontKind::named;
        font.face = code == 2 ? "Times New Roman" : code == 3 ? "Arial" : "Courier New";
        font.family = code - 1;
        font.points = size > 0 ? size : default_points;
        break;
    case 7:
    case 8:
    case 9:
    case 10: {
        static constexpr std::array<int, 4> lucida_points{10, 11, 13, 14};
        font.kind = EditorFontKind::named;
        font.face = "Lucida Console";
        font.family = 3;
        font.points = lucida_points[static_cast<std::size_t>(code - 7)];
        font.fixed_pitch = true;
        font.oem_charset = true;
        break;
    }
    case 11: font.kind = EditorFontKind::menu; break;
    default: font.kind = EditorFontKind::system; break;
    }
    return font;
}

int editor_font_height(int points, int pixels_per_inch)
{
    return -(points * pixels_per_inch / 72);
}

} // namespace korv
