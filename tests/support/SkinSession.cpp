#include "tests/support/SkinSession.h"

#include "skin/SkinImages.h"

namespace testkit {

SkinSession::SkinSession() {
    LoadSkinImages();
}

SkinSession::~SkinSession() {
    ReleaseSkinImages();
}

}  // namespace testkit
