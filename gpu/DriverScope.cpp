#include "gpu/DriverScope.h"

DriverScope::DriverScope() : load_(DriverBinding::LoadDriverLibraries()) {}

DriverScope::~DriverScope() {
    DriverBinding::ReleaseDriverLibraries();
}
