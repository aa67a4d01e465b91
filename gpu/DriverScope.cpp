#include "gpu/DriverScope.h"

#include "gpu/DriverBinding.h"

DriverScope::DriverScope() {
    DriverBinding::LoadDriverLibraries();
}

DriverScope::~DriverScope() {
    DriverBinding::ReleaseDriverLibraries();
}
