#include "shell/unit_record.h"

#include "base/utf.h"

#include <vector>

namespace korvanta {

UnitTypeTraits TraitsOf(UnitType type) {
    switch (type) {
    case UnitType::Window:
        return {true, true, MnemonicAction::None, true};
    case UnitType::Label:
        return {true, false, MnemonicAction::FocusNext, true};
    case UnitType::Button:
        return {true, true, MnemonicAction::RaiseClick, true};
    case UnitType::EditBox:
        return {true, true, MnemonicAction::None, true};
    case UnitType::Zip:
        return {false, false, MnemonicAction::None, true};
    }
    return {};
}

namespace {
std::vector<const WindowDescription *> &Held() {
    static std::vector<const WindowDescription *> held;
    return held;
}
} // namespace

WindowDescriptionEntry::WindowDescriptionEntry(const WindowDescription &description) {
    Held().push_back(&description);
}

const std::vector<const WindowDescription *> &HeldWindowDescriptions() {
    return Held();
}

const char *CaptionOf(const UnitRecord &unit) {
    if (unit.type == UnitType::Label && unit.label)
        return unit.label->text;
    if (unit.type == UnitType::Button && unit.button)
        return unit.button->caption;
    return nullptr;
}

namespace {

// Every text a unit carries reaches the platform through the wide calls, so each must be UTF-8.
bool TextsAreUtf8(const UnitRecord &u) {
    std::vector<const char *> texts = {u.name, u.tag};
    if (u.window)
        texts.insert(texts.end(), {u.window->title, u.window->icon_resource, u.window->help_file,
                                   u.window->class_name});
    if (u.label)
        texts.insert(texts.end(), {u.label->text, u.label->data_source, u.label->data_column});
    if (u.button)
        texts.push_back(u.button->caption);
    if (u.edit_box)
        texts.insert(texts.end(), {u.edit_box->content, u.edit_box->password_char,
                                   u.edit_box->data_source, u.edit_box->data_column});
    for (const char *text : texts) {
        if (Utf8ToUtf16(text).status == UtfStatus::kInvalid)
            return false;
    }
    return true;
}

} // namespace

bool DescriptionIsConsistent(const WindowDescription &description) {
    if (description.units.empty() || description.units[0].type != UnitType::Window)
        return false;
    for (size_t i = 0; i < description.units.size(); ++i) {
        const UnitRecord &u = description.units[i];
        if (i > 0 && u.type == UnitType::Window)
            return false; // one window per description; units are never nested
        // Each type with its properties (the ZIP unit has none); a type outside the list has
        // none that would do.
        const bool has_properties =
            (u.type == UnitType::Window && u.window) || (u.type == UnitType::Label && u.label) ||
            (u.type == UnitType::Button && u.button) ||
            (u.type == UnitType::EditBox && u.edit_box) || u.type == UnitType::Zip;
        if (!has_properties || !TextsAreUtf8(u))
            return false;
    }
    return true;
}

} // namespace korvanta
