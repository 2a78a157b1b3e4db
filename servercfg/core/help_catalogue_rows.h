// The catalogue's table, shared between the lookup and its data file.
#pragma once

#include <optional>
#include <span>

#include "server_settings.h"

namespace cvarsmith {

struct HelpRow {
  std::optional<Page> page;  // nothing for the main dialog's controls
  const char* control;       // the control key (see help_catalogue.h)
  const char* syntax;
  const char* help;
  const char* variable = nullptr;  // when it differs from the control key
  const char* caption = nullptr;   // main dialog controls: the button's text
};

std::span<const HelpRow> helpRows();

}  // namespace cvarsmith
