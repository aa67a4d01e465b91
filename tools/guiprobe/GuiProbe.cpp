// The probe wintool loads into a running program (CreateRemoteThread on LoadLibraryW) to count
// that process's GDI and USER objects from inside it. Its one entry is a thread procedure: the
// thread's parameter names the kind of object, its exit code is the count.
#include <windows.h>

#include "tools/guiprobe/GuiObjectCount.h"

extern "C" __declspec(dllexport) DWORD WINAPI ProbeGuiObjects(LPVOID kind) {
    const auto index = static_cast<int>(reinterpret_cast<INT_PTR>(kind));
    if (index < 0 || index >= guiprobe::kGuiObjectKinds) {
        return static_cast<DWORD>(-1);
    }
    return static_cast<DWORD>(
        guiprobe::CountGuiObjects(static_cast<guiprobe::GuiObjectKind>(index)));
}
