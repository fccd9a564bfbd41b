// The host-tunable settings as module attributes: created with their defaults
// at start-up and read from the module's namespace at the moment of use.
#pragma once

#include <nanobind/nanobind.h>

#include "engine/settings_table.h"

namespace lumo::engine {

/// Stores the defaults into `ns`.
void install_settings(nanobind::dict ns);

/// Stores the validator table `_CONFIG_VALIDATORS`: name -> (expected type, description).
void install_validators(nanobind::dict ns);

/// The setting's current value (borrowed from the engine's module namespace).
/// Raises nb::python_error when the host removed it behind the guard's back.
nanobind::handle setting_value(SettingId id);

/// The setting's truth value, as the engine uses boolean settings.
bool setting_flag(SettingId id);

}  // namespace lumo::engine
