// The module's C interface: the only symbols it exports.
#pragma once

#include "panel_interface.h"

#define LUMARO_EXPORT extern "C" __attribute__((visibility("default")))

LUMARO_EXPORT PanelLinkage Linkage;
LUMARO_EXPORT PanelImportTable ImportTable;
