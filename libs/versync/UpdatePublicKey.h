// The key that update manifests must be signed with, fixed when the library is built (each build
// of versync.dll gets its own definition; see CMakeLists.txt).
#pragma once

#include "libs/versync/transport/Crypto.h"

// The embedded public key; null when the library was built without one, and then no manifest is
// ever believed.
const P256PublicKey* UpdatePublicKey();
