#include "binding/enginelibrary.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>

namespace binding {
namespace {

constexpr const char* kLibraryName = "libsaymgr.so";
constexpr const char* kInstalledLibrary = VOXTRIAL_ENGINE_FROM_BINDIR;
constexpr const char* kLibrarySoname = VOXTRIAL_ENGINE_SONAME;

template <typename Fn>
struct Unavailable;

template <typename... Args>
struct Unavailable<int32_t (*)(Args...)> {
    static int32_t call(Args...) { return SAYMGR_EENGINE_LOADING; }
};

template <typename Fn>
void fillUnavailable(Fn& entry) {
    entry = &Unavailable<Fn>::call;
}

EngineOps makeUnavailableOps() {
    EngineOps ops{};
    forEachOperation(ops, [](auto& entry, const char*) { fillUnavailable(entry); });
    return ops;
}

void* openLibrary(const std::string& path, std::string& error) {
    if (!path.empty()) {
        void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
        error = handle == nullptr ? dlerror() : "";
        return handle;
    }
    // Beside the program in the build tree; in the library folder of the prefix the program is
    // installed in; where the system's loader looks.
    error.clear();
    const std::string candidates[] = {EngineLibrary::besideExecutable(kLibraryName),
                                      EngineLibrary::besideExecutable(kInstalledLibrary),
                                      kLibrarySoname};
    for (const std::string& candidate : candidates) {
        if (void* handle = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE)) {
            error.clear();
            return handle;
        }
        if (error.empty()) {
            error = dlerror();  // the first place's reason: the build tree's or the package's
        }
    }
    return nullptr;
}

}  // namespace

const EngineOps& unavailableEngineOps() {
    static const EngineOps ops = makeUnavailableOps();
    return ops;
}

void EngineLibrary::Closer::operator()(void* handle) const {
    dlclose(handle);
}

EngineLibrary::EngineLibrary(const std::string& path) : m_ops(unavailableEngineOps()) {
    m_handle.reset(openLibrary(path, m_loadError));
    if (m_handle && !bindAll()) {
        m_ops = unavailableEngineOps();
        m_handle.reset();
    }
    if (m_handle) {
        bindExtensions();
    }
}

void EngineLibrary::bindExtensions() {
    const auto bind = [this](auto& entry, const char* name) {
        entry =
            reinterpret_cast<std::remove_reference_t<decltype(entry)>>(dlsym(m_handle.get(), name));
    };
    bind(m_extensions.SaymgrSetAudioTap, "SaymgrSetAudioTap");
    bind(m_extensions.SaymgrGetNotifyPosition, "SaymgrGetNotifyPosition");
    bind(m_extensions.SaymgrTextToPhonemes, "SaymgrTextToPhonemes");
    bind(m_extensions.SaymgrSetJobs, "SaymgrSetJobs");
}

bool EngineLibrary::bindAll() {
    EngineOps bound{};
    bool complete = true;
    forEachOperation(bound, [&](auto& entry, const char* name) {
        void* symbol = dlsym(m_handle.get(), name);
        if (symbol == nullptr) {
            complete = false;
            m_loadError = std::string("missing operation ") + name;
            return;
        }
        entry = reinterpret_cast<std::remove_reference_t<decltype(entry)>>(symbol);
    });
    if (complete) {
        m_ops = bound;
    }
    return complete;
}

std::string EngineLibrary::besideExecutable(const std::string& fileName) {
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return fileName;
    }
    return (executable.parent_path() / fileName).string();
}

}  // namespace binding
