#include "app/TalvaneApp.h"

namespace {

CTalvaneApp theApp;

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    return theApp.Main(instance);
}
