// Plan files on disk: paths under the information base's ZALY folder, bounded reading, saving.
#include <algorithm>
#include <cstring>
#include <memory>

#include "halls/plan.h"
#include "platform/files.h"
#include "text/format.h"

namespace klt::halls {

std::string PlanFolder(const std::string& ibDirectory) {
    return ibDirectory + "\\ZALY";
}

std::string PlanPath(const std::string& ibDirectory, PlanKind kind, int number) {
    return text::Format(kind == PlanKind::Hall ? "%s\\ZALY\\fileZal%d.ini" : "%s\\ZALY\\fileBar%d.ini",
                        ibDirectory.c_str(), number);
}

std::string PicturePath(const std::string& ibDirectory, const std::string& pictureName) {
    return text::Format("%s\\ZALY\\%s", ibDirectory.c_str(), pictureName.c_str());
}

namespace {

// The file's bytes straight into one buffer that is neither cleared first nor copied afterwards:
// the hall view opens on this, so it costs no more than the read itself. At most `limit` bytes.
bool ReadBounded(const std::string& path, std::size_t limit, std::unique_ptr<char[]>& buffer,
                 std::size_t& size) {
    size = 0;
    std::unique_ptr<platform::File> f = platform::Files().Open(path, platform::OpenMode::Read);
    if (!f) return false;
    // Room for some 230 tables at once; a bigger plan doubles it as it goes.
    std::size_t capacity = std::min<std::size_t>(limit, 64 * 1024);
    buffer = std::make_unique_for_overwrite<char[]>(capacity);
    while (size < limit) {
        if (size == capacity) {
            const std::size_t larger = std::min(limit, capacity * 2);
            std::unique_ptr<char[]> grown = std::make_unique_for_overwrite<char[]>(larger);
            std::memcpy(grown.get(), buffer.get(), size);
            buffer = std::move(grown);
            capacity = larger;
        }
        const std::int64_t got = f->Read(buffer.get() + size, capacity - size);
        if (got < 0) return false;
        if (got == 0) break;
        size += static_cast<std::size_t>(got);
    }
    return true;
}

}  // namespace

std::optional<Plan> LoadPlanFile(const std::string& path, const Conversion& conversion) {
    std::unique_ptr<char[]> buffer;
    std::size_t size = 0;
    if (!ReadBounded(path, kMaxPlanFileBytes, buffer, size)) return std::nullopt;
    const std::string_view bytes(buffer.get(), size);
    Plan plan = ParsePlan(bytes, conversion);
    // A file too short for its header says nothing about the format in use.
    if (HasHeader(bytes)) SetCurrentFormatWord(plan.formatWord);
    return plan;
}

std::optional<Plan> LoadPlan(const std::string& ibDirectory, PlanKind kind, int number,
                             const Conversion& conversion) {
    return LoadPlanFile(PlanPath(ibDirectory, kind, number), conversion);
}

bool SavePlan(const std::string& ibDirectory, PlanKind kind, int number, const Plan& plan) {
    platform::FileSystem& files = platform::Files();
    if (!files.MakeDirectory(PlanFolder(ibDirectory))) return false;
    // A waiter's hall must never open on a half-written plan.
    return files.WriteAllReplacing(PlanPath(ibDirectory, kind, number),
                                   SerializePlan(plan, CurrentFormatWord()));
}

}  // namespace klt::halls
