#include "emulator/addin_connection.h"
#include "text/cp1251.h"
#include "text/literal.h"

namespace klt::emu {

using namespace klt::text::literals;

bool AddInLoader::Load(const std::string& fileName, std::string& error) {
    const std::size_t slash = fileName.find_last_of("\\/");
    const std::string base = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
    if (!text::EqualsNoCase(base, "klt_drv.dll")) {
        error = std::string("файл не найден"_cp);
        return false;
    }
    return Load(error);
}

bool AddInLoader::Load(std::string& error) {
    if (connection_) return true;
    std::unique_ptr<AddInConnection> connection = connect_();
    if (!connection || !connection->Load(error)) return false;
    connection_ = std::move(connection);
    connection_->Init(host_);
    if (onStarted) onStarted(*connection_);
    return true;
}

void AddInLoader::Done() {
    if (!connection_) return;
    connection_->Done();
    connection_.reset();
}

}  // namespace klt::emu
