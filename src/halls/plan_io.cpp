// Plan files on disk: paths under the information base's ZALY folder, bounded reading, saving.
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

std::optional<Plan> LoadPlanFile(const std::string& path, const Conversion& conversion) {
    std::string bytes;
    if (!platform::Files().ReadAll(path, bytes, kMaxPlanFileBytes)) return std::nullopt;
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
    return files.WriteAll(PlanPath(ibDirectory, kind, number), SerializePlan(plan, CurrentFormatWord()));
}

}  // namespace klt::halls
