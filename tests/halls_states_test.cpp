// Plans on disk and table states from the marker folders, with the configuration's permission
// function answering through the emulated host and the clock set by the test.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <set>

#include "halls/markers.h"
#include "halls/plan.h"
#include "halls/table_states.h"
#include "platform/files.h"
#include "test_support.h"

#ifndef _WIN32
#include <stdlib.h>
#include <unistd.h>
#endif

namespace klt::test {
namespace {

using namespace klt::halls;

// Files kept in memory under host paths (doubled separators folded), so these tests run alike on
// every build and can see which folders the code lists.
class MemoryFiles : public platform::FileSystem {
  public:
    static std::string Norm(const std::string& path) {
        std::string out;
        for (char c : path) {
            if (c == '\\' && !out.empty() && out.back() == '\\') continue;
            out += c;
        }
        while (out.size() > 1 && out.back() == '\\') out.pop_back();
        return out;
    }
    static std::string Parent(const std::string& norm) {
        const std::size_t slash = norm.rfind('\\');
        return slash == std::string::npos ? std::string() : norm.substr(0, slash);
    }

    class MemoryFile : public platform::File {
      public:
        MemoryFile(MemoryFiles& owner, std::string path, bool write)
            : owner_(owner), path_(std::move(path)), write_(write) {}
        bool Write(const void* data, std::size_t size) override {
            if (!write_) return false;
            owner_.files[path_].append(static_cast<const char*>(data), size);
            return true;
        }
        std::int64_t Read(void* data, std::size_t size) override {
            if (write_) return -1;
            const std::string& bytes = owner_.files[path_];
            const std::size_t n = std::min(size, bytes.size() - pos_);
            std::copy_n(bytes.data() + pos_, n, static_cast<char*>(data));
            pos_ += n;
            return static_cast<std::int64_t>(n);
        }

      private:
        MemoryFiles& owner_;
        std::string path_;
        bool write_;
        std::size_t pos_ = 0;
    };

    std::unique_ptr<platform::File> Open(const std::string& path, platform::OpenMode mode) override {
        const std::string p = Norm(path);
        if (mode == platform::OpenMode::Read) {
            if (!files.count(p)) return nullptr;
            return std::make_unique<MemoryFile>(*this, p, false);
        }
        if (!folders.count(Parent(p))) return nullptr;
        if (mode == platform::OpenMode::Create) files[p].clear();
        files[p];
        return std::make_unique<MemoryFile>(*this, p, true);
    }
    std::vector<std::string> List(const std::string& directory, const std::string& pattern,
                                  std::size_t limit) override {
        listed.push_back(Norm(directory));
        std::vector<std::string> names;
        for (const auto& [path, bytes] : files) {
            if (names.size() >= limit) break;
            if (Parent(path) != Norm(directory)) continue;
            const std::string name = path.substr(path.rfind('\\') + 1);
            if (platform::WildcardMatch(pattern, name)) names.push_back(name);
        }
        return names;
    }
    bool Exists(const std::string& path) override {
        return files.count(Norm(path)) || folders.count(Norm(path));
    }
    bool IsDirectory(const std::string& path) override { return folders.count(Norm(path)) > 0; }
    bool Remove(const std::string& path) override {
        removed.push_back(Norm(path));
        return files.erase(Norm(path)) > 0;
    }
    bool Move(const std::string&, const std::string&) override { return false; }
    bool Copy(const std::string&, const std::string&, bool) override { return false; }
    bool Replace(const std::string& from, const std::string& to) override {
        const auto source = files.find(Norm(from));
        if (source == files.end()) return false;
        std::string bytes = std::move(source->second);
        files.erase(source);
        files[Norm(to)] = std::move(bytes);
        return true;
    }
    bool MakeDirectory(const std::string& path) override {
        folders.insert(Norm(path));
        return true;
    }
    std::string CurrentDirectory() override { return "C:\\Host"; }

    void Touch(const std::string& folder, const std::string& name) {
        folders.insert(Norm(folder));
        files[Norm(folder + "\\" + name)];
    }
    bool Has(const std::string& folder, const std::string& name) {
        return files.count(Norm(folder + "\\" + name)) > 0;
    }

