// Modules that LoadLibraryA read from PE files (winport-private).
#pragma once

#include "win32/kernel/module.h"
#include "win32/kernel/pefile.h"

#include <memory>

namespace winport {

// A PE image loaded as data: its bytes, parsed headers and path. Handles to
// it stay valid until FreeLibrary has balanced every LoadLibraryA.
class PeModuleObject final : public ModuleObject {
public:
    PeModuleObject(std::unique_ptr<PeImage> image, std::string path)
        : ModuleObject(image->bytes(), std::move(path)), m_image(std::move(image)) {}

    [[nodiscard]] const PeImage* image() const override { return m_image.get(); }

private:
    const std::unique_ptr<const PeImage> m_image;
};

// The loaded PE module named by a full path or by its file name (compared
// without regard to case, ".dll" assumed when the name has no extension);
// NULL when none is loaded.
[[nodiscard]] HMODULE FindLoadedPeModule(const char* name);

}  // namespace winport
