#pragma once
// The panels of the scope as data: the stand-in for a resource file.

#include <optional>
#include <string>

#include "runtime/ui_types.h"

namespace qrix {

// The panel of a resource id, or none for an unknown id.
std::optional<ui::PanelTemplate> panelTemplate(int resourceId);

}  // namespace qrix

namespace qrix {

// The label a list item has in the panel table (empty when there is no such item).
std::string defaultListLabel(int resourceId, int control, int index);

}  // namespace qrix
