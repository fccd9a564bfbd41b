// The settings guard's decisions; see settings_guard.h.
#include "engine/settings_guard.h"

#include "engine/fixed_tables.h"

namespace lumo::engine {
namespace {

std::string quoted(std::string_view name) {
    std::string text(1, '\'');
    text.append(name);
    text += '\'';
    return text;
}

std::string invalid_value(std::string_view name, std::string_view reason) {
    return "[WARNING]: Invalid value for " + quoted(name) + ". " + std::string(reason) + " Ignoring this assignment...";
}

/// The refusal of `value` for `spec`, or nothing when the setting accepts it.
std::optional<std::string> setting_refusal(std::string_view name, const SettingSpec& spec, AssignedValue& value) {
    const std::string wrong_type = "It must be " + std::string(spec.description) + ".";
    switch (spec.kind) {
        case SettingKind::Boolean:
            if (!value.is_bool()) return invalid_value(name, wrong_type);
            return std::nullopt;
        case SettingKind::Number:
            if (!value.is_int() && !value.is_float()) return invalid_value(name, wrong_type);
            if (!value.at_least(-kEmojiOffsetLimit) || !value.at_most(kEmojiOffsetLimit))
                return invalid_value(name, "Value is outside of safe range (-2.0 to 2.0).");
            return std::nullopt;
        case SettingKind::PositiveInteger:
            if (!value.is_int()) return invalid_value(name, wrong_type);
            if (value.at_most(0.0)) return invalid_value(name, "It must be greater than 0.");
            return std::nullopt;
    }
    return invalid_value(name, wrong_type);
}

}  // namespace

const SettingSpec* find_setting(std::string_view name) {
    for (const SettingSpec& spec : kSettings)
        if (spec.name == name) return &spec;
    return nullptr;
}

bool is_protected_name(std::string_view name) {
    for (std::string_view protected_name : kProtectedNames)
        if (protected_name == name) return true;
    return false;
}

std::string deletion_warning(std::string_view name) {
    const char* kind = is_protected_name(name) ? "a protected local variable ( Read-Only )"
                                               : "a Read-And-Write Only variable";
    return "[WARNING]: The variable " + quoted(name) + " is " + kind + ". Ignoring the action of deleting its variable...";
}

std::optional<std::string> assignment_refusal(std::string_view name, AssignedValue& value) {
    if (is_protected_name(name))
        return "[WARNING]: The variable " + quoted(name) +
               " is a protected local variable ( Read-Only ). Ignoring the action of overwriting its value...";
    if (const SettingSpec* spec = find_setting(name)) return setting_refusal(name, *spec, value);
    return std::nullopt;
}

}  // namespace lumo::engine
