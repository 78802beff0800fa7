// The program's start-up before any window.
#include "app/forms/Startup.h"

#include "common/Ui.h"

#include <QLocale>

#include <clocale>
#include <dlfcn.h>
#include <filesystem>
#include <fpu_control.h>

namespace {

// Desktop composition is switched off where the window system offers the call; on this
// platform the library is absent and nothing happens.
void switchCompositionOff() {
    void* library = dlopen("DWMAPI.dll", RTLD_LAZY);
    if (!library)
        return;
    using EnableComposition = long (*)(int);
    if (auto call = reinterpret_cast<EnableComposition>(dlsym(library, "DwmEnableComposition")))
        call(0);
    dlclose(library);
}

void useExtendedPrecision() {
#if defined(__i386__) || defined(__x86_64__)
    fpu_control_t word = 0;
    _FPU_GETCW(word);
    word = (word & ~_FPU_EXTENDED) | _FPU_EXTENDED;
    _FPU_SETCW(word);
#endif
}

} // namespace

void prepareNumericEnvironment() {
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(QLocale::c());
    useExtendedPrecision();
    switchCompositionOff();
}

std::string programFolderOf(const std::string& executableFolder) {
    std::string folder = executableFolder;
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

bool checkProgramFolders(const std::string& programFolder, Ui& ui) {
    for (const char* name : {"Help", "Samples"}) {
        std::error_code error;
        if (!std::filesystem::is_directory(programFolder + name, error)) {
            ui.message(std::string("Folder \"") + name + "\" inaccessible or not unzipped");
            return false;
        }
    }
    return true;
}
