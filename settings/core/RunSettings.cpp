#include "settings/core/RunSettings.h"

RunSettings g_runSettings{};
