#pragma once

#include <memory>
#include <string>

#include "binding/engineextensions.h"
#include "binding/engineops.h"

namespace binding {

// The engine library loaded at run time. Each of the twenty operations is looked up by name
// and placed at its ordinal's entry in the operation table; when the library or any one
// operation is missing, every entry answers SAYMGR_EENGINE_LOADING (-30) instead, so the
// caller reports the failure through its ordinary status path. The library stays mapped until
// the process ends (the synthesizer's process-wide state is not unloaded behind its back).
// The monitoring extensions are looked up too, each on its own: a library without them loads
// all the same, with those entries null.
class EngineLibrary {
  public:
    // Loads `path`; an empty path means libsaymgr.so beside the executable, then the
    // system's library search path.
    explicit EngineLibrary(const std::string& path = {});

    const EngineOps& ops() const { return m_ops; }
    const EngineExtensions& extensions() const { return m_extensions; }
    bool isLoaded() const { return m_handle != nullptr; }
    // Why loading failed (empty when it did not).
    const std::string& loadError() const { return m_loadError; }

    static std::string besideExecutable(const std::string& fileName);

  private:
    struct Closer {
        void operator()(void* handle) const;
    };
    bool bindAll();
    void bindExtensions();

    std::unique_ptr<void, Closer> m_handle;
    EngineOps m_ops;
    EngineExtensions m_extensions;
    std::string m_loadError;
};

}  // namespace binding