    std::map<std::string, std::string> files;
    std::set<std::string> folders;
    std::vector<std::string> listed;
    std::vector<std::string> removed;
};

// The information base as the host reports it, with its separators doubled as IBDirectory keeps them.
const char* const kIb = "C:\\\\Base\\\\";

class HallFolders : public AddInFixture {
  protected:
    void SetUp() override {
        Start(Cp("РабочееМесто"_cp), {}, "C:\\Base\\");
        ASSERT_EQ(core::State().ibDirectory, kIb);
    }

    // The configuration's permission function: permits the markers whose field 5 is "me" and
    // records every name it is asked about.
    void InstallPermission() {
        host().GlobalModule().AddFunction(
            Cp("глРазрешитьВнестиЗаказ"_cp), [this](std::vector<host::Value*>& args) {
                const std::string name = args.at(0)->GetString();
                asked.push_back(name);
                if (onAsk) onAsk();
                return host::Value(OrderMarker::Parse(name).Field(5) == "me" ? 1 : 0);
            });
    }

    static Plan PlanWith(std::initializer_list<std::pair<int, int>> numbersAndSeveral) {
        Plan plan;
        for (auto [number, several] : numbersAndSeveral) {
            TableItem t;
            t.record = NewTableRecord(number, 0x00FFFF00, Shape::Rectangle, {0, 0, 10, 10});
            t.record.severalOrders = several;
            t.header = plan.header;
            plan.tables.push_back(t);
        }
        return plan;
    }

    static const TableItem& Table(const Plan& plan, int number) {
        return *std::find_if(plan.tables.begin(), plan.tables.end(),
                             [number](const TableItem& t) { return t.record.number == number; });
    }

    std::string Orders() { return OpenOrdersFolder(kIb); }
    std::string Reservations() { return ReservationsFolder(kIb); }

    void SetLocal(int year, int month, int day, int hour, int minute) {
        platform::DateTime t;
        t.year = year;
        t.month = month;
        t.day = day;
        t.hour = hour;
        t.minute = minute;
        platform_.clock.Set(t, t);
    }

