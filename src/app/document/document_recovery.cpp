// The document's part in recovery after a crash: a copy of the project that
// changes nothing about the open one, and the open one taking back its name.

#include "app/document/document.h"
#include "app/document/project_file.h"
#include "app/document/project_state.h"

namespace kv::app {

bool Document::writeProjectCopy(const std::filesystem::path& file) {
    return app::saveProject(file, contents(), ports_.messages);
}

void Document::adoptRecoveredProject(const std::optional<std::filesystem::path>& file,
                                     const std::string& name) {
    hasFile_ = file.has_value();
    projectPath_ = file.value_or(std::filesystem::path());
    setProjectName(state_.projectName, name);
    modified_ = true;
}

} // namespace kv::app
