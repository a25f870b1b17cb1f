#include "support/document_ports.h"

#include <stdexcept>

namespace kv::test {

DocumentRig::DocumentRig(app::MemorySettings memory)
    : folder(geom::PrivateWorkingFolder::create()) {
    if (!folder)
        throw std::runtime_error("no working folder");
    doc = std::make_unique<app::Document>(
        app::DocumentPorts{messages, progress, files, questions, *folder});
    if (!doc->allocate(memory, false, std::nullopt))
        throw std::runtime_error("document allocation failed");
}

} // namespace kv::test