    MemoryFiles files_;
    Swap<platform::FileSystem> filesInForce_{platform::ReplaceFiles, &files_};
    std::vector<std::string> asked;
    std::function<void()> onAsk;
    TableStates states;
};

RefreshParams HallParams(int number, std::string visibility = {}) {
    RefreshParams p;
    p.kind = PlanKind::Hall;
    p.number = number;
    p.visibilityList = std::move(visibility);
    p.leadMinutes = 60;
    p.holdMinutes = 30;
    return p;
}

TEST_F(HallFolders, PlanIsSavedUnderZalyAndLoadedBack) {
    Plan plan = PlanWith({{3, 0}, {5, 1}});
    plan.header->pictureName = "hall.bmp";
    ASSERT_TRUE(SavePlan(kIb, PlanKind::Hall, 2, plan));
    EXPECT_TRUE(files_.folders.count("C:\\Base\\ZALY")) << "the editor creates ZALY before saving";
    ASSERT_TRUE(files_.files.count("C:\\Base\\ZALY\\fileZal2.ini"));
    EXPECT_FALSE(files_.files.count("C:\\Base\\ZALY\\fileBar2.ini"));
    EXPECT_FALSE(LoadPlan(kIb, PlanKind::Bar, 2).has_value()) << "bars are numbered apart from halls";

    const std::optional<Plan> back = LoadPlan(kIb, PlanKind::Hall, 2, Conversion::FullView(1594, 1154));
    ASSERT_TRUE(back.has_value());
    ASSERT_EQ(back->tables.size(), 2u);
    EXPECT_EQ(back->tables[1].record.number, 5);
    EXPECT_EQ(back->tables[1].record.rect, (Rect{0, 0, 20, 20})) << "converted once, right after reading";
    EXPECT_EQ(PicturePath(kIb, back->header->pictureName), "C:\\\\Base\\\\\\ZALY\\hall.bmp");
}

TEST_F(HallFolders, FormatWordReadBecomesTheOneWrittenNext) {
    const std::int32_t saved = CurrentFormatWord();
    std::string bytes = SerializePlan(PlanWith({{1, 0}}), 9);
    files_.MakeDirectory("C:\\Base\\ZALY");
    files_.files["C:\\Base\\ZALY\\fileBar4.ini"] = bytes;
    ASSERT_TRUE(LoadPlan(kIb, PlanKind::Bar, 4).has_value());
    EXPECT_EQ(CurrentFormatWord(), 9);
    ASSERT_TRUE(SavePlan(kIb, PlanKind::Hall, 1, PlanWith({})));
    EXPECT_EQ(files_.files["C:\\Base\\ZALY\\fileZal1.ini"].substr(0, 4), std::string("\x09\0\0\0", 4));
    // A stub too short for a header neither yields tables nor changes the word.
    files_.files["C:\\Base\\ZALY\\fileZal7.ini"] = std::string("\x05\0\0\0", 4);
    const std::optional<Plan> stub = LoadPlan(kIb, PlanKind::Hall, 7);
    ASSERT_TRUE(stub.has_value());
    EXPECT_TRUE(stub->tables.empty());
    EXPECT_EQ(CurrentFormatWord(), 9);
    SetCurrentFormatWord(saved);
}

TEST_F(HallFolders, PlanBeyondTheFirstReadBufferReadsWhole) {
    // 300 tables are some 82 KB: the reading buffer grows once, with a record across its old end.
    Plan plan;
    for (int n = 1; n <= 300; ++n) {
        TableItem t;
        t.record = NewTableRecord(n, 0x00FFFF00, Shape::Ellipse, {n, 1, n + 9, 1000 - n});
        plan.tables.push_back(t);
    }
    ASSERT_TRUE(SavePlan(kIb, PlanKind::Hall, 3, plan));
    const std::optional<Plan> back = LoadPlan(kIb, PlanKind::Hall, 3);
    ASSERT_TRUE(back.has_value());
    ASSERT_EQ(back->tables.size(), 300u);
    for (std::size_t i = 0; i < 300; ++i) EXPECT_EQ(back->tables[i].record, plan.tables[i].record) << i;
}

TEST_F(HallFolders, HugePlanFileIsReadOnlyUpToTheCap) {
    // 24 MB of markers that are not 1, then a table: reading stops at the cap instead of
    // walking the whole file on a waiter's screen.
    std::string bytes = SerializePlan(PlanWith({{1, 0}}), 1);
    const std::string tail = bytes.substr(4 + 448);
    bytes.resize(4 + 448);
    bytes.append(24u << 20, '\x02');
    bytes += tail;
    files_.MakeDirectory("C:\\Base\\ZALY");
    files_.files["C:\\Base\\ZALY\\fileZal1.ini"] = std::move(bytes);
    const std::optional<Plan> plan = LoadPlan(kIb, PlanKind::Hall, 1);
    ASSERT_TRUE(plan.has_value());
    EXPECT_TRUE(plan->tables.empty());
    EXPECT_GT(kMaxPlanFileBytes, 4u + 448u + kMaxTables * 280u) << "the cap still holds every table allowed";
}

TEST_F(HallFolders, PermittedOrdersAddUpOnTheirTable) {
    InstallPermission();
    files_.Touch(Orders(), "02_03_1_07_me_a_000001_b_1500_2_c_0");
    files_.Touch(Orders(), "02_03_1_07_me_a_000002_b_250_1_c_0");
    files_.Touch(Orders(), "02_04_1_07_me_a_000003_b_999_1_c_0");  // another hall
    files_.Touch(Orders(), "01_03_1_07_me_a_000004_b_999_1_c_0");  // a bar of the same number
    Plan plan = PlanWith({{7, 0}, {8, 0}});
    ASSERT_TRUE(states.RefreshOrderStates(plan, HallParams(3)));
    const TableItem& seven = Table(plan, 7);
    EXPECT_EQ(seven.sum, 1750);
    EXPECT_EQ(SumText(seven.sum, plan.header->wholeNumberSums != 0), "17.50");
    EXPECT_TRUE(seven.shown) << "a permitted order shows a table the visibility list does not name";
    EXPECT_EQ(seven.state, TableState::Occupied);
    EXPECT_FALSE(Table(plan, 8).shown);
    EXPECT_EQ(Table(plan, 8).sum, 0);
    EXPECT_EQ(std::count(asked.begin(), asked.end(), "02_03_1_07_me_a_000001_b_1500_2_c_0"), 1)
        << "the configuration receives the whole file name";
}

TEST_F(HallFolders, AnotherUsersOrderHidesATableUnlessItAllowsSeveral) {
    InstallPermission();
    files_.Touch(Orders(), "02_03_1_05_other_a_000001_b_1500_2_c_0");
    files_.Touch(Orders(), "02_03_1_06_other_a_000001_b_1500_2_c_0");
    const std::string visible = Cp("|З3С5||З3С6||З3С9|"_cp);
    Plan plan = PlanWith({{5, 0}, {6, 1}, {9, 0}, {10, 0}});
    ASSERT_TRUE(states.RefreshOrderStates(plan, HallParams(3, visible)));
    EXPECT_FALSE(Table(plan, 5).shown) << "hidden even though the visibility list names it";
    EXPECT_TRUE(Table(plan, 6).shown) << "several orders allowed";
    EXPECT_EQ(Table(plan, 6).state, TableState::Free);
    EXPECT_EQ(Table(plan, 6).sum, 0) << "another user's sum is not added";
    EXPECT_TRUE(Table(plan, 9).shown);
    EXPECT_EQ(Table(plan, 9).state, TableState::Free);
    EXPECT_FALSE(Table(plan, 10).shown) << "absent from the visibility list";
}

TEST_F(HallFolders, EveryTableCarryingTheNumberGetsTheOrder) {
    InstallPermission();
    files_.Touch(Orders(), "02_03_1_04_me_a_000001_b_300_2_c_0");
    Plan plan = PlanWith({{4, 0}, {4, 0}});
    ASSERT_TRUE(states.RefreshOrderStates(plan, HallParams(3)));
    EXPECT_EQ(plan.tables[0].sum, 300);
    EXPECT_EQ(plan.tables[1].sum, 300);
}

TEST_F(HallFolders, RefreshStartsFromScratchEachTime) {
    InstallPermission();
    files_.Touch(Orders(), "02_03_1_04_me_a_000001_b_300_2_c_0");
    Plan plan = PlanWith({{4, 0}});
    ASSERT_TRUE(states.RefreshOrderStates(plan, HallParams(3)));
    ASSERT_TRUE(states.RefreshOrderStates(plan, HallParams(3)));
    EXPECT_EQ(plan.tables[0].sum, 300) << "sums do not pile up across refreshes";
    files_.files.clear();
    ASSERT_TRUE(states.RefreshOrderStates(plan, HallParams(3)));
    EXPECT_EQ(plan.tables[0].sum, 0);
    EXPECT_FALSE(plan.tables[0].shown);
    EXPECT_EQ(plan.tables[0].state, TableState::Free) << "a table outside the visibility list is free again";
    // Shown later by a reservation, it must not be offered as occupied.
    files_.Touch(Reservations(), FormatReservationMarker(3, 6, 2, 27, 19, 30, 4));
    SetLocal(2027, 2, 6, 19, 0);
    ASSERT_TRUE(states.RefreshReservations(plan, HallParams(3)));
    EXPECT_TRUE(plan.tables[0].shown);
    EXPECT_TRUE(plan.tables[0].reserved);
    EXPECT_EQ(plan.tables[0].state, TableState::Free);
}

TEST_F(HallFolders, BarTablesAreShownByRight65) {
    InstallPermission();
    Plan plan = PlanWith({{1, 0}, {2, 0}});
    RefreshParams p;
    p.kind = PlanKind::Bar;
    p.number = 1;
    p.visibilityList = Cp("|З1С1||З1С2|"_cp);
    p.rights = std::string(64, '1') + "0";
    ASSERT_TRUE(states.RefreshOrderStates(plan, p));
    EXPECT_FALSE(plan.tables[0].shown) << "the visibility list does not apply to bars";
    p.rights = std::string(64, '0') + "1";
    ASSERT_TRUE(states.RefreshOrderStates(plan, p));
    EXPECT_TRUE(plan.tables[0].shown);
    EXPECT_TRUE(plan.tables[1].shown);
    p.rights.clear();
    files_.Touch(Orders(), "01_01_1_02_me_a_000001_b_100_1_c_0");
    ASSERT_TRUE(states.RefreshOrderStates(plan, p));
    EXPECT_FALSE(plan.tables[0].shown) << "empty rights: no bar tables";
    EXPECT_TRUE(plan.tables[1].shown) << "except those with the user's own order";
    EXPECT_EQ(plan.tables[1].sum, 100);
}

TEST_F(HallFolders, Kind03MarkersAreShownToTheConfigurationOnly) {
    InstallPermission();
    files_.Touch(Orders(), "03_03_0_07_me_a_000001_b_5000_2_c_0");
    files_.Touch(Orders(), "03_03_1_07_me_a_000001_b_5000_2_c_0");
    Plan plan = PlanWith({{7, 0}});
    ASSERT_TRUE(states.RefreshOrderStates(plan, HallParams(3)));
    EXPECT_FALSE(plan.tables[0].shown);
    EXPECT_EQ(plan.tables[0].sum, 0);
    EXPECT_EQ(plan.tables[0].state, TableState::Free);
    EXPECT_EQ(asked, std::vector<std::string>{"03_03_0_07_me_a_000001_b_5000_2_c_0"});
}

TEST_F(HallFolders, ARefreshInsideARefreshReturnsAtOnce) {
    InstallPermission();
    files_.Touch(Orders(), "02_03_1_07_me_a_000001_b_1500_2_c_0");
    Plan plan = PlanWith({{7, 0}});
    int nested = 0;
    bool nestedRan = true;
    onAsk = [&] {
        ++nested;
        nestedRan = states.RefreshOrderStates(plan, HallParams(3));
    };
    ASSERT_TRUE(states.RefreshOrderStates(plan, HallParams(3)));
    EXPECT_EQ(nested, 1);
    EXPECT_FALSE(nestedRan);
    EXPECT_EQ(plan.tables[0].sum, 1500) << "the inner call neither reset nor added";
    onAsk = nullptr;
    EXPECT_TRUE(states.RefreshOrderStates(plan, HallParams(3))) << "the guard is released afterwards";
}

TEST_F(HallFolders, ConfigurationWithoutThePermissionFunctionOwnsEveryOrder) {
    files_.Touch(Orders(), "02_03_1_07_x_a_000001_b_1500_2_c_0");
    Plan plan = PlanWith({{7, 0}});
    ASSERT_TRUE(states.RefreshOrderStates(plan, HallParams(3)));
    EXPECT_TRUE(plan.tables[0].shown);
    EXPECT_EQ(plan.tables[0].state, TableState::Occupied);
    EXPECT_EQ(plan.tables[0].sum, 1500);
    EXPECT_TRUE(host().Errors().empty());
}

TEST_F(HallFolders, MissingDataFolderLeavesTablesFreeAndListsByFullPath) {
    InstallPermission();
    Plan plan = PlanWith({{7, 0}});
    ASSERT_TRUE(states.RefreshOrderStates(plan, HallParams(3, Cp("|З3С7|"_cp))));
    ASSERT_TRUE(states.RefreshReservations(plan, HallParams(3, Cp("|З3С7|"_cp))));
    EXPECT_TRUE(plan.tables[0].shown);
    EXPECT_EQ(plan.tables[0].state, TableState::Free);
    EXPECT_FALSE(plan.tables[0].reserved);
    ASSERT_FALSE(files_.listed.empty());
    for (const std::string& folder : files_.listed)
        EXPECT_EQ(folder.rfind("C:\\Base\\", 0), 0u) << folder << " is not under the information base";
    EXPECT_TRUE(std::count(files_.listed.begin(), files_.listed.end(), MemoryFiles::Norm(Orders())));
    EXPECT_TRUE(std::count(files_.listed.begin(), files_.listed.end(), MemoryFiles::Norm(Reservations())));
}

TEST_F(HallFolders, ReservationWindowWithLead60AndHold30) {
    const std::string name = FormatReservationMarker(3, 6, 2, 27, 19, 30, 7);
    struct Case {
        int hour, minute;
        bool reserved, kept;
    };
    for (const Case c : {Case{18, 30, false, true}, Case{18, 31, true, true}, Case{19, 30, true, true},
                         Case{19, 59, true, true}, Case{20, 0, false, false}}) {
        files_.Touch(Reservations(), name);
        Plan plan = PlanWith({{7, 0}, {8, 0}});
        SetLocal(2027, 2, 6, c.hour, c.minute);
        ASSERT_TRUE(states.RefreshReservations(plan, HallParams(3)));
        EXPECT_EQ(plan.tables[0].reserved, c.reserved) << c.hour << ":" << c.minute;
        EXPECT_EQ(plan.tables[0].shown, c.reserved) << c.hour << ":" << c.minute;
        if (c.reserved) {
            EXPECT_EQ(plan.tables[0].reservationText, "19:30");
        }
        EXPECT_FALSE(plan.tables[1].reserved);
        EXPECT_EQ(files_.Has(Reservations(), name), c.kept) << c.hour << ":" << c.minute;
    }
}

TEST_F(HallFolders, MonthEndDoesNotBringAReservationForward) {
    // 12:00 on 1 February. Counting every month as 30 days made 12:00 on 31 January "reached",
    // and the marker was deleted at 12:30 that day, a full day before the guests came.
    const std::string name = FormatReservationMarker(3, 1, 2, 27, 12, 0, 7);
    files_.Touch(Reservations(), name);
    Plan plan = PlanWith({{7, 0}});
    for (const auto [day, hour, minute] : {std::array{31, 12, 0}, std::array{31, 12, 30}}) {
        SetLocal(2027, 1, day, hour, minute);
        ASSERT_TRUE(states.RefreshReservations(plan, HallParams(3)));
        EXPECT_FALSE(plan.tables[0].reserved) << day << " " << hour << ":" << minute;
        EXPECT_TRUE(files_.Has(Reservations(), name)) << day << " " << hour << ":" << minute;
    }
    SetLocal(2027, 2, 1, 11, 1);
    ASSERT_TRUE(states.RefreshReservations(plan, HallParams(3)));
    EXPECT_TRUE(plan.tables[0].reserved);
    SetLocal(2027, 2, 1, 12, 30);
    ASSERT_TRUE(states.RefreshReservations(plan, HallParams(3)));
    EXPECT_FALSE(plan.tables[0].reserved);
    EXPECT_FALSE(files_.Has(Reservations(), name));
}

TEST_F(HallFolders, ShortMonthEndStillShowsTheLeadTime) {
    // 00:30 on 1 March, 45 minutes after 23:45 on 28 February.
    files_.Touch(Reservations(), FormatReservationMarker(3, 1, 3, 27, 0, 30, 7));
    Plan plan = PlanWith({{7, 0}});
    SetLocal(2027, 2, 28, 23, 45);
    ASSERT_TRUE(states.RefreshReservations(plan, HallParams(3)));
    EXPECT_TRUE(plan.tables[0].reserved);
    EXPECT_EQ(plan.tables[0].reservationText, "00:30");
}

TEST_F(HallFolders, AReservationWhoseDateCannotBeReadIsNeverDeleted) {
    const std::string damaged = "_03_xxxxxx_1930_07";
    const std::string noMonth = "_03_060027_1930_07";
    files_.Touch(Reservations(), damaged);
    files_.Touch(Reservations(), noMonth);
    Plan plan = PlanWith({{7, 0}});
    SetLocal(2027, 2, 6, 19, 30);
    ASSERT_TRUE(states.RefreshReservations(plan, HallParams(3)));
    EXPECT_FALSE(plan.tables[0].reserved);
    EXPECT_TRUE(files_.Has(Reservations(), damaged));
    EXPECT_TRUE(files_.Has(Reservations(), noMonth));
}

TEST_F(HallFolders, ReservationsOfOtherHallsAndOnBarsAreLeftAlone) {
    const std::string other = FormatReservationMarker(4, 6, 2, 27, 10, 0, 7);  // long past, hall 4
    files_.Touch(Reservations(), other);
    Plan plan = PlanWith({{7, 0}});
    plan.tables[0].reserved = true;
    SetLocal(2027, 2, 6, 19, 0);
    ASSERT_TRUE(states.RefreshReservations(plan, HallParams(3)));
    EXPECT_FALSE(plan.tables[0].reserved);
    EXPECT_TRUE(files_.Has(Reservations(), other));
    RefreshParams bar = HallParams(4);
    bar.kind = PlanKind::Bar;
    plan.tables[0].reserved = true;
    ASSERT_TRUE(states.RefreshReservations(plan, bar));
    EXPECT_FALSE(plan.tables[0].reserved);
    EXPECT_TRUE(files_.Has(Reservations(), other)) << "bars have no reservations to expire";
}

TEST_F(HallFolders, ReservedTableWithAPermittedOrderStaysOccupied) {
    InstallPermission();
    files_.Touch(Orders(), "02_03_1_07_me_a_000001_b_1500_2_c_0");
    files_.Touch(Reservations(), FormatReservationMarker(3, 6, 2, 27, 19, 30, 7));
    SetLocal(2027, 2, 6, 19, 0);
    Plan plan = PlanWith({{7, 0}});
    ASSERT_TRUE(states.RefreshOrderStates(plan, HallParams(3)));
    ASSERT_TRUE(states.RefreshReservations(plan, HallParams(3)));
    EXPECT_TRUE(plan.tables[0].reserved);
    EXPECT_EQ(plan.tables[0].state, TableState::Occupied);
    EXPECT_EQ(plan.tables[0].sum, 1500);
}

TEST_F(HallFolders, OpenOrderOfOneTable) {
    files_.Touch(Orders(), "02_03_1_07_x_a_000001_b_1500_2_c_0");
    EXPECT_TRUE(HasOpenOrder(PlanKind::Hall, 3, 7));
    EXPECT_FALSE(HasOpenOrder(PlanKind::Hall, 3, 17));
    EXPECT_FALSE(HasOpenOrder(PlanKind::Bar, 3, 7));
}

#ifndef _WIN32
// The real file layer: plans saved and read back by path, with the current directory untouched.
TEST(HallPlanOnDisk, SaveAndLoadLeaveTheCurrentDirectoryAlone) {
    char tmpl[] = "/tmp/klt-halls-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    const std::string ib = std::string(tmpl) + "\\\\";
    const std::string before = platform::Files().CurrentDirectory();
    Plan plan;
    TableItem t;
    t.record = NewTableRecord(1, 0x00FFFF00, Shape::Ellipse, {1, 2, 3, 4});
    plan.tables.push_back(t);
    ASSERT_TRUE(SavePlan(ib, PlanKind::Bar, 12, plan));
    const std::optional<Plan> back = LoadPlan(ib, PlanKind::Bar, 12);
    ASSERT_TRUE(back.has_value());
    ASSERT_EQ(back->tables.size(), 1u);
    EXPECT_EQ(back->tables[0].record, t.record);
    EXPECT_EQ(platform::Files().CurrentDirectory(), before);
    EXPECT_FALSE(LoadPlan(ib, PlanKind::Bar, 13).has_value());
    platform::Files().Remove(PlanPath(ib, PlanKind::Bar, 12));
    ::rmdir((std::string(tmpl) + "/ZALY").c_str());
    ::rmdir(tmpl);
}
#endif

}  // namespace
}  // namespace klt::test
