// The settings guard's decisions: which module attributes the host may not
// overwrite or delete, what each setting accepts, and the one warning line
// printed for each refusal.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/settings_table.h"

namespace lumo::engine {

/// What the guard asks about a value the host assigns, in the order it needs
/// the answers; each is answered as the host itself would (its isinstance()
/// and comparisons), so huge ints and NaN are judged, never converted.
class AssignedValue {
public:
    virtual ~AssignedValue() = default;
    /// Exactly True or False: 0 and 1 are not, although they compare equal.
    virtual bool is_bool() = 0;
    /// isinstance(value, int), which a bool is too; isinstance(value, float).
    virtual bool is_int() = 0;
    virtual bool is_float() = 0;
    /// value >= bound; value <= bound.
    virtual bool at_least(double bound) = 0;
    virtual bool at_most(double bound) = 0;
};

/// The setting named `name` (UTF-8), or null.
const SettingSpec* find_setting(std::string_view name);

/// Whether the host may neither overwrite nor delete the module attribute `name`.
bool is_protected_name(std::string_view name);

/// The warning printed when the host deletes the module attribute `name`:
/// no deletion is ever carried out.
std::string deletion_warning(std::string_view name);

/// The warning printed when the host assigns `value` to the module attribute
/// `name` and the assignment is ignored: a protected name, or a setting given
/// a value it does not accept. Nothing when the assignment goes ahead.
std::optional<std::string> assignment_refusal(std::string_view name, AssignedValue& value);

}  // namespace lumo::engine
